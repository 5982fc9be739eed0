#pragma once
// The one port object of the program: a network port for a name beginning
// tcp://, the local serial port otherwise, chosen again at every open().
// Forwards every call and both signals, so the link and whoever listens to
// bytesArrived or broken never learn which kind of line it is.
#include <QObject>
#include <memory>

#include "devlink/qt_serial_port.h"
#include "devlink/tcp_port.h"

namespace devlink {

class AnyPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit AnyPort(QObject* parent = nullptr);

    bool open(const std::string& name) override;
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }
    void setReadSize(int bytes) override;
    bool write(std::span<const std::uint8_t> bytes) override { return active_->write(bytes); }
    int bytesWaiting() override { return active_->bytesWaiting(); }
    void waitForBytes(int timeoutMs) override { active_->waitForBytes(timeoutMs); }
    std::vector<std::uint8_t> read() override { return active_->read(); }
    void discardInput() override { active_->discardInput(); }
    PortFault fault() const override { return active_->fault(); }
    std::string faultText() const override { return active_->faultText(); }

    bool isNetworkPort() const { return active_ == tcp_.get(); }
    // Takes over `other`'s line, open or not, as it stands (its waiting
    // input, its read size); this port's own line is closed first and
    // `other` is left with a closed one.
    void takeLineFrom(AnyPort& other);

signals:
    void bytesArrived();
    void broken();

private:
    void listenToLines();

    std::unique_ptr<QtSerialPort> serial_;
    std::unique_ptr<TcpPort> tcp_;
    SerialPort* active_ = nullptr;
};

}  // namespace devlink
