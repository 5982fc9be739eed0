#pragma once
// A connection as the guard hands it on: a QTcpSocket that, once it
// carries a page, tells of every pong it sends (a ping came in) and
// queues nothing past its limit, whoever writes, Qt's WebSocket included.
#include <QTcpSocket>

#include "remote/outgoing_frames.h"

namespace remote {

class GuardedSocket final : public QTcpSocket {
    Q_OBJECT
public:
    using QTcpSocket::QTcpSocket;

    // From here on the bytes written are WebSocket frames, and no more
    // than `maxQueuedBytes` may wait to go out.
    void carryPage(qint64 maxQueuedBytes);

signals:
    void pongSent();
    // Something was not queued: the page is to be dropped.
    void queueFull();

protected:
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool page_ = false;
    bool full_ = false;
    qint64 maxQueuedBytes_ = 0;
    OutgoingFrames frames_;
};

}  // namespace remote
