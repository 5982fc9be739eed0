#include <gtest/gtest.h>

#include "editor/axis_labels.h"
#include "editor/marker_layout.h"

using editor::AxisLabel;
using editor::LayOutMarkers;
using editor::MarkerSlot;
using editor::PlaceAxisLabels;

namespace {

struct Slot {
    int left;
    int lane;
    bool operator==(const Slot&) const = default;
};

std::vector<Slot> Slots(const std::vector<MarkerSlot>& laid) {
    std::vector<Slot> out;
    out.reserve(laid.size());
    for (const MarkerSlot& s : laid) out.push_back({s.left, s.lane});
    return out;
}

}  // namespace

// Markers 20 px wide over a 576 px picture, one pixel apart, in two lanes:
// over their frequency while there is room, stacked when two would touch,
// pushed aside only when both lanes are taken, and never out of the strip.
TEST(MarkerLayout, StacksThenSpreadsAndStaysInside) {
    struct Case {
        const char* what;
        std::vector<int> centres;
        std::vector<Slot> expected;
    };
    const Case cases[] = {
        {"apart", {100, 300}, {{90, 0}, {290, 0}}},
        {"touching: the second lane, at its own frequency", {100, 105}, {{90, 0}, {95, 1}}},
        {"just clear in one lane", {100, 121}, {{90, 0}, {111, 0}}},
        {"three on one frequency: the third aside", {100, 100, 100}, {{90, 0}, {90, 1}, {111, 0}}},
        {"ends of the range stay whole", {0, 575}, {{0, 0}, {556, 0}}},
        {"crowded at the top end: moved back in",
         {570, 572, 574, 575},
         {{535, 0}, {535, 1}, {556, 0}, {556, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Slots(LayOutMarkers(c.centres, {0, 576, 20, 1, 2})), c.expected) << c.what;
}

TEST(AxisLabels, StayWholeAndApartKeepingBothEnds) {
    struct Case {
        const char* what;
        std::vector<AxisLabel> labels;
        int hi;
        int gap;
        std::vector<std::optional<int>> starts;
    };
    const Case cases[] = {
        {"frequencies at the natural size: all fit",
         {{0, 30}, {134, 40}, {326, 30}, {517, 40}, {575, 40}},
         620,
         4,
         {0, 114, 311, 497, 555}},
        {"half size: 10 kHz would touch 20 kHz and gives way",
         {{0, 30}, {67, 40}, {163, 30}, {258, 40}, {287, 40}},
         330,
         4,
         {0, 47, 148, std::nullopt, 267}},
        // -50 dB ends at the picture's last row, above the frequency labels.
        {"levels beside the picture",
         {{0, 14}, {32, 14}, {64, 14}, {95, 14}, {127, 14}, {159, 14}, {191, 14}},
         192,
         0,
         {0, 25, 57, 88, 120, 152, 178}},
        {"levels on a low picture: those that would touch give way",
         {{0, 14}, {16, 14}, {32, 14}, {47, 14}, {63, 14}, {79, 14}, {95, 14}},
         96,
         0,
         {0, std::nullopt, 25, 40, 56, std::nullopt, 82}},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaceAxisLabels(c.labels, 0, c.hi, c.gap), c.starts) << c.what;
}
