#include "remote/socket_ends.h"

#include <QTcpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace remote {

void EndSending(QTcpSocket& socket) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0) return;
#ifdef Q_OS_WIN
    ::shutdown(static_cast<SOCKET>(descriptor), SD_SEND);
#else
    ::shutdown(static_cast<int>(descriptor), SHUT_WR);
#endif
}

void CloseUnadopted(qintptr descriptor) {
#ifdef Q_OS_WIN
    ::closesocket(static_cast<SOCKET>(descriptor));
#else
    ::close(static_cast<int>(descriptor));
#endif
}

}  // namespace remote
