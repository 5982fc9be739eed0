#include "devlink/any_port.h"

#include "devlink/port_table.h"

namespace devlink {

AnyPort::AnyPort(QObject* parent)
    : QObject(parent),
      serial_(std::make_unique<QtSerialPort>()),
      tcp_(std::make_unique<TcpPort>()),
      active_(serial_.get()) {
    listenToLines();
}

void AnyPort::listenToLines() {
    // Only this object listens to its lines; a line taken over was heard by
    // its former owner.
    serial_->disconnect();
    tcp_->disconnect();
    connect(serial_.get(), &QtSerialPort::bytesArrived, this, &AnyPort::bytesArrived);
    connect(serial_.get(), &QtSerialPort::broken, this, &AnyPort::broken);
    connect(tcp_.get(), &TcpPort::bytesArrived, this, &AnyPort::bytesArrived);
    connect(tcp_.get(), &TcpPort::broken, this, &AnyPort::broken);
}

bool AnyPort::open(const std::string& name) {
    // Whichever was in use before lets go of its line first.
    active_->close();
    active_ = IsNetworkPortName(name) ? static_cast<SerialPort*>(tcp_.get()) : serial_.get();
    return active_->open(name);
}

void AnyPort::setReadSize(int bytes) {
    // Both keep it: the next open may pick the other.
    serial_->setReadSize(bytes);
    tcp_->setReadSize(bytes);
}

void AnyPort::takeLineFrom(AnyPort& other) {
    if (&other == this) return;
    active_->close();
    const bool network = other.isNetworkPort();
    serial_.swap(other.serial_);
    tcp_.swap(other.tcp_);
    active_ = network ? static_cast<SerialPort*>(tcp_.get()) : serial_.get();
    other.active_ = other.serial_.get();
    listenToLines();
    other.listenToLines();
}

}  // namespace devlink
