#pragma once
// A port on the network: a serial device server in raw mode (ser2net and
// the like) passes the device's bytes through a TCP connection unchanged.
// Named tcp://HOST:PORT (tcp://[::1]:7000 for an IPv6 address) and used in
// blocking fashion like QtSerialPort. The line's own settings (4800 8N1) are
// the server's business.
#include <QTcpSocket>

#include <cstdint>
#include <optional>
#include <string_view>

#include "devlink/serial_port.h"

namespace devlink {

class TcpPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    static constexpr int kConnectTimeoutMs = 2000;

    explicit TcpPort(QObject* parent = nullptr);

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
    // The connection dropped and the port has been closed.
    void broken();

private:
    void onError(QAbstractSocket::SocketError error);
    void failOpen(PortFault fault, std::string text);

    QTcpSocket socket_;
    int readSize_ = 10;
    bool connected_ = false;  // open() succeeded and nothing has failed since
    PortFault fault_ = PortFault::None;
    std::string faultText_;
};

// Host and port of a tcp://HOST:PORT name; nothing for any other name, a
// missing host or a port outside 1..65535.
struct NetworkAddress {
    std::string host;
    std::uint16_t port = 0;
};
std::optional<NetworkAddress> ParseNetworkPortName(std::string_view name);

}  // namespace devlink
