#include "devlink/memory_dump.h"

#include <algorithm>

#include "devlink/commands.h"
#include "devlink/memory_map.h"
#include "devlink/preset_block.h"

namespace devlink {
namespace {

constexpr int kReplyDataByte = 6;

class DumpProgress {
public:
    explicit DumpProgress(const DumpHooks& hooks) : hooks_(hooks) {}
    void setTotal(int total) {
        total_ = total;
        report();
    }
    void step() {
        ++done_;
        report();
    }

private:
    void report() const {
        if (hooks_.progress) hooks_.progress(done_, total_);
    }
    const DumpHooks& hooks_;
    int done_ = 0;
    int total_ = DumpFrameCount(model::kUserPositions);
};

std::uint8_t ReadByte(DeviceLink& link, int address, DumpProgress& progress) {
    link.sendCommand(ReadMemoryBytePayload(address));
    progress.step();
    return link.replyBuffer()[kReplyDataByte];
}

std::u32string ReadName(DeviceLink& link, int address, DumpProgress& progress) {
    std::u32string name;
    for (int j = 0; j < model::kNameLength; ++j) name.push_back(ReadByte(link, address + j, progress));
    return name;
}

}  // namespace

int DumpFrameCount(int usedUserPositions) {
    return model::kUserPositions + model::kNameLength * usedUserPositions + model::kNameLength + 1 + 3;
}

bool DumpDeviceMemory(DeviceLink& link, model::PresetImage& image, model::PresetLibrary& library,
                      const DumpHooks& hooks) {
    if (hooks.status) hooks.status(kDumpStatus);
    DumpProgress progress(hooks);
    progress.setTotal(DumpFrameCount(model::kUserPositions));

    for (int i = 0; i < model::kFixedPositions; ++i) library.used[i] = true;
    for (int k = 0; k < model::kUserPositions; ++k)
        library.used[model::kFixedPositions + k] = ReadByte(link, DeviceMemoryMap::marker(k), progress) == StoreMarker;
    const int usedCount =
        static_cast<int>(std::count(library.used.begin() + model::kFixedPositions, library.used.end(), true));
    progress.setTotal(DumpFrameCount(usedCount));

    for (int i = 0; i < model::kFixedPositions; ++i)
        library.names[i] = std::u32string(model::DemoPresetName[i].begin(), model::DemoPresetName[i].end());
    for (int k = 0; k < model::kUserPositions; ++k) {
        const int index = model::kFixedPositions + k;
        library.names[index] = library.used[index] ? ReadName(link, DeviceMemoryMap::name(k), progress)
                                                   : std::u32string(model::kEmptyPresetName);
    }
    library.programName = ReadName(link, DeviceMemoryMap::kProgramName, progress);

    ReadPresetBlockInto(link, kCurrentSettingsBlock, image);
    progress.step();
    if (link.ended()) return false;

    if (hooks.fillEditor) hooks.fillEditor();

    const struct {
        std::uint8_t selector;
        int channel;
    } closing[] = {{kSearchBoth, 0}, {kSearchLeft, 0}, {kSearchRight, 1}};
    for (const auto& frame : closing) {
        link.sendCommand(SearchControlPayload(frame.selector, SearchSettingsBytes(image, frame.channel), false));
        progress.step();
    }
    return !link.ended();
}

}  // namespace devlink
