#pragma once
// Runs a SimDevice behind a pseudo-terminal, so that the editor (or anything
// else that opens a serial port by path) can talk to it like to the real
// device; or behind a TCP port, as a serial device server would offer it.
// Usable as a program of its own or on a thread inside the editor.
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "sim/device_memory.h"
#include "sim/fault_injector.h"
#include "sim/frame_log.h"
#include "sim/line_pacer.h"
#include "sim/pseudo_terminal.h"
#include "sim/sim_device.h"
#include "sim/tcp_line.h"

namespace sim {

struct PtyOptions {
    std::string linkPath;  // a symlink to the slave, made at start, removed at finish
    // Serve this TCP port on 127.0.0.1 instead of a pseudo-terminal (0: any
    // free port). No link path then.
    std::optional<int> tcpPort;
    std::string memoryFile;  // empty: memory starts fresh and is not kept
    bool lineRate = false;   // pace both directions at 4800 baud
    bool mute = false;       // the device never answers
    std::string logFile;     // empty: no log
    int reportIntervalMs = 250;
    // A report not acknowledged within this is taken as lost on the way and
    // the search goes on with the next one.
    int ackTimeoutMs = 1000;
    std::uint32_t searchSeed = 1;
    FaultScript faults;
};

class PtyRunner {
public:
    PtyRunner() = default;
    PtyRunner(const PtyRunner&) = delete;
    PtyRunner& operator=(const PtyRunner&) = delete;
    ~PtyRunner();

    // Opens the pty, loads the memory file, makes the link and opens the log.
    bool start(const PtyOptions& options, std::string* error);
    // The terminal's path, or tcp://127.0.0.1:PORT.
    std::string slavePath() const { return options_.tcpPort ? tcp_.address() : pty_.slavePath(); }
    const std::string& linkPath() const { return options_.linkPath; }

    // Serves the line until `stop` is set, or until a fault unplugs it. Sleeps in poll() between events;
    // call wake() after setting `stop` to end the wait at once, otherwise
    // the flag is seen within kStopCheckInterval.
    void run(std::atomic<bool>& stop);
    static constexpr std::chrono::milliseconds kStopCheckInterval{200};

    // Safe from any thread and from a signal handler.
    void wake();

    // Saves the memory and removes the link; run() must have returned.
    // Called by the destructor if not done before.
    bool finish(std::string* error);

private:
    using Clock = LinePacer::Clock;

    void feedDevice(Clock::time_point now);
    void sendReportIfDue(Clock::time_point now);
    bool canReport() const;
    void writeDue(Clock::time_point now);
    bool readInput();
    int pollTimeoutMs(Clock::time_point now) const;
    void onMemoryWrite(int address);
    void sendOutputs(const std::vector<FaultInjector::Output>& outputs, Clock::time_point now);
    // `count` more bytes left the device's side of the line, `written` to
    // it or lost with it: whatever they complete is logged as sent, or not.
    void carried(std::size_t count, bool written);
    std::int64_t sinceStartMs(Clock::time_point now) const;
    void unplug();
    int lineFd() const { return options_.tcpPort ? tcp_.clientFd() : pty_.masterFd(); }
    // A new client is on the network line: nothing of the last one's
    // exchange may reach it.
    void startFreshLine();
    ssize_t writeLine(const std::uint8_t* bytes, std::size_t size);

    PtyOptions options_;
    PseudoTerminal pty_;
    TcpLine tcp_;
    DeviceMemory memory_;
    std::optional<SimDevice> device_;
    std::optional<FaultInjector> faults_;  // between the device and the line
    LinePacer pacer_{LinePacer::Duration::zero()};
    FrameLog log_;
    Clock::time_point started_{};
    std::optional<Clock::time_point> nextReport_;
    std::optional<Clock::time_point> ackDeadline_;  // of the report last sent
    std::vector<std::uint8_t> unwritten_;           // due, but the pty would not take them yet
    // What the device sent and the line has not yet carried whole, with the
    // count of bytes queued for the line up to its last one.
    struct OnTheWay {
        std::vector<std::uint8_t> sent;
        std::size_t lastByte;
    };
    std::deque<OnTheWay> onTheWay_;
    std::size_t bytesQueued_ = 0;
    std::size_t bytesCarried_ = 0;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    bool linkMade_ = false;
    bool finished_ = true;
};

}  // namespace sim
