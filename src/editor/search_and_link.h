#pragma once
// The search buttons and the link box. A running search owns the automatic
// settings, the notch rows, the reset buttons and the link box, which stay
// locked until it stops; the reports the device sends meanwhile are shown
// without being sent back. While the link box is checked every edit of one
// channel is repeated on the other, so linking first makes them equal.
#include <cstdint>
#include <functional>
#include <span>

#include "editor/editor_state.h"
#include "editor/notch_row_editor.h"
#include "editor/preset_applier.h"

namespace editor {

class SearchAndLink {
public:
    SearchAndLink(EditorState& state, NotchRowEditor& rows, PresetApplier& presets)
        : s_(state), rows_(rows), presets_(presets) {}

    void connectControls();

    // Disables (true) or enables (false) every control a running search
    // owns: both channels' automatic settings (the sensitivity box
    // excepted) and notch frames, the reset buttons, the link box, then
    // whatever the extension adds. Disabling a notch frame keeps its rows'
    // own enabling, so unlocking brings back exactly the rows that were
    // usable before.
    void setSearchLock(bool lock);
    // Called by setSearchLock after the link box, with the same argument:
    // the main window locks its preset and copy commands there.
    void setSearchLockExtension(std::function<void(bool lock)> extension);
    // Every search box off (false) while the device is away, or back on.
    void setSearchAvailable(bool available);
    // The link box's handler: unlinks when it is unchecked; links, after
    // asking to copy Left onto Right when the halves differ, when checked.
    void linkChannels(const std::function<void()>& done);
    // A report the device sent during a search (its first seven bytes):
    // shows the notch it names in the image, its row and the graph, and
    // sends nothing back. A report that names no real notch or code changes
    // nothing. The link acknowledges every report itself.
    void applySearchReport(std::span<const std::uint8_t, devlink::kReportSize> report);

private:
    void onSearchBoxToggled(int k, bool checked);
    void startSearch(int k);
    void stopSearch(int k);
    void enableOtherSearchBoxes(int k, bool enabled);

    EditorState& s_;
    NotchRowEditor& rows_;
    PresetApplier& presets_;
    std::function<void(bool lock)> lockExtension_;
};

}  // namespace editor
