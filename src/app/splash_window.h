#pragma once
// frmSplash: the program's name, a status line and the dump's progress while
// the start-up runs behind it.
#include <QWidget>

class QLabel;
class QProgressBar;

namespace app {

// Only a screen smaller in both directions is too small.
inline bool ScreenTooSmall(int widthPx, int heightPx) { return widthPx < 800 && heightPx < 600; }
inline constexpr char kScreenTooSmallMessage[] = "Minimum display resolution is 800x600";
inline constexpr char kSearchingStatus[] = "Searching COM: please wait ";

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shown and painted at once: the start-up blocks the event loop.
    void showStatus(const QString& text);
    void showProgress(int done, int total);
    QString status() const;
    bool statusVisible() const;

private:
    QLabel* statusLabel_;
    QProgressBar* progress_;
};

}  // namespace app
