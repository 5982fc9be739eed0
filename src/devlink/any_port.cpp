#include "devlink/any_port.h"

#include "devlink/port_table.h"

namespace devlink {

AnyPort::AnyPort(QObject* parent) : QObject(parent) {
    connect(&serial_, &QtSerialPort::bytesArrived, this, &AnyPort::bytesArrived);
    connect(&serial_, &QtSerialPort::broken, this, &AnyPort::broken);
    connect(&tcp_, &TcpPort::bytesArrived, this, &AnyPort::bytesArrived);
    connect(&tcp_, &TcpPort::broken, this, &AnyPort::broken);
}

bool AnyPort::open(const std::string& name) {
    // Whichever was in use before lets go of its line first.
    active_->close();
    active_ = IsNetworkPortName(name) ? static_cast<SerialPort*>(&tcp_) : &serial_;
    return active_->open(name);
}

void AnyPort::setReadSize(int bytes) {
    // Both keep it: the next open may pick the other.
    serial_.setReadSize(bytes);
    tcp_.setReadSize(bytes);
}

}  // namespace devlink
