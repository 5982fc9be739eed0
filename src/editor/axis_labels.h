#pragma once
// Where a graph's axis labels go along their axis: each centred on its grid
// line, moved in to stay whole within the axis, and left out when it would
// touch a label kept before it. The first and the last label are always
// kept: they say where the axis starts and ends.
#include <optional>
#include <vector>

namespace editor {

struct AxisLabel {
    int centre = 0;
    int size = 0;  // along the axis
};

// The start of each label along the axis, nothing for one left out; the
// axis runs from lo to one short of hi.
std::vector<std::optional<int>> PlaceAxisLabels(const std::vector<AxisLabel>& labels, int lo, int hi, int gap);

}  // namespace editor
