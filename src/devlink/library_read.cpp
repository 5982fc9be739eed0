#include "devlink/library_read.h"

#include <algorithm>

#include "devlink/commands.h"
#include "devlink/memory_map.h"

namespace devlink {
namespace {

// Reads one memory byte per frame and tells the steps after each frame.
class ByteReader {
public:
    ByteReader(DeviceLink& link, const LibraryReadSteps& steps) : link_(link), steps_(steps) {}

    std::uint8_t read(int address) {
        // A read that did not complete ended the link or the job: the
        // caller finds out from ended() and trusts nothing read.
        const std::uint8_t byte = ReadMemoryByte(link_, address).value_or(0);
        if (steps_.frameDone && !steps_.frameDone()) stopped_ = true;
        return byte;
    }
    std::u32string readName(int address) {
        std::u32string name;
        for (int j = 0; j < model::kNameLength && !stopped_; ++j) name.push_back(read(address + j));
        return name;
    }
    bool stopped() const { return stopped_; }

private:
    DeviceLink& link_;
    const LibraryReadSteps& steps_;
    bool stopped_ = false;
};

}  // namespace

std::optional<std::uint8_t> ReadMemoryByte(DeviceLink& link, int address) {
    constexpr int kReplyDataByte = 6;
    const std::optional<Reply> reply = link.request(ReadMemoryBytePayload(address));
    if (!reply) return std::nullopt;
    return (*reply)[kReplyDataByte];
}

int LibraryReadFrameCount(int usedUserPositions) {
    return model::kUserPositions + model::kNameLength * usedUserPositions + model::kNameLength;
}

LibraryReadResult ReadDeviceLibrary(DeviceLink& link, model::PresetLibrary& library, const LibraryReadSteps& steps) {
    ByteReader reader(link, steps);
    const auto finish = [&] {
        if (link.ended()) return LibraryReadResult::LostLink;
        return reader.stopped() ? LibraryReadResult::Stopped : LibraryReadResult::Read;
    };
    for (int i = 0; i < model::kFixedPositions; ++i) library.used[i] = true;
    for (int k = 0; k < model::kUserPositions && !reader.stopped(); ++k)
        library.used[model::kFixedPositions + k] = reader.read(DeviceMemoryMap::marker(k)) == StoreMarker;
    if (reader.stopped()) return finish();
    const int usedCount =
        static_cast<int>(std::count(library.used.begin() + model::kFixedPositions, library.used.end(), true));
    if (steps.markersRead) steps.markersRead(usedCount);

    for (int i = 0; i < model::kFixedPositions; ++i)
        library.names[i] = std::u32string(model::DemoPresetName[i].begin(), model::DemoPresetName[i].end());
    for (int k = 0; k < model::kUserPositions && !reader.stopped(); ++k) {
        const int index = model::kFixedPositions + k;
        library.names[index] =
            library.used[index] ? reader.readName(DeviceMemoryMap::name(k)) : std::u32string(model::kEmptyPresetName);
    }
    if (!reader.stopped()) library.programName = reader.readName(DeviceMemoryMap::kProgramName);
    return finish();
}

}  // namespace devlink
