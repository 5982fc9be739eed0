#pragma once
// The real port, through QSerialPort in blocking use.
#include <QSerialPort>

#include "devlink/serial_port.h"

namespace devlink {

class QtSerialPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);

    bool open(const std::string& name) override;
    void close() override;
    bool isOpen() const override;
    void setReadSize(int bytes) override;
    bool write(std::span<const std::uint8_t> bytes) override;
    int bytesWaiting() override;
    void waitForBytes(int timeoutMs) override;
    std::vector<std::uint8_t> read() override;
    void discardInput() override;
    PortFault fault() const override { return fault_; }
    std::string faultText() const override { return faultText_; }

signals:
    // New bytes wait to be read (announced even while an exchange waits).
    void bytesArrived();
    // The port failed in use and has been closed (an unplugged adapter).
    void broken();

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    int readSize_ = 10;
    PortFault fault_ = PortFault::None;
    std::string faultText_;
};

}  // namespace devlink
