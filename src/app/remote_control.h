#pragma once
// Device > Remote control...: the web remote of the editor, off until asked
// for, and its window: the addresses to open (as text and as a QR code),
// the pages connected and the requests refused.
#include <QDialog>
#include <memory>

#include "app/editor_remote_target.h"
#include "remote/listen_address.h"
#include "remote/remote_server.h"

class QCheckBox;
class QLabel;

namespace app {

class RemoteControl final : public QDialog {
    Q_OBJECT
public:
    RemoteControl(MainWindow& window, const model::PresetImage& image, devlink::DeviceLink& link,
                  RemoteDialogs& dialogs);

    // Turns the server on (where: every address, the usual port) or off;
    // false, with why, when it cannot listen.
    bool start(const remote::ListenAddress& where, QString* error);
    void stop();
    remote::RemoteServer& server() { return server_; }
    // Where a question device work waits on is put to the pages too.
    ui::QuestionMirror& questionMirror() { return target_; }

private:
    void onSwitch(bool on);
    // The addresses and the QR code: when the server starts or stops.
    void showAddresses();
    // The counts: whenever a page comes or goes or a request is refused.
    void showCounts();

    MainWindow& window_;
    EditorRemoteTarget target_;
    remote::RemoteServer server_;
    remote::ListenAddress where_;
    QCheckBox* onBox_;
    QLabel* addresses_;
    QLabel* qr_;
    QLabel* counts_;
    QLabel* error_;
};

}  // namespace app
