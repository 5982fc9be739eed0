#pragma once
// The QRN4480 as seen from its serial line: bytes in, bytes out. It keeps no
// clock and does no I/O, so whoever drives it decides how fast the line runs
// (a pseudo-terminal, a fake port in a test, a plain function call).
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sim/device_memory.h"
#include "sim/device_protocol.h"
#include "sim/factory_presets.h"
#include "sim/feedback_search.h"
#include "sim/frame_assembler.h"

namespace sim {

enum class Direction {
    In,       // a complete frame taken from the line
    Out,      // an answer, a block or a report put on the line
    Skipped,  // bytes from the line that belonged to no frame
};

struct LoggedFrame {
    Direction dir;
    std::vector<std::uint8_t> bytes;
    bool operator==(const LoggedFrame&) const = default;
};

class SimDevice {
public:
    using FrameObserver = std::function<void(Direction, std::span<const std::uint8_t>)>;
    using MemoryWriteObserver = std::function<void(int address)>;

    // The memory outlives the device; stored presets survive its restarts.
    explicit SimDevice(DeviceMemory& memory, std::uint32_t searchSeed = 1);

    // Bytes from the line in any grouping; returns what the device sends back
    // for every frame they complete, in order.
    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes);
    // receive() one piece at a time, for a caller that treats each frame's
    // answer on its own: the frames and junk these bytes complete, then what
    // the device sends back for one of them (nothing for junk).
    std::vector<AssembledPiece> assemble(std::span<const std::uint8_t> bytes) { return assembler_.push(bytes); }
    std::vector<std::uint8_t> handle(const AssembledPiece& piece);

    // While a search runs and the last report has been acknowledged (or
    // given up): the next ten-byte report. Otherwise empty.
    std::vector<std::uint8_t> takeReport();
    bool reportReady() const;
    // The last report never reached the editor; stop waiting for its
    // acknowledgement.
    void giveUpReport() { awaitingAck_ = false; }

    bool searching() const { return search_.running(); }
    bool searching(int channel) const { return search_.searching(channel); }
    bool awaitingAck() const { return awaitingAck_; }
    bool linkClosed() const { return linkClosed_; }

    // A muted device hears everything and says nothing: the editor's view of
    // a dead device or a wrong port.
    void setMuted(bool muted) { muted_ = muted; }
    bool muted() const { return muted_; }

    const PresetBlock& settings() const { return settings_; }
    const DeviceMemory& memory() const { return memory_; }

    // Called on the thread that calls receive() and takeReport().
    void setFrameObserver(FrameObserver observer) { frameObserver_ = std::move(observer); }
    void setMemoryWriteObserver(MemoryWriteObserver observer) { memoryObserver_ = std::move(observer); }

private:
    void execute(const Frame& frame, std::vector<std::uint8_t>& out);
    void setNotch(const Frame& frame);
    void searchControl(const Frame& frame);
    void setReleaseMode(const Frame& frame);
    void appendBlock(std::uint8_t index, std::vector<std::uint8_t>& out) const;
    void notify(Direction dir, std::span<const std::uint8_t> bytes) const;

    DeviceMemory& memory_;
    FrameAssembler assembler_;
    FeedbackSearch search_;
    PresetBlock settings_;
    bool awaitingAck_ = false;
    bool linkClosed_ = false;
    bool muted_ = false;
    FrameObserver frameObserver_;
    MemoryWriteObserver memoryObserver_;
};

// An observer that keeps every frame in `log`, for tests and tools that look
// at the whole exchange afterwards.
inline SimDevice::FrameObserver recordInto(std::vector<LoggedFrame>& log) {
    return [&log](Direction dir, std::span<const std::uint8_t> bytes) {
        log.push_back({dir, {bytes.begin(), bytes.end()}});
    };
}

}  // namespace sim
