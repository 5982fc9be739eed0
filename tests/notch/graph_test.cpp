#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "notch/curve_drawing.h"
#include "notch/graph_export.h"
#include "notch/round_half_even.h"

using namespace notch;

namespace {

// Rows of the given colour in one column of the picture.
std::vector<int> RowsOf(const GraphCanvas& c, int x, Rgb colour) {
    std::vector<int> rows;
    for (int y = 0; y < kGraphHeight; ++y)
        if (c.pixel(x, y) == colour) rows.push_back(y);
    return rows;
}

int LowestRowOf(const GraphCanvas& c, Rgb colour) {
    int lowest = -1;
    for (int y = 0; y < kGraphHeight; ++y)
        for (int x = 0; x < kGraphWidth; ++x)
            if (c.pixel(x, y) == colour) lowest = y;
    return lowest;
}

struct Curve {
    NotchArrays arrays;
    ResponseTables tables;
    GraphCanvas canvas;
    void set(int n, double hz, double gain, int width) {
        arrays.freqHz[n] = hz;
        arrays.gainDb[n] = gain;
        arrays.widthCode[n] = width;
        tables.computeNotch(n, arrays);
    }
    void draw(int channel) { DrawChannelCurve(canvas, tables, channel); }
};

}  // namespace

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double x, r;
    };
    const Case cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7, 7}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.x), c.r) << c.x;
}

TEST(GraphMapping, GridLinesSitWhereTheirFrequenciesAndLevelsMap) {
    std::vector<double> hz;
    for (double decade : {10.0, 100.0, 1000.0})
        for (int m = (decade == 10 ? 2 : 1); m <= 9; ++m) hz.push_back(m * decade);
    hz.push_back(10000);
    hz.push_back(20000);
    ASSERT_EQ(hz.size(), kGridColumns.size());
    for (std::size_t k = 0; k < hz.size(); ++k) EXPECT_EQ(RoundHalfEven(GraphX(hz[k])), kGridColumns[k]) << hz[k];
    for (std::size_t k = 0; k < kGridRows.size(); ++k)
        EXPECT_EQ(RoundHalfEven(GraphY(10.0 - 10.0 * k)), kGridRows[k]) << k;
}

TEST(GraphMapping, PointsOfTheAxisEndsAndTheDip) {
    struct Case {
        int i;
        double dB;
        GraphPixel at;
    };
    const Case cases[] = {{0, 0, {0, 32}},        {729, 0, {575, 32}},    {413, -45, {326, 175}}, {0, 10, {0, 0}},
                          {729, -50, {575, 191}}, {413, -90, {326, 318}}, {-3, 0, {0, 32}},       {9999, 0, {575, 32}}};
    for (const auto& c : cases) EXPECT_EQ(GraphPoint(c.i, c.dB), c.at) << c.i << " " << c.dB;
    // Nonsense levels land far outside, never overflow.
    EXPECT_GT(GraphPoint(5, -1e300).y, kGraphHeight);
    EXPECT_LT(GraphPoint(5, 1e300).y, 0);
    EXPECT_EQ(GraphPoint(5, std::numeric_limits<double>::quiet_NaN()).y, 0);
}

TEST(GraphCanvas, BackgroundIsWhiteWithTheGreyGrid) {
    GraphCanvas c;
    for (int x = 0; x < kGraphWidth; ++x)
        for (int y = 0; y < kGraphHeight; ++y) {
            const bool grid = std::count(kGridColumns.begin(), kGridColumns.end(), x) ||
                              std::count(kGridRows.begin(), kGridRows.end(), y);
            ASSERT_EQ(c.pixel(x, y), grid ? kGridGrey : kWhite) << x << "," << y;
        }
    EXPECT_THROW(c.pixel(576, 0), std::out_of_range);
}

TEST(GraphCanvas, LineToStopsShortOfItsEndAndClips) {
    struct Case {
        GraphPixel from, to;
        std::vector<GraphPixel> drawn;
    };
    const Case cases[] = {
        {{10, 10}, {13, 10}, {{10, 10}, {11, 10}, {12, 10}}},
        {{10, 10}, {10, 7}, {{10, 8}, {10, 9}, {10, 10}}},  // listed top to bottom
        {{10, 10}, {12, 12}, {{10, 10}, {11, 11}}},
        {{10, 10}, {10, 10}, {}},
        {{-10, 5}, {1, 5}, {{0, 5}}},  // only the visible part
    };
    for (const auto& c : cases) {
        GraphCanvas canvas;
        canvas.setPen(kRightBlue);
        canvas.moveTo(c.from);
        canvas.lineTo(c.to);
        EXPECT_EQ(canvas.position(), c.to);
        std::vector<GraphPixel> drawn;
        for (int y = 0; y < kGraphHeight; ++y)
            for (int x = 0; x < kGraphWidth; ++x)
                if (canvas.pixel(x, y) == kRightBlue) drawn.push_back({x, y});
        EXPECT_EQ(drawn, c.drawn) << c.from.x << "," << c.from.y;
    }
    GraphCanvas far;  // a line far outside costs nothing visible
    far.moveTo({-500, 2000});
    far.lineTo({900, 2500});
    EXPECT_EQ(LowestRowOf(far, kLeftRed), -1);
}

