#include "sim/tcp_line.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {
namespace {

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

}  // namespace

TcpLine::~TcpLine() { close(); }

bool TcpLine::listen(int port, std::string* error) {
    close();
    if (port < 0 || port > 65535) {
        if (error) *error = "no TCP port " + std::to_string(port);
        return false;
    }
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listen_ < 0) return fail(error, "socket");
    // A simulator restarted at once must get its port back.
    const int on = 1;
    ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t size = sizeof addr;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), size) != 0 || ::listen(listen_, 4) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &size) != 0) {
        fail(error, "cannot listen on 127.0.0.1:" + std::to_string(port));
        close();
        return false;
    }
    address_ = "tcp://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
    return true;
}

bool TcpLine::accept() {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return false;
    dropClient();
    // The device's answers go out as they are due, not gathered up.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client_ = fd;
    return true;
}

void TcpLine::dropClient() {
    if (client_ >= 0) ::close(client_);
    client_ = -1;
}

void TcpLine::close() {
    dropClient();
    if (listen_ >= 0) ::close(listen_);
    listen_ = -1;
    address_.clear();
}

}  // namespace sim
