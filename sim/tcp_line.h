#pragma once
// The device's end of a network line, as a serial device server in raw mode
// offers it: a TCP port on 127.0.0.1 (this machine only: the simulator asks
// nobody who they are), one client at a time. A new client takes the line
// from the one before, so an editor that reconnects (or closes and reopens
// its port to change its receive size) never finds it busy.
#include <string>

namespace sim {

class TcpLine {
public:
    TcpLine() = default;
    TcpLine(const TcpLine&) = delete;
    TcpLine& operator=(const TcpLine&) = delete;
    ~TcpLine();

    // Port 0 lets the system choose a free one; address() tells which.
    bool listen(int port, std::string* error);
    void close();

    bool isListening() const { return listen_ >= 0; }
    int listenFd() const { return listen_; }
    int clientFd() const { return client_; }  // -1 while nobody is connected
    // Takes a waiting connection in place of the current one. True when a
    // new client is on the line.
    bool accept();
    void dropClient();
    // tcp://127.0.0.1:PORT, the name the editor opens.
    const std::string& address() const { return address_; }

private:
    int listen_ = -1;
    int client_ = -1;
    std::string address_;
};

}  // namespace sim
