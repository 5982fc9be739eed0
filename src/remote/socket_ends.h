#pragma once
// The two calls on a connection that Qt does not offer, one place per
// platform: the rest of the remote is the same everywhere.
#include <QtGlobal>

class QTcpSocket;

namespace remote {

// No more is sent: the client reads the answer to its end and sees the
// line close, even while it is still sending.
void EndSending(QTcpSocket& socket);

// A connection the server accepted but no socket object took on.
void CloseUnadopted(qintptr descriptor);

}  // namespace remote
