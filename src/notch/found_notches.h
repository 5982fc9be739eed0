#pragma once
// The ring-out log: each notch a running search reported, as it stands once
// the report is taken, with the time of day it came, newest first. The
// editor's window, the file it saves and the web remote's pages show the
// same entries in the same words.
#include <deque>
#include <string>

#include "model/preset_image.h"

namespace notch {

struct FoundNotch {
    // 1, 2, ... in the order taken and never reused, not even after a
    // clear: a page that was sent an entry twice shows it once.
    int id = 0;
    int secondsOfDay = 0;  // local time the report was taken
    int channel = 0;
    int row = 0;  // 0..11
    double hz = 0;
    int gainDb = 0;
};

// "21:04:13 Left 3 2.88 kHz −13 dB": three significant figures, read at a
// glance on a stage, and a true minus sign.
std::string FoundNotchText(const FoundNotch& found);

// For a spreadsheet: a heading, then one line per entry in the order they
// were found, with the exact frequency ("21:04:13,Left,3,2882,-13").
std::string FoundNotchesCsv(const std::deque<FoundNotch>& newestFirst);

class FoundNotches {
public:
    // A long show's search keeps reporting; the oldest entries go first.
    static constexpr std::size_t kMaxEntries = 10000;

    // Notch n of `image`, into which its report has just been stored.
    void add(const model::PresetImage& image, int n, int secondsOfDay);
    void clear() { entries_.clear(); }
    const std::deque<FoundNotch>& newestFirst() const { return entries_; }

private:
    std::deque<FoundNotch> entries_;
    int nextId_ = 1;
};

}  // namespace notch
