#include "devlink/library_read.h"

#include <algorithm>

#include "devlink/commands.h"
#include "devlink/memory_map.h"

namespace devlink {
namespace {

// Tells the steps after each frame; false once they asked to stop.
bool FrameDone(const LibraryReadSteps& steps, bool& stopped) {
    if (steps.frameDone && !steps.frameDone()) stopped = true;
    return !stopped;
}

// One name, a memory byte per frame. A read that did not complete ended
// the link or the job: the caller finds out from ended() and trusts nothing
// read.
Task<std::u32string> ReadName(DeviceLink& link, int address, const LibraryReadSteps& steps, bool& stopped) {
    std::u32string name;
    for (int j = 0; j < model::kNameLength && !stopped; ++j) {
        name.push_back((co_await ReadMemoryByte(link, address + j)).value_or(0));
        FrameDone(steps, stopped);
    }
    co_return name;
}

}  // namespace

Task<std::optional<std::uint8_t>> ReadMemoryByte(DeviceLink& link, int address) {
    constexpr int kReplyDataByte = 6;
    const std::optional<Reply> reply = co_await link.request(ReadMemoryBytePayload(address));
    if (!reply) co_return std::nullopt;
    co_return (*reply)[kReplyDataByte];
}

int LibraryReadFrameCount(int usedUserPositions) {
    return model::kUserPositions + model::kNameLength * usedUserPositions + model::kNameLength;
}

Task<LibraryReadResult> ReadDeviceLibrary(DeviceLink& link, model::PresetLibrary& library, LibraryReadSteps steps) {
    bool stopped = false;
    const auto finish = [&] {
        if (link.ended()) return LibraryReadResult::LostLink;
        return stopped ? LibraryReadResult::Stopped : LibraryReadResult::Read;
    };
    for (int i = 0; i < model::kFixedPositions; ++i) library.used[i] = true;
    for (int k = 0; k < model::kUserPositions && !stopped; ++k) {
        const std::uint8_t marker = (co_await ReadMemoryByte(link, DeviceMemoryMap::marker(k))).value_or(0);
        library.used[model::kFixedPositions + k] = marker == StoreMarker;
        FrameDone(steps, stopped);
    }
    if (stopped) co_return finish();
    const int usedCount =
        static_cast<int>(std::count(library.used.begin() + model::kFixedPositions, library.used.end(), true));
    if (steps.markersRead) steps.markersRead(usedCount);
    for (int i = 0; i < model::kFixedPositions; ++i)
        library.names[i] = std::u32string(model::DemoPresetName[i].begin(), model::DemoPresetName[i].end());
    for (int k = 0; k < model::kUserPositions && !stopped; ++k) {
        const int index = model::kFixedPositions + k;
        // Not one conditional expression: g++ 12 frees the string a co_await
        // in one of its arms yields a second time.
        if (library.used[index])
            library.names[index] = co_await ReadName(link, DeviceMemoryMap::name(k), steps, stopped);
        else
            library.names[index] = std::u32string(model::kEmptyPresetName);
    }
    if (!stopped) library.programName = co_await ReadName(link, DeviceMemoryMap::kProgramName, steps, stopped);
    co_return finish();
}

}  // namespace devlink
