#include "app/trace_history.h"

namespace app {

void TraceHistory::add(std::string line) {
    if (lines_.size() < kMaxLines) {
        lines_.push_back(std::move(line));
        return;
    }
    lines_[oldest_] = std::move(line);
    oldest_ = (oldest_ + 1) % kMaxLines;
}

void TraceHistory::clear() {
    lines_.clear();
    oldest_ = 0;
}

std::string TraceHistory::text() const {
    std::string all;
    for (std::size_t i = 0; i < size(); ++i) (all += line(i)) += '\n';
    return all;
}

}  // namespace app
