#include "devlink/memory_dump.h"

#include "devlink/commands.h"
#include "devlink/library_read.h"
#include "devlink/preset_block.h"

namespace devlink {
namespace {

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

}  // namespace

int DumpFrameCount(int usedUserPositions) { return LibraryReadFrameCount(usedUserPositions) + 1 + 3; }

Task<bool> DumpDeviceMemory(DeviceLink& link, model::PresetImage& image, model::PresetLibrary& library,
                            DumpHooks hooks) {
    if (hooks.status) hooks.status(kDumpStatus);
    DumpProgress progress(hooks);
    progress.setTotal(DumpFrameCount(model::kUserPositions));

    LibraryReadSteps steps;
    steps.markersRead = [&progress](int used) { progress.setTotal(DumpFrameCount(used)); };
    steps.frameDone = [&progress] {
        progress.step();
        return true;
    };
    co_await ReadDeviceLibrary(link, library, steps);

    co_await ReadPresetBlockInto(link, kCurrentSettingsBlock, image);
    progress.step();
    if (link.ended()) co_return false;

    if (hooks.fillEditor) hooks.fillEditor();

    const struct {
        std::uint8_t selector;
        int channel;
    } closing[] = {{kSearchBoth, 0}, {kSearchLeft, 0}, {kSearchRight, 1}};
    for (const auto& frame : closing) {
        co_await link.command(SearchControlPayload(frame.selector, SearchSettingsBytes(image, frame.channel), false));
        progress.step();
    }
    co_return !link.ended();
}

}  // namespace devlink
