#pragma once
// The strip across the top of the editor while the device is away: a lost
// device must be hard to miss even when nothing is being sent, and the user
// must know that edits made meanwhile are not lost.
#include <QDockWidget>

class QLabel;
class QMainWindow;

namespace app {

// "Offline: the device on port 1 (/dev/ttyUSB0) stopped answering. ...
// Reason: Time out", the reason in the link's own words.
QString OfflineBannerText(const QString& where, const QString& why = {});

class OfflineBanner final : public QDockWidget {
    Q_OBJECT
public:
    // Placed above the window's central widget, hidden until offline.
    explicit OfflineBanner(QMainWindow& window);

    // Shown, and said to a screen reader, when `offline`; hidden otherwise.
    void showState(bool offline, const QString& where, const QString& why);
    QString text() const;

private:
    QLabel* label_;
};

}  // namespace app
