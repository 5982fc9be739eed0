#pragma once
// View > Found notches: the ring-out log of the editor's searches, newest
// first. It records from the start of the run, open or not; Clear empties
// it and "Save as CSV..." writes it for a spreadsheet. The web remote's
// pages are sent the same entries.
#include <QTime>
#include <QWidget>
#include <functional>

#include "notch/found_notches.h"
#include "notch/search_report.h"

class QListWidget;
class QPushButton;

namespace ui {
class UserDialogs;
}

namespace app {

class FoundNotchesWindow final : public QWidget {
    Q_OBJECT
public:
    using TimeOfDay = std::function<QTime()>;

    explicit FoundNotchesWindow(
        ui::UserDialogs& dialogs, QWidget* parent = nullptr, TimeOfDay now = [] { return QTime::currentTime(); });

    // A report the editor has just shown: its notch as `image` now holds
    // it. One that names no real notch adds nothing, as it changed nothing.
    void take(notch::ReportBytes report, const model::PresetImage& image);
    const notch::FoundNotches& log() const { return log_; }

    QListWidget* list() const { return list_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* clearButton() const { return clearButton_; }

signals:
    void added();

private:
    void save();
    void clear();

    ui::UserDialogs& dialogs_;
    TimeOfDay now_;
    notch::FoundNotches log_;
    QListWidget* list_;
    QPushButton* saveButton_;
    QPushButton* clearButton_;
};

}  // namespace app
