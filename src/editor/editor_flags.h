#pragma once
// The editor's run-wide flags, owned by the editor window.
namespace editor {

struct EditorFlags {
    // Set only around a value the program writes into a control, so that
    // the control's own handler neither sends nor mirrors it.
    bool updatingControls = false;
    bool channelsLinked = false;
    bool searchRunning = false;
    bool channelsDiffer = false;
};

// Holds updatingControls set for its lifetime.
class UpdateGuard {
public:
    explicit UpdateGuard(EditorFlags& flags) : flags_(flags), was_(flags.updatingControls) {
        flags_.updatingControls = true;
    }
    ~UpdateGuard() { flags_.updatingControls = was_; }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    EditorFlags& flags_;
    bool was_;
};

}  // namespace editor
