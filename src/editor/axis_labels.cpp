#include "editor/axis_labels.h"

#include <algorithm>

namespace editor {

std::vector<std::optional<int>> PlaceAxisLabels(const std::vector<AxisLabel>& labels, int lo, int hi, int gap) {
    std::vector<std::optional<int>> starts(labels.size());
    if (labels.empty()) return starts;
    const auto startOf = [lo, hi](const AxisLabel& l) {
        return std::clamp(l.centre - l.size / 2, lo, std::max(lo, hi - l.size));
    };
    const std::size_t last = labels.size() - 1;
    const int lastStart = startOf(labels[last]);
    int end = lo - gap;  // where the last label kept ends
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int start = startOf(labels[i]);
        const bool first = i == 0;
        const bool fits = start >= end + gap && (i == last || start + labels[i].size + gap <= lastStart);
        if (!first && i != last && !fits) continue;
        starts[i] = start;
        end = start + labels[i].size;
    }
    return starts;
}

}  // namespace editor
