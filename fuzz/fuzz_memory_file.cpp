// The simulator's memory file, any length and any bytes, loaded into the
// simulated device and read by the editor's start-up dump over the line.
// The device holds the file's bytes and erased ones after them; the editor
// finds exactly the positions marked used, with the names the file holds;
// saved and loaded again, the memory is the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "devlink/memory_dump.h"
#include "scratch_file.h"
#include "sim/memory_file.h"
#include "sim/sim_device.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

class Clock final : public devlink::MonotonicClock {
public:
    std::int64_t nowMs() override { return now; }
    std::int64_t now = 0;
};

// The device answers as soon as a frame is written; a wait for more than it
// said lets the time run out.
class LoopbackPort final : public devlink::SerialPort {
public:
    LoopbackPort(Clock& clock, sim::SimDevice& device) : clock_(clock), device_(device) {}
    bool open(const std::string&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void setReadSize(int bytes) override { readSize_ = static_cast<std::size_t>(bytes); }
    bool write(std::span<const std::uint8_t> bytes) override {
        const auto answer = device_.receive(bytes);
        input_.insert(input_.end(), answer.begin(), answer.end());
        return open_;
    }
    int bytesWaiting() override { return static_cast<int>(input_.size()); }
    void waitForBytes(int timeoutMs) override { clock_.now += timeoutMs; }
    std::vector<std::uint8_t> read() override {
        const auto n = static_cast<std::ptrdiff_t>(std::min(input_.size(), readSize_));
        std::vector<std::uint8_t> out(input_.begin(), input_.begin() + n);
        input_.erase(input_.begin(), input_.begin() + n);
        return out;
    }
    void discardInput() override { input_.clear(); }
    devlink::PortFault fault() const override { return devlink::PortFault::None; }
    std::string faultText() const override { return {}; }

private:
    Clock& clock_;
    sim::SimDevice& device_;
    std::vector<std::uint8_t> input_;
    std::size_t readSize_ = 10;
    bool open_ = false;
};

class QuietEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string&) override { lost = true; }
    bool lost = false;
};

std::u32string NameAt(const sim::DeviceMemory& memory, int address) {
    std::u32string name;
    for (int i = 0; i < sim::memory_map::kNameLength; ++i) name.push_back(memory.read(address + i));
    return name;
}

void CheckDump(sim::DeviceMemory& memory) {
    sim::SimDevice device(memory);
    Clock clock;
    LoopbackPort port(clock, device);
    QuietEnd end;
    devlink::DeviceLink link(port, clock, end, devlink::PortTable::fromList("/fuzz", ':'));
    Require(link.openPort(1));
    model::PresetImage image{};
    model::PresetLibrary library;
    devlink::RunToEnd(devlink::DumpDeviceMemory(link, image, library, {}));
    Require(!end.lost && !link.ended());

    for (int slot = 0; slot < sim::memory_map::kStoredPositions; ++slot) {
        const int index = model::kFixedPositions + slot;
        const bool marked = memory.read(sim::memory_map::markerAddress(slot)) == sim::memory_map::kStoreMarker;
        Require(library.used[index] == marked);
        Require(library.names[index] == (marked ? NameAt(memory, sim::memory_map::presetNameAddress(slot))
                                                : std::u32string(model::kEmptyPresetName)));
    }
    Require(library.programName == NameAt(memory, sim::memory_map::kProgramNameAddress));
    Require(std::equal(device.settings().begin(), device.settings().end(), image.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchPath("memory.bin");
    fuzz::WriteScratch(path, data, size);
    sim::DeviceMemory memory;
    std::string error;
    Require(sim::loadMemoryFile(path, memory, &error));
    const auto bytes = memory.bytes();
    const std::size_t kept = std::min<std::size_t>(size, bytes.size());
    Require(std::equal(data, data + kept, bytes.begin()));
    Require(std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(kept), bytes.end(),
                        [](std::uint8_t b) { return b == sim::memory_map::kErased; }));

    CheckDump(memory);

    Require(sim::saveMemoryFile(path, memory, &error));
    sim::DeviceMemory reloaded;
    Require(sim::loadMemoryFile(path, reloaded, &error));
    Require(std::equal(bytes.begin(), bytes.end(), reloaded.bytes().begin()));
    return 0;
}
