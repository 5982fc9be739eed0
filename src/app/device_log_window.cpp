#include "app/device_log_window.h"

#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_file_save.h"
#include "ui/user_dialogs.h"
#include "ui/window_fit.h"

namespace app {
namespace {

QPushButton* AddButton(QHBoxLayout* row, const char* objectName, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    row->addWidget(button);
    return button;
}

}  // namespace

DeviceLogWindow::DeviceLogWindow(ui::UserDialogs& dialogs, QWidget* parent, TimeOfDay now)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), now_(std::move(now)), view_(new QPlainTextEdit(this)) {
    setObjectName("DeviceLog");
    setWindowTitle("Device log");
    view_->setObjectName("DeviceLogView");
    view_->setAccessibleName("Device log");
    view_->setReadOnly(true);
    // A 160-byte block stays on its one line, as in the file.
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setMaximumBlockCount(kMaxLines);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QHBoxLayout;
    saveButton_ = AddButton(buttons, "SaveLogButton", "Save...");
    clearButton_ = AddButton(buttons, "ClearLogButton", "Clear");
    pauseButton_ = AddButton(buttons, "PauseLogButton", "Pause");
    pauseButton_->setCheckable(true);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    connect(saveButton_, &QPushButton::clicked, this, &DeviceLogWindow::save);
    connect(clearButton_, &QPushButton::clicked, this, &DeviceLogWindow::clear);
    // What came during the pause shows once it ends.
    connect(pauseButton_, &QPushButton::toggled, this, [this](bool paused) {
        if (!paused) showHistory();
    });
    ui::ResizeWithinScreen(*this, QSize(760, 400));
}

void DeviceLogWindow::record(std::int64_t /*atMs*/, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                             std::string_view note) {
    history_.add(connection::TraceLine(connection::ClockStamp(now_().msecsSinceStartOfDay()), event, bytes,
                                       names_.noteFor(event, note)));
    // A closed or paused log only remembers: no text layout per frame.
    if (following()) view_->appendPlainText(QString::fromStdString(history_.line(history_.size() - 1)));
}

void DeviceLogWindow::showEvent(QShowEvent* event) {
    showHistory();
    QWidget::showEvent(event);
}

bool DeviceLogWindow::following() const { return isVisible() && !pauseButton_->isChecked(); }

void DeviceLogWindow::showHistory() {
    std::string text = history_.text();
    if (!text.empty()) text.pop_back();
    view_->setPlainText(QString::fromStdString(text));
    view_->moveCursor(QTextCursor::End);
}

void DeviceLogWindow::save() {
    SaveTextFile(dialogs_, {"Save device log", QDir::homePath(), "Text (*.txt)"}, {}, history_.text(),
                 "The device log", this);
}

void DeviceLogWindow::clear() {
    history_.clear();
    view_->clear();
}

}  // namespace app