TEST(CurveDrawing, AllNotchesAtZeroDecibelsDrawTheFlatLineAtRow32) {
    Curve curve;
    for (int n = 0; n < 12; ++n) curve.set(n, 247.9, 0, 2);
    curve.draw(0);
    for (int x = 0; x < kGraphWidth; ++x) EXPECT_EQ(RowsOf(curve.canvas, x, kLeftRed), std::vector<int>{32}) << x;
}

TEST(CurveDrawing, DeepNotchDipsToRow175AtColumn326AndNoLower) {
    Curve curve;
    curve.set(14, 1003, -45, 0);
    curve.draw(1);
    EXPECT_EQ(curve.canvas.pixel(326, 175), kRightBlue);
    EXPECT_EQ(LowestRowOf(curve.canvas, kRightBlue), 175);
    EXPECT_EQ(LowestRowOf(curve.canvas, kLeftRed), -1) << "the Right curve is blue";
    // Far from the dip the line is flat again.
    EXPECT_EQ(RowsOf(curve.canvas, 200, kRightBlue), std::vector<int>{32});
    EXPECT_EQ(RowsOf(curve.canvas, 450, kRightBlue), std::vector<int>{32});
}

TEST(CurveDrawing, WiderNotchLeavesRow32OverMoreColumns) {
    auto columnsOffTheLine = [](int width) {
        Curve curve;
        curve.set(0, 1003, -45, width);
        curve.draw(0);
        int off = 0;
        for (int x = 0; x < kGraphWidth; ++x) off += RowsOf(curve.canvas, x, kLeftRed) != std::vector<int>{32};
        return off;
    };
    EXPECT_GT(columnsOffTheLine(3), 3 * columnsOffTheLine(0));
}

TEST(CurveDrawing, TwoDeepNotchesOnOneFrequencyLeaveThePictureAtTheBottom) {
    Curve curve;
    curve.set(0, 1003, -45, 1);
    curve.set(1, 1003, -45, 1);
    curve.draw(0);
    EXPECT_EQ(LowestRowOf(curve.canvas, kLeftRed), 191);
    EXPECT_TRUE(RowsOf(curve.canvas, 326, kLeftRed).empty()) << "-90 dB lies below the picture";
}

TEST(CurveDrawing, RedrawingClearsTheOldCurve) {
    Curve curve;
    curve.set(0, 1003, -45, 0);
    curve.draw(0);
    curve.set(0, 1003, 0, 0);
    curve.draw(0);
    EXPECT_EQ(LowestRowOf(curve.canvas, kLeftRed), 32);
}

TEST(GraphMapping, PointerPositionsMapBackToFrequencyAndLevel) {
    struct Case {
        double hz, dB;
    };
    for (const Case c : {Case{20, 10}, Case{1003, -12}, Case{20000, -50}}) {
        EXPECT_NEAR(notch::FreqAtX(notch::GraphX(c.hz)), c.hz, 1e-9 * c.hz);
        EXPECT_NEAR(notch::LevelAtY(notch::GraphY(c.dB)), c.dB, 1e-9);
    }
}

// One heading and one line per graph point; Left row 12 at 1003 Hz, -12 dB.
TEST(GraphExport, ResponsesCsvHasOneLinePerGraphPoint) {
    notch::NotchArrays arrays;
    arrays.freqHz.fill(1003);
    arrays.widthCode.fill(2);
    arrays.gainDb[11] = -12;
    notch::ResponseTables tables;
    for (int n = 0; n < model::kNotches; ++n) tables.computeNotch(n, arrays);
    const std::string csv = notch::ResponsesCsv(tables);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = csv.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(csv.substr(start, end - start));
    ASSERT_EQ(lines.size(), 1u + model::kFreqCodes);
    EXPECT_EQ(lines[0], "Frequency (Hz),Left (dB),Right (dB)");
    EXPECT_EQ(lines[1], "20,0.00,0.00");
    const auto at1003 = std::find(model::FreqTable.begin(), model::FreqTable.end(), 1003.0) - model::FreqTable.begin();
    EXPECT_EQ(lines[static_cast<std::size_t>(at1003) + 1], "1003,-12.00,0.00");
    EXPECT_EQ(lines.back(), "20000,0.00,0.00");
}
