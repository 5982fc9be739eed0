#pragma once
// The one owner of the serial link: opens the port, writes frames, waits for
// the device's replies with the resend and time-out rules, and takes the
// device's own reports during a feedback search. Device work runs as jobs,
// one at a time (JobRunner), each a coroutine: in the editor a wait hands
// the window's event loop back until the device answers, so nothing runs
// inside an exchange. What
// holds the device for many frames holds DeviceWork too: a command from
// outside it is refused, never slipped in between its frames. An edit asked
// for while another job waits is queued behind it.
//
// A line can lie: noise, a reply repeated, a reply that comes after its
// resend, a device still searching from an earlier session. The link keeps
// what arrives in its own stamped buffer and takes a reply by its frame
// (F0 5B ... F7) and a report by its first byte and fields, never by where
// it happens to sit; whatever it skips goes to the trace. A device whose
// replies carry no frame still works by the older rule: when the time is up,
// any ten bytes complete the exchange, unless they hold a frame start (F0 5B):
// that is a framed reply damaged on the line, and the frame is sent again.
#include <array>
#include <deque>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "devlink/device_work.h"
#include "devlink/frame.h"
#include "devlink/job_runner.h"
#include "devlink/line_input.h"
#include "devlink/link_trace.h"
#include "devlink/monotonic_clock.h"
#include "devlink/port_factory.h"
#include "devlink/port_table.h"
#include "devlink/serial_port.h"
#include "devlink/task.h"

