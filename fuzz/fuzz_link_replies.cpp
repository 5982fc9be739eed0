// Whatever the line delivers, in whatever pieces, the link never reads or
// writes outside its buffers and never waits beyond its limits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "devlink/device_link.h"
#include "devlink/memory_dump.h"

namespace {

class Clock final : public devlink::MonotonicClock {
public:
    std::int64_t nowMs() override { return now; }
    std::int64_t now = 0;
};

// Each write releases the next piece of the input; a wait with nothing to
// come lets the time run out.
class ScriptedPort final : public devlink::SerialPort {
public:
    ScriptedPort(Clock& clock, const std::uint8_t* data, std::size_t size) : clock_(clock), data_(data), size_(size) {}
    bool open(const std::string&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void setReadSize(int bytes) override { readSize_ = bytes; }
    bool write(std::span<const std::uint8_t>) override {
        if (pos_ < size_) {
            const std::size_t wanted = data_[pos_] % 200 + 1;
            ++pos_;
            const std::size_t piece = std::min<std::size_t>(wanted, size_ - pos_);
            input_.insert(input_.end(), data_ + pos_, data_ + pos_ + piece);
            pos_ += piece;
        }
        return open_;
    }
    int bytesWaiting() override { return static_cast<int>(input_.size()); }
    void waitForBytes(int timeoutMs) override { clock_.now += timeoutMs; }
    std::vector<std::uint8_t> read() override {
        const auto n = std::min<std::size_t>(input_.size(), static_cast<std::size_t>(readSize_));
        std::vector<std::uint8_t> out(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
        return out;
    }
    void discardInput() override { input_.clear(); }
    devlink::PortFault fault() const override { return devlink::PortFault::None; }
    std::string faultText() const override { return {}; }

private:
    Clock& clock_;
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::vector<std::uint8_t> input_;
    bool open_ = false;
    int readSize_ = 10;
};

class QuietEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Clock clock;
    ScriptedPort port(clock, data, size);
    QuietEnd end;
    devlink::PortTable table = devlink::PortTable::fromList("/fuzz", ':');
    devlink::DeviceLink link(port, clock, end, table);
    link.openPort(1);
    devlink::RunToEnd(link.probeDevice({}));
    model::PresetImage image{};
    model::PresetLibrary library;
    devlink::RunToEnd(devlink::DumpDeviceMemory(link, image, library, {}));
    link.pollSearchReports([](std::span<const std::uint8_t, devlink::kReportSize>) {});
    return 0;
}
