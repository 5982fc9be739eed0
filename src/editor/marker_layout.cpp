#include "editor/marker_layout.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace editor {

std::vector<MarkerSlot> LayOutMarkers(const std::vector<int>& centres, const MarkerSpan& span) {
    const int lanes = std::max(1, span.lanes);
    const int lastLeft = std::max(span.lo, span.hi - span.width);
    std::vector<MarkerSlot> placed;
    placed.reserve(centres.size());
    // Where each lane's last marker ends.
    std::vector<int> laneEnd(static_cast<std::size_t>(lanes), INT_MIN / 2);
    for (const int centre : centres) {
        const int wanted = std::clamp(centre - span.width / 2, span.lo, lastLeft);
        MarkerSlot slot{wanted, -1};
        for (int lane = 0; lane < lanes && slot.lane < 0; ++lane)
            if (laneEnd[static_cast<std::size_t>(lane)] + span.gap <= wanted) slot.lane = lane;
        if (slot.lane < 0) {
            // Every lane is taken here: the one that ends first takes it,
            // right after its last marker.
            slot.lane = static_cast<int>(std::min_element(laneEnd.begin(), laneEnd.end()) - laneEnd.begin());
            slot.left = laneEnd[static_cast<std::size_t>(slot.lane)] + span.gap;
        }
        laneEnd[static_cast<std::size_t>(slot.lane)] = slot.left + span.width;
        placed.push_back(slot);
    }
    // Those pushed past the end move back left, each lane from its end,
    // as far as the strip allows.
    std::vector<int> nextLeft(static_cast<std::size_t>(lanes), lastLeft + span.width + span.gap);
    for (std::size_t i = placed.size(); i-- > 0;) {
        MarkerSlot& slot = placed[i];
        int& next = nextLeft[static_cast<std::size_t>(slot.lane)];
        slot.left = std::max(span.lo, std::min(slot.left, next - span.gap - span.width));
        next = slot.left;
    }
    return placed;
}

}  // namespace editor