namespace devlink {

inline constexpr int kReplySize = 10;
inline constexpr int kBlockReplySize = 160;
inline constexpr int kReportSize = 7;
inline constexpr int kReplyBufferSize = 209;
inline constexpr std::int64_t kReplyTimeoutMs = 3168;   // 0.11 / 3000 of a day
inline constexpr std::int64_t kBlockTimeoutMs = 18144;  // 0.21 / 1000 of a day
inline constexpr int kMaxWrites = 6;                    // the first and five resends
inline constexpr char kTimeOutMessage[] = "Time out";
inline constexpr char kGarbledBlockMessage[] =
    "The device's settings could not be read: its answer was garbled every time it was asked.";
// Ten bytes at 4800 baud. On a real line a reply cannot end before the frame
// it answers and the reply itself have both crossed it.
inline constexpr std::int64_t kFrameLineMs = 21;

// What happens when the device is gone: the editor says so and goes offline
// (it keeps its settings and tries the port again), the command-line tool
// ends with the message. Tests record the message. The link then refuses
// every further operation until a reconnect, so nothing more reaches the
// line.
class LinkEnd {
public:
    virtual ~LinkEnd() = default;
    virtual void linkLost(const std::string& message) = 0;
};

struct LinkFlags {
    bool demoMode = false;      // no device: nothing is written, read or polled
    bool suppressSend = false;  // the editor is being filled with what the device already has
    bool portReady = false;     // the last OpenPort succeeded
};

using ReplyBuffer = std::array<std::uint8_t, kReplyBufferSize>;
// What one exchange brought back, returned to whoever asked.
using Reply = std::array<std::uint8_t, kReplySize>;
using Block = std::array<std::uint8_t, kBlockReplySize>;
using ReportHandler = std::function<void(std::span<const std::uint8_t, kReportSize>)>;

class DeviceLink {
public:
    // Jobs driven in place, on a runner of its own.
    DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports);
    // Jobs run by `jobs` (the editor's, driven from its event loop; the
    // port's waits hand the loop back through the same runner).
    DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports, JobRunner& jobs);

    LinkFlags& flags() { return flags_; }
    const LinkFlags& flags() const { return flags_; }
    // The transfer that holds the device, if any.
    DeviceWork& work() { return work_; }
    const DeviceWork& work() const { return work_; }
    // Where every exchange runs.
    JobRunner& jobs() { return jobs_; }
    const JobRunner& jobs() const { return jobs_; }
    // Ends the job in progress at its next wait or frame and forgets those
    // queued (the editor is ending): nothing more is written until no job
    // is left. A store cut off this way leaves its position unmarked.
    void cancelJobs();
    bool cancelling() const { return cancelled_; }
    const PortTable& ports() const { return ports_; }
    // A port the user names that the table does not (a path or an address
    // typed in), under the number it is given.
    void namePort(int portNumber, std::string path) { ports_.set(portNumber, std::move(path)); }

    // Closes whatever is open, then opens the given port number.
    bool openPort(int portNumber);
    void closePort();
    int portNumber() const { return portNumber_; }
    PortFault lastOpenFault() const { return lastOpenFault_; }
    std::string portDescription() const;

    // Reopens the port with the new read size, as the device's protocol has
    // it; a network port keeps its connection.
    void setReceiveSize(int bytes);
    // An edit from a control: one frame and its reply, as a job of its own.
    // One asked for while another job waits (a control that moved while the
    // window kept running) is queued instead: the latest value of each
    // parameter wins, parameters go out in the order they were first
    // changed, right after the exchange in progress; a parameter moved back
    // to the value in progress is not sent again. While a transfer holds
    // the device it is refused.
    void sendCommand(const Payload& payload);
    // One frame and its reply, as a step of the task that awaits it. False
    // when it did not complete (the link ended, the job was cancelled,
    // sending is off).
    Task<bool> command(Payload payload);
    // Frames in order, each a step as above, until one does not complete.
    Task<bool> commands(std::vector<Payload> frames);
    Task<bool> probeDevice(Payload payload);
    // The probe in its two halves, so that several ports can be probed at
    // once: the wait counts from the write.
    bool writeProbe(const Payload& payload);
    Task<bool> awaitProbeReply();

    // Where the port search gets more ports of this link's kind; none: the
    // ports are tried one after the other on the link's own port.
    void setPortFactory(PortFactory* factory) { portFactory_ = factory; }
    PortFactory* portFactory() const { return portFactory_; }
    // Takes over the line another link (over a port from the factory) has
    // probed: its port, what it read and what it learnt about the line.
    void adoptLineOf(DeviceLink& prober);
    // A block of 160 bytes; nothing when the link ended, the job was
    // cancelled or sending is off (demo mode, a fill).
    Task<std::optional<Block>> readBlock(Payload payload);
    // One exchange whose reply the caller needs (a memory byte): never
    // queued or coalesced; nothing when it did not complete.
    Task<std::optional<Reply>> request(Payload payload);
    void sendNoReply(const Payload& payload);
    // Consumes one report when ten bytes are waiting, hands its first seven
    // bytes to the handler and acknowledges it. True when one was consumed.
    bool pollSearchReports(const ReportHandler& handle);
    // Ten bytes or more wait that may still become a report: poll again
    // once a frame time has passed, even if nothing more arrives.
    bool reportUndecided() const { return input_.size() >= static_cast<std::size_t>(kReplySize); }
    // Reports a searching device sent while an exchange had the line (the
    // stop's own, or any other): kept, in order, for the next poll.
    bool hasKeptReports() const { return !keptReports_.empty(); }

    // Outside an exchange and a search nothing waiting belongs to anyone:
    // drops it, so a chattering line never piles up. A port that failed
    // meanwhile loses the link.
    void dropIdleInput();

    // After the link was lost: opens the port again and writes the probe,
    // without waiting. False when the port would not open.
    bool beginReconnect();
    // True once the device has answered that probe; the link then works
    // again. Call when bytes arrive, and once more when the reply time is up.
    bool finishReconnect();
    bool reconnecting() const { return reconnecting_; }
    // Offline, the user asks for a device elsewhere: the attempts on the
    // lost port stop and the link may probe again.
    void resumeForConnect();
    // That connect found nothing: offline again, on the port that was lost.
    void resumeLoss(int lostPort);
    void setTrace(LinkTrace* trace) { trace_ = trace; }
    LinkTrace* trace() const { return trace_; }
    // Told (after the trace) of a job that an error ended; the link and the
    // jobs after it go on.
    void setWhenJobFailed(std::function<void(const std::string& why)> failed) { whenJobFailed_ = std::move(failed); }
    MonotonicClock& clock() { return clock_; }

    // The link was lost, or the job is being cancelled: either way the work
    // in progress stops and nothing more goes out.
    bool ended() const { return ended_ || cancelled_; }
    // The link was lost (and is offline until a reconnect).
    bool lost() const { return ended_; }
    bool inExchange() const { return inExchange_; }
    // No transfer holds the device and no job runs, waits or is queued.
    bool idle() const { return !work_.busy() && !jobs_.busy(); }
    int bytesWaiting();

