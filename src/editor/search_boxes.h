#pragma once
// The link box and the three search boxes at the left of the editor's top
// row, all unchecked.
#include <QList>

#include "editor/editor_controls.h"

namespace editor {

// Adds the boxes to controls.topRow and appends them, left to right, to the
// tab order.
void BuildSearchAndLinkBoxes(EditorControls& controls, QList<QWidget*>& tabOrder);

}  // namespace editor
