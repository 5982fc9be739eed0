#include "sim/sim_device.h"

#include <algorithm>

namespace sim {
namespace {

using namespace model;

std::uint8_t payload(const Frame& frame, int n) { return frame[payloadOffset(n)]; }

int addressOf(const Frame& frame) { return payload(frame, 2) * 256 + payload(frame, 3); }

// Channel bytes from the line are 0 Left, 1 Right; anything else names no
// channel and the command changes nothing.
bool validChannel(std::uint8_t channel) { return channel < kChannels; }

std::size_t offsetFor(const std::array<int, kChannels>& table, int channel) {
    return static_cast<std::size_t>(table[static_cast<std::size_t>(channel)]);
}

}  // namespace

SimDevice::SimDevice(DeviceMemory& memory, std::uint32_t searchSeed)
    : memory_(memory), search_(searchSeed), settings_(DefaultImage) {}

std::vector<std::uint8_t> SimDevice::receive(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    for (const AssembledPiece& piece : assemble(bytes)) {
        const std::vector<std::uint8_t> answer = handle(piece);
        out.insert(out.end(), answer.begin(), answer.end());
    }
    return out;
}

std::vector<std::uint8_t> SimDevice::handle(const AssembledPiece& piece) {
    std::vector<std::uint8_t> out;
    if (piece.kind == AssembledPiece::Kind::Skipped || piece.bytes.size() != kFrameSize) {
        notify(Direction::Skipped, piece.bytes);
        return out;
    }
    Frame frame;
    std::copy(piece.bytes.begin(), piece.bytes.end(), frame.begin());
    notify(Direction::In, frame);
    if (muted_) return out;
    execute(frame, out);
    if (!out.empty()) notify(Direction::Out, out);
    return out;
}

bool SimDevice::reportReady() const { return !muted_ && search_.running() && !awaitingAck_; }

std::vector<std::uint8_t> SimDevice::takeReport() {
    if (!reportReady()) return {};
    const Frame report = search_.nextReport(settings_);
    awaitingAck_ = true;
    notify(Direction::Out, report);
    return {report.begin(), report.end()};
}

void SimDevice::execute(const Frame& frame, std::vector<std::uint8_t>& out) {
    const std::uint8_t code = payload(frame, 1);
    std::uint8_t data = 0;
    linkClosed_ = false;
    switch (code) {
    case command::kReportAck:
        // The editor sends the acknowledgement without waiting for anything
        // and reads whatever ten bytes come next as a new report. An answer
        // here would be acknowledged in turn, and so on for ever.
        awaitingAck_ = false;
        return;
    case command::kReadPresetBlock:
        // The block is the whole answer: the editor waits for 160 bytes.
        appendBlock(payload(frame, 2), out);
        return;
    case command::kSetNotch: setNotch(frame); break;
    case command::kSearchControl: searchControl(frame); break;
    case command::kSetReleaseMode: setReleaseMode(frame); break;
    case command::kReadMemoryByte: data = memory_.read(addressOf(frame)); break;
    case command::kWriteMemoryByte: {
        const int address = addressOf(frame);
        memory_.write(address, payload(frame, 5));
        if (memoryObserver_ && address < memory_map::kSize) memoryObserver_(address);
        break;
    }
    case command::kCloseLink:
        search_.stop();
        awaitingAck_ = false;
        linkClosed_ = true;
        break;
    default:  // the probe, and commands this device does not know
        break;
    }
    // Byte 3 tells the editor's probe that a QRN4480 answered.
    const Frame answer = {kFrameStart,       kDeviceId, code, kDeviceId, payload(frame, 2),
                          payload(frame, 3), data,      0,    0,         kFrameEnd};
    out.insert(out.end(), answer.begin(), answer.end());
}

void SimDevice::setNotch(const Frame& frame) {
    const std::uint8_t channel = payload(frame, 2);
    const std::uint8_t row = payload(frame, 3);
    if (!validChannel(channel) || row >= kRowsPerChannel) return;
    const auto r = static_cast<std::size_t>(
        NotchRecordOffset[static_cast<std::size_t>(channel) * kRowsPerChannel + static_cast<std::size_t>(row)]);
    settings_[r] = payload(frame, 7);
    settings_[r + 1] = payload(frame, 4);
    settings_[r + 2] = payload(frame, 5);
    settings_[r + 3] = payload(frame, 6);
}

void SimDevice::searchControl(const Frame& frame) {
    const std::uint8_t selector = payload(frame, 2);
    const std::uint8_t count = payload(frame, 3);
    const std::uint8_t q = payload(frame, 4);
    const std::uint8_t run = payload(frame, 7);
    // Selector 0 carries the Left bytes only as the settings of a search on
    // both channels (the editor also stops every search with it), so it must
    // not overwrite what either channel has stored.
    if (selector == 1 || selector == 2) {
        const int c = selector - 1;
        settings_[offsetFor(NumNotchAutoOffset, c)] = count;
        settings_[offsetFor(QNotchAutoOffset, c)] = q;
        settings_[offsetFor(AttenuationModeOffset, c)] = payload(frame, 5);
        settings_[offsetFor(SensitivityOffset, c)] = payload(frame, 6);
    }
    if (run == 0) {
        search_.stop();
        // A report the editor took for the answer to this frame will never
        // be acknowledged; the next search must not wait for it.
        awaitingAck_ = false;
    } else if (run == 1 && selector <= 2) {
        for (int c = 0; c < kChannels; ++c)
            if (selector == 0 || selector == c + 1) search_.start(c, count, q);
        awaitingAck_ = false;
    }
}

void SimDevice::setReleaseMode(const Frame& frame) {
    const std::uint8_t channel = payload(frame, 2);
    if (!validChannel(channel)) return;
    settings_[offsetFor(ReleaseSpeedOffset, channel)] = payload(frame, 5);
    settings_[offsetFor(SearchModeOffset, channel)] = payload(frame, 6);
}

void SimDevice::appendBlock(std::uint8_t index, std::vector<std::uint8_t>& out) const {
    if (index < kFactoryPresets) {
        const PresetBlock& preset = factoryPreset(index);
        out.insert(out.end(), preset.begin(), preset.end());
    } else if (index < kFactoryPresets + memory_map::kStoredPositions) {
        const int base = memory_map::presetDataAddress(index - kFactoryPresets);
        for (int i = 0; i < kBlockSize; ++i) out.push_back(memory_.read(base + i));
    } else {
        // 0xFF asks for the current settings; so does any index the device
        // has no preset for.
        out.insert(out.end(), settings_.begin(), settings_.end());
    }
}

void SimDevice::notify(Direction dir, std::span<const std::uint8_t> bytes) const {
    if (frameObserver_) frameObserver_(dir, bytes);
}

}  // namespace sim
