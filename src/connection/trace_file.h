#pragma once
// --trace FILE: every record of the link as a line of text (app/trace_line.h),
// written and flushed as it happens, so a trace survives a program that
// ends at once ("Time out") or is killed.
#include <QFile>
#include <QString>

#include "connection/trace_line.h"

namespace connection {

class TraceFile final : public devlink::LinkTrace {
public:
    explicit TraceFile(TraceClock& clock) : clock_(clock) {}

    // Replaces the file; "-" is standard error. False with the reason
    // otherwise.
    bool open(const QString& path, QString* error);
    bool isOpen() const { return file_.isOpen(); }

    void record(std::int64_t atMs, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                std::string_view note) override;

private:
    TraceClock& clock_;
    ReplyNames names_;
    QFile file_;
};

}  // namespace connection
