#include "devlink/device_link.h"

#include "devlink/commands.h"

namespace devlink {

bool DeviceLink::pollSearchReports(const ReportHandler& handle) {
    if (flags_.demoMode || ended_ || inExchange_) return false;
    // An adapter unplugged during a search closes the port; say so now
    // rather than at the next edit.
    if (port_.fault() == PortFault::Broken) {
        lose(portLostMessage());
        return false;
    }
    if (!keptReports_.empty()) {
        // Sent while an exchange had the line; acknowledged now, after it.
        reply_ = {};
        std::copy(keptReports_.front().begin(), keptReports_.front().end(), reply_.begin());
        keptReports_.pop_front();
        trace(TraceEvent::Report, std::span(reply_).first(kReplySize), "kept from an exchange");
        if (handle) handle(std::span<const std::uint8_t, kReportSize>(reply_.data(), kReportSize));
        sendNoReply(ReportAckPayload());
        return true;
    }
    if (!port_.isOpen()) return false;
    pullInput();
    // A stray byte ahead of a report would otherwise shift every report
    // after it; every report the device sent, known or not, waits for its
    // acknowledgement.
    const std::optional<std::size_t> noise = noiseAheadOfReport();
    if (!noise) return false;
    dropInput(*noise, "noise ahead of a report");
    if (input_.size() < static_cast<std::size_t>(kReplySize)) return false;
    trace(TraceEvent::Report, input_.bytes().first(kReplySize));
    copyReply(kReplySize);
    if (handle) handle(std::span<const std::uint8_t, kReportSize>(reply_.data(), kReportSize));
    sendNoReply(ReportAckPayload());
    return true;
}

std::optional<std::size_t> DeviceLink::noiseAheadOfReport() {
    std::optional<std::size_t> noise = NoiseAheadOfReport(input_.bytes());
    if (noise || input_.size() < static_cast<std::size_t>(kReplySize)) return noise;
    // Ten bytes and an FE or FD among them whose fields have not all come.
    // A report's bytes come back to back: a line that stays quiet for a
    // frame time sent one report of a kind this program does not know.
    // Until then nothing is decided and nothing waited for here (in the
    // editor a wait would run the event loop inside the poll): the caller
    // polls again when more bytes come or the frame time is over.
    const std::int64_t quietMs = clock_.nowMs() - input_.arrivedAt(input_.size() - 1);
    return quietMs >= kFrameLineMs ? std::optional<std::size_t>(0) : std::nullopt;
}

void DeviceLink::dropIdleInput() {
    if (flags_.demoMode || ended_ || inExchange_) return;
    // An adapter unplugged (or a connection dropped) while nothing was sent:
    // say so now rather than at the next edit.
    if (port_.fault() == PortFault::Broken) {
        lose(portLostMessage());
        return;
    }
    if (!port_.isOpen()) return;
    pullInput();
    dropInput(input_.size(), "nobody waits for it");
}

}  // namespace devlink
