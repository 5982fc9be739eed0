#pragma once
// "Device log": what crosses the line, in the lines of the --trace file
// (app/trace_line.h) under the time of day. It records from the start of
// the run, open or not, and keeps the last TraceHistory::kMaxLines lines;
// Pause holds the view still while the recording goes on.
#include <QTime>
#include <QWidget>
#include <functional>

#include "app/trace_history.h"
#include "connection/trace_line.h"

class QPlainTextEdit;
class QPushButton;

namespace ui {
class UserDialogs;
}

namespace app {

class DeviceLogWindow final : public QWidget, public devlink::LinkTrace {
    Q_OBJECT
public:
    static constexpr int kMaxLines = static_cast<int>(TraceHistory::kMaxLines);
    using TimeOfDay = std::function<QTime()>;

    explicit DeviceLogWindow(
        ui::UserDialogs& dialogs, QWidget* parent = nullptr, TimeOfDay now = [] { return QTime::currentTime(); });

    void record(std::int64_t atMs, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                std::string_view note) override;

    QPlainTextEdit* view() const { return view_; }
    const TraceHistory& history() const { return history_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* clearButton() const { return clearButton_; }
    QPushButton* pauseButton() const { return pauseButton_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool following() const;
    void showHistory();
    void save();
    void clear();

    ui::UserDialogs& dialogs_;
    TimeOfDay now_;
    connection::ReplyNames names_;
    TraceHistory history_;
    QPlainTextEdit* view_;
    QPushButton* saveButton_;
    QPushButton* clearButton_;
    QPushButton* pauseButton_;
};

}  // namespace app
