#pragma once
// The device log's memory: the last kMaxLines lines, kept from the start of
// the run whether the log is open or not. A ring: once full, each new line
// takes the oldest one's place, so a long search costs no more memory than
// a short one and a line costs no more than its own text.
#include <cstddef>
#include <string>
#include <vector>

namespace app {

class TraceHistory {
public:
    static constexpr std::size_t kMaxLines = 10'000;

    void add(std::string line);
    void clear();
    std::size_t size() const { return lines_.size(); }
    // Oldest first: 0 is the oldest line kept.
    const std::string& line(std::size_t i) const { return lines_[(oldest_ + i) % lines_.size()]; }
    // Every line kept, each ended by a line feed.
    std::string text() const;

private:
    std::vector<std::string> lines_;
    std::size_t oldest_ = 0;
};

}  // namespace app
