#pragma once
// Where the numbered markers over a graph go. Each stands over its notch's
// frequency while there is room; one that would cover the marker before it
// goes to the next lane down at its own frequency, and only when every
// lane is taken there is it pushed aside. No marker leaves the strip.
#include <vector>

namespace editor {

struct MarkerSpan {
    int lo = 0;  // the first pixel a marker may take
    int hi = 0;  // one past the last
    int width = 0;
    int gap = 0;  // free pixels between two markers of one lane
    int lanes = 1;
};

struct MarkerSlot {
    int left = 0;
    int lane = 0;
};

// One slot per centre, in their order; the centres ascend.
std::vector<MarkerSlot> LayOutMarkers(const std::vector<int>& centres, const MarkerSpan& span);

}  // namespace editor
