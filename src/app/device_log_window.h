#pragma once
// "Device log": what crosses the line, live, in the lines of the --trace
// file (app/trace_line.h). Keeps the last kMaxLines lines; a window of its
// own, opened and closed at will while the trace goes on.
#include <QPlainTextEdit>
#include <QWidget>

#include "connection/trace_line.h"

namespace app {

class DeviceLogWindow final : public QWidget, public devlink::LinkTrace {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 5000;

    explicit DeviceLogWindow(connection::TraceClock& clock, QWidget* parent = nullptr);

    void record(std::int64_t atMs, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                std::string_view note) override;

    QPlainTextEdit* view() const { return view_; }

private:
    connection::TraceClock& clock_;
    QPlainTextEdit* view_;
};

}  // namespace app
