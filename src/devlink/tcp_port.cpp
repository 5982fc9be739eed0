#include "devlink/tcp_port.h"

#include <charconv>

#include "devlink/line_retry.h"
#include "devlink/port_table.h"

namespace devlink {
namespace {

PortFault ConnectFault(QAbstractSocket::SocketError error) {
    switch (error) {
    // Nobody answers at that name: as good as a device that is not there.
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ConnectionRefusedError: return PortFault::NotFound;
    case QAbstractSocket::SocketAccessError: return PortFault::Permission;
    default: return PortFault::OpenFailed;
    }
}

// Why a connection did not come, in words of our own for the usual
// failures (a serial device server that is off, a name mistyped), so that
// a message reads the same whatever Qt's wording; the socket's own text
// for the rest (a network that is unreachable, say).
std::string ConnectFaultText(const QTcpSocket& socket) {
    switch (socket.error()) {
    case QAbstractSocket::ConnectionRefusedError: return "connection refused";
    case QAbstractSocket::HostNotFoundError: return "host not found";
    case QAbstractSocket::SocketTimeoutError: return "no connection within 2 s";
    case QAbstractSocket::SocketAccessError: return "not permitted";
    default: {
        QString text = socket.errorString();
        if (!text.isEmpty()) text[0] = text[0].toLower();
        return text.toStdString();
    }
    }
}

}  // namespace

std::optional<NetworkAddress> ParseNetworkPortName(std::string_view name) {
    if (!IsNetworkPortName(name)) return std::nullopt;
    const std::string_view rest = name.substr(kNetworkPortPrefix.size());
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty()) return std::nullopt;
    const std::string_view digits = rest.substr(colon + 1);
    unsigned port = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || port < 1 || port > 65535)
        return std::nullopt;
    return NetworkAddress{std::string(host), static_cast<std::uint16_t>(port)};
}

TcpPort::TcpPort(QObject* parent) : QObject(parent) {
    connect(&socket_, &QTcpSocket::errorOccurred, this, &TcpPort::onError);
    connect(&socket_, &QTcpSocket::readyRead, this, &TcpPort::bytesArrived);
    // Every byte of a frame goes out at once; the device is waiting for it.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void TcpPort::onError(QAbstractSocket::SocketError error) {
    // A wait that ran out is part of normal waiting, not a fault, and so is
    // a socket that would block for now; open() reports its own failures.
    if (error == QAbstractSocket::SocketTimeoutError || error == QAbstractSocket::TemporaryError || !connected_) return;
    connected_ = false;
    fault_ = PortFault::Broken;
    faultText_ = socket_.errorString().toStdString();
    socket_.abort();
    emit broken();
}

void TcpPort::failOpen(PortFault fault, std::string text) {
    fault_ = fault;
    faultText_ = std::move(text);
    socket_.abort();
}

bool TcpPort::open(const std::string& name) {
    close();
    fault_ = PortFault::None;
    faultText_.clear();
    const std::optional<NetworkAddress> address = ParseNetworkPortName(name);
    if (!address) {
        failOpen(PortFault::NotFound, "not a network port of the form tcp://HOST:PORT");
        return false;
    }
    socket_.connectToHost(QString::fromStdString(address->host), address->port);
    if (!socket_.waitForConnected(kConnectTimeoutMs)) {
        failOpen(ConnectFault(socket_.error()), ConnectFaultText(socket_));
        return false;
    }
    connected_ = true;
    return true;
}

void TcpPort::close() {
    connected_ = false;
    socket_.abort();
}

bool TcpPort::isOpen() const { return connected_ && socket_.state() == QAbstractSocket::ConnectedState; }

void TcpPort::setReadSize(int bytes) { readSize_ = bytes; }

bool TcpPort::write(std::span<const std::uint8_t> bytes) {
    if (!isOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (socket_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
    // A full send buffer is waited out, not taken for a dropped connection,
    // which onError reports.
    SteadyClock clock;
    return WriteUntilOut(
        [this](int waitMs) {
            if (isOpen() && socket_.bytesToWrite() > 0) socket_.waitForBytesWritten(waitMs);
            return WriteProgress{isOpen() && socket_.bytesToWrite() == 0, !isOpen()};
        },
        clock);
}

int TcpPort::bytesWaiting() { return isOpen() ? static_cast<int>(socket_.bytesAvailable()) : 0; }

void TcpPort::waitForBytes(int timeoutMs) {
    if (isOpen()) socket_.waitForReadyRead(timeoutMs);
}

std::vector<std::uint8_t> TcpPort::read() {
    if (!isOpen()) return {};
    const QByteArray data = socket_.read(readSize_);
    return {data.begin(), data.end()};
}

void TcpPort::discardInput() {
    if (!isOpen()) return;
    // A socket has no input queue to flush: take what has come so far.
    // Bounded, so a chattering line cannot keep it here.
    socket_.readAll();
    for (int round = 0; round < 8 && isOpen() && socket_.waitForReadyRead(0); ++round) socket_.readAll();
}

}  // namespace devlink
