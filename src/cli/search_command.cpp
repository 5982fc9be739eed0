#include "cli/search_command.h"

#include <algorithm>
#include <cmath>

#include "cli/channel_text.h"
#include "cli/device_reads.h"
#include "notch/search_frames.h"
#include "notch/search_report.h"

namespace cli {
namespace {

// How long one wait lasts at most when no time limit was given; a signal or
// a report ends it sooner.
constexpr int kLongestWaitMs = 60'000;

const char* TargetName(int selector) { return selector == 0 ? "both" : selector == 1 ? "left" : "right"; }

void ShowReport(Console& console, model::PresetImage& image, std::span<const std::uint8_t, devlink::kReportSize> bytes,
                int& count) {
    const auto report = notch::DecodeSearchReport(bytes);
    if (!report) return;
    notch::StoreSearchReport(*report, image);
    ++count;
    const bool cleared = model::ReadNotchRecord(image, report->n).gain == model::kMaxGainCode;
    const char* state = cleared ? "cleared" : "placed";
    const PrintedLine line = NotchLine(image, report->n);
    console.result(line.text + " " + state, JsonLine().add("event", "notch").merge(line.json).add("state", state));
}

}  // namespace

devlink::Task<ExitStatus> RunSearch(CommandContext& context, const SearchCommand& command) {
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    devlink::DeviceLink& link = context.link;
    model::PresetImage image{};
    const ExitStatus read = co_await ReadCurrentSettingsFor(context, image);
    if (read != ExitStatus::Done) co_return read;
    co_await link.command(notch::SearchStartPayload(image, static_cast<std::uint8_t>(command.selector)));
    if (link.ended()) co_return context.lost();
    context.console.event(JsonLine().add("event", "started").add("target", TargetName(command.selector)));
    context.console.progress(QString("Searching %1: Ctrl+C stops").arg(TargetName(command.selector)));

    const std::int64_t started = context.env.clock.nowMs();
    const bool limited = command.seconds.has_value();
    const std::int64_t limitMs = limited ? std::llround(*command.seconds * 1000) : 0;
    int reports = 0;
    bool timeUp = false;
    std::int64_t elapsed = 0;
    for (;;) {
        while (link.pollSearchReports([&](auto bytes) { ShowReport(context.console, image, bytes, reports); })) {}
        if (link.ended()) co_return context.lost();
        // Time first: a signal that comes once the time is up stops nothing.
        elapsed = context.env.clock.nowMs() - started;
        if (limited && elapsed >= limitMs) {
            timeUp = true;
            break;
        }
        if (context.env.stopRequested()) break;
        std::int64_t wait = limited ? std::min<std::int64_t>(limitMs - elapsed, kLongestWaitMs) : kLongestWaitMs;
        // Ten bytes that may yet be a report are decided after a frame time
        // of quiet line, arriving bytes or not.
        if (link.reportUndecided()) wait = std::min<std::int64_t>(wait, devlink::kFrameLineMs + 1);
        context.env.waitForActivity(static_cast<int>(wait));
    }

    // The editor's stop: twice, and twice more after a one-channel search.
    const devlink::Payload stop = notch::SearchStopPayload(image);
    const int stops = command.selector == 0 ? 2 : 4;
    for (int i = 0; i < stops; ++i) {
        co_await link.command(stop);
        if (link.ended()) co_return context.lost();
    }
    const char* reason = timeUp ? "time" : "signal";
    context.console.event(JsonLine().add("event", "stopped").add("reason", reason).add("reports", reports));
    // Without a time the signal is the asked-for end; with one, it cut the
    // search short and a script must be able to tell.
    const bool cutShort = limited && !timeUp;
    QString summary = QString("Search stopped (%1)").arg(reason);
    if (cutShort)
        summary +=
            QString(" after %1 of %2 seconds")
                .arg(QString::number(static_cast<double>(elapsed) / 1000, 'f', 1), QString::number(*command.seconds));
    summary += QString(", %1 %2").arg(reports).arg(reports == 1 ? "report" : "reports");
    if (cutShort) co_return context.console.fail(ExitStatus::Interrupted, summary);
    context.console.note(summary);
    co_return ExitStatus::Done;
}

}  // namespace cli
