#pragma once
// Hands each record to every trace attached (the --trace file and the
// device log window at once). Attach it to the link only while it is not
// empty, so a link nobody watches still pays a pointer test and nothing more.
#include <algorithm>
#include <vector>

#include "devlink/link_trace.h"

namespace devlink {

class TraceFanOut final : public LinkTrace {
public:
    void add(LinkTrace* trace) {
        if (trace && trace != this && std::find(traces_.begin(), traces_.end(), trace) == traces_.end())
            traces_.push_back(trace);
    }
    void remove(LinkTrace* trace) { std::erase(traces_, trace); }
    bool empty() const { return traces_.empty(); }

    void record(std::int64_t atMs, TraceEvent event, std::span<const std::uint8_t> bytes,
                std::string_view note) override {
        for (LinkTrace* trace : traces_) trace->record(atMs, event, bytes, note);
    }

private:
    std::vector<LinkTrace*> traces_;
};

}  // namespace devlink
