#pragma once
// Builds the editor window's controls: a row along the top for the search
// and link boxes with the preset's source and title, then the frames
// "Channel Left" above "Channel Right", each with its notch table and reset
// buttons on the left and its response graph and automatic settings on the
// right; all inside a scroll area, so that a small screen scrolls rather
// than clips.
#include "editor/editor_controls.h"

namespace editor {

void BuildEditorLayout(QWidget* window, EditorControls& controls);

}  // namespace editor
