#pragma once
// The link box and the three search boxes at the left of the editor's top
// row, all unchecked.
#include <QList>

#include "editor/editor_controls.h"

namespace editor {

// Adds the boxes to controls.topRow and appends them, left to right, to the
// tab order.
void BuildSearchAndLinkBoxes(EditorControls& controls, QList<QWidget*>& tabOrder);

// Adds the search status and the demo mode notice to controls.topRow, both
// hidden until there is something to say.
void BuildStatusTexts(EditorControls& controls);

// Makes a running search plain to see from across a stage: its button in
// bold and a status text naming the channels; false takes both back.
void ShowSearchRunning(const EditorControls& controls, int k, bool running);

// The demo mode notice in the window itself, not only in the title.
void ShowDemoMode(const EditorControls& controls, bool demo);

}  // namespace editor
