#include "remote/guarded_socket.h"

namespace remote {

void GuardedSocket::carryPage(qint64 maxQueuedBytes) {
    page_ = true;
    maxQueuedBytes_ = maxQueuedBytes;
}

qint64 GuardedSocket::writeData(const char* data, qint64 size) {
    if (!page_) return QTcpSocket::writeData(data, size);
    // Taken and thrown away: the writer carries on as if sent, and the page
    // is dropped before anything reads the stream again.
    if (full_) return size;
    if (bytesToWrite() + size > maxQueuedBytes_) {
        full_ = true;
        emit queueFull();
        return size;
    }
    frames_.follow(QByteArrayView(data, size), [this](int opcode) {
        if (opcode == kPongOpcode) emit pongSent();
    });
    return QTcpSocket::writeData(data, size);
}

}  // namespace remote