private:
    DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports, std::unique_ptr<JobRunner> own,
               JobRunner* shared);

    enum class WaitResult { Arrived, TimedOut, Garbled, Broken, Cancelled };

    bool sendingBlocked() const { return flags_.demoMode || flags_.suppressSend || ended_ || cancelled_; }
    bool portBroken() const { return port_.fault() == PortFault::Broken || !port_.isOpen(); }
    bool writeFrame(const Payload& payload);
    // Writes, waits, resends; copies the reply into ReplyBuffer. False when
    // the link was lost.
    Task<bool> exchange(Payload payload, int replySize, std::int64_t limitMs);
    Task<WaitResult> awaitReply(int replySize, std::int64_t limitMs, std::int64_t writtenAtMs);
    bool takeFramedReply(std::int64_t writtenAtMs);
    bool takeBlock();
    bool takeUnframedReply(int replySize);
    // After a resend the first write may still be answered: waits for that
    // answer (or the reply time) and drops it, so it cannot pass for the
    // next frame's reply.
    Task<void> settleAfterResend(int replySize, std::int64_t writtenAtMs);
    // Waits until nothing has come for two byte times (or the deadline) and
    // drops what came: the rest of a garbled answer.
    Task<void> dropWhenQuiet(std::int64_t deadlineMs);
    // Until bytes arrive, the port fails or the time is up: in place on a
    // port that blocks, from the event loop on one that wakes the job.
    Task<void> bytesOrTime(std::int64_t timeoutMs);
    void pullInput();
    // Noise ahead of the next report, waiting (a frame time at most) when
    // the bytes held cannot tell yet; nothing when fewer than ten are held.
    std::optional<std::size_t> noiseAheadOfReport();
    void dropInput(std::size_t count, std::string_view why);
    // As dropInput, but whole reports among the bytes are kept for the
    // next poll while the device may be searching.
    void dropKeepingReports(std::size_t count, std::string_view why);
    // Whether the device may send reports: from a search start until the
    // reply to a frame that switches the search off.
    void noteSearchState(const Payload& payload);
    void copyReply(std::size_t count);
    void trace(TraceEvent event, std::span<const std::uint8_t> bytes = {}, std::string_view note = {});
    void lose(const std::string& message);
    std::string portLostMessage() const;
    void queueCommand(const Payload& payload);
    Task<void> sendQueued();
    Task<bool> exchangeCommand(Payload payload);

    SerialPort& port_;
    MonotonicClock& clock_;
    LinkEnd& end_;
    PortTable ports_;
    LinkFlags flags_;
    DeviceWork work_;
    std::unique_ptr<JobRunner> ownJobs_;
    JobRunner& jobs_;
    Frame frameBuffer_{};
    ReplyBuffer reply_{};
    LineInput input_;
    // Seen once a reply's bytes arrived at line pace: a real serial line,
    // where replies that end too soon after a write are stale.
    bool pacedLine_ = false;
    LinkTrace* trace_ = nullptr;
    std::function<void(const std::string&)> whenJobFailed_;
    std::vector<Payload> queued_;
    std::deque<Reply> keptReports_;
    bool reportsExpected_ = false;
    std::optional<Payload> commandOnLine_;  // a command whose reply is awaited
    bool reconnecting_ = false;
    PortFactory* portFactory_ = nullptr;
    std::int64_t probeWrittenAtMs_ = 0;
    int portNumber_ = 0;
    std::string portName_;
    PortFault lastOpenFault_ = PortFault::None;
    bool ended_ = false;
    bool cancelled_ = false;
    bool drainQueued_ = false;  // a job that sends the queued commands is asked for
    bool inExchange_ = false;
};

}  // namespace devlink
