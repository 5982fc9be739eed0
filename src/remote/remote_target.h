#pragma once
// What the server works on: the editor (its own controls) or the
// command-line tool's device. The server knows nothing of either.
#include <QJsonObject>
#include <QObject>
#include <QString>

#include "remote/protocol.h"

namespace remote {

class RemoteTarget : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The settings and activity as every page is to show them.
    virtual QJsonObject state() const = 0;
    // Carries out one page's request; empty when done, otherwise the reason
    // it was not (told to that page only). `client` identifies the page a
    // question is to be asked on.
    virtual QString apply(const Request& request, int client) = 0;
    // The page is gone: any question it was asked is answered No.
    virtual void forgetClient(int client) { (void)client; }

signals:
    // Anything a page shows may have changed.
    void changed();
    // Ask this page; its answer comes back as an AnswerRequest with `id`.
    void question(int client, int id, const QString& title, const QString& text);
    // A text for this page alone (what the editor would have shown in a box).
    void notice(int client, const QString& text);
};

}  // namespace remote
