#include "app/device_log_window.h"

#include <QFontDatabase>
#include <QVBoxLayout>

namespace app {

DeviceLogWindow::DeviceLogWindow(connection::TraceClock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), clock_(clock), view_(new QPlainTextEdit(this)) {
    setObjectName("DeviceLog");
    setWindowTitle("Device log");
    view_->setReadOnly(true);
    // A 160-byte block stays on its one line, as in the file.
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setMaximumBlockCount(kMaxLines);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(720, 360);
}

void DeviceLogWindow::record(std::int64_t /*atMs*/, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                             std::string_view note) {
    view_->appendPlainText(QString::fromStdString(connection::TraceLine(clock_.sinceStartUs(), event, bytes, note)));
}

}  // namespace app
