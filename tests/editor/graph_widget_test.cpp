#include <gtest/gtest.h>

#include <QImage>

#include "editor/response_graph.h"
#include "editor_rig.h"

using namespace editor_test;

namespace {

const notch::GraphCanvas& Canvas(const EditorRig& rig, int c) { return rig.eq->controls().graphs[c]->canvas(); }

std::vector<notch::Rgb> Pixels(const notch::GraphCanvas& canvas) {
    return {canvas.data(), canvas.data() + notch::kGraphWidth * notch::kGraphHeight};
}

int LowestRowOf(const notch::GraphCanvas& canvas, notch::Rgb colour) {
    int lowest = -1;
    for (int y = 0; y < notch::kGraphHeight; ++y)
        for (int x = 0; x < notch::kGraphWidth; ++x)
            if (canvas.pixel(x, y) == colour) lowest = y;
    return lowest;
}

bool FlatAtRow32(const notch::GraphCanvas& canvas, notch::Rgb colour) {
    for (int x = 0; x < notch::kGraphWidth; ++x)
        for (int y = 0; y < notch::kGraphHeight; ++y)
            if ((canvas.pixel(x, y) == colour) != (y == 32)) return false;
    return true;
}

// Left row 11 (manual in the defaults) to 1003 Hz, -45 dB, the given width.
void DeepNotch(EditorRig& rig, int n, int width) {
    EditorRig::type(rig.row(n).freqBox, "1000");
    EditorRig::enter(rig.row(n).freqBox);
    rig.row(n).widthBar->setValue(width);
    rig.row(n).gainBar->setValue(0);
}

}  // namespace

TEST(ResponseGraphWidget, DefaultsDrawTheFlatZeroDecibelLineOnBothPictures) {
    EditorRig rig;
    rig.loadDefaults();
    EXPECT_TRUE(FlatAtRow32(Canvas(rig, 0), notch::kLeftRed));
    EXPECT_TRUE(FlatAtRow32(Canvas(rig, 1), notch::kRightBlue));
}

TEST(ResponseGraphWidget, LeftEditDipsTheLeftCurveAndLeavesTheRightPictureAlone) {
    EditorRig rig;
    rig.loadDefaults();
    const auto right = Pixels(Canvas(rig, 1));
    DeepNotch(rig, 11, 0);
    EXPECT_EQ(Canvas(rig, 0).pixel(326, 175), notch::kLeftRed);
    EXPECT_EQ(LowestRowOf(Canvas(rig, 0), notch::kLeftRed), 175);
    EXPECT_EQ(Pixels(Canvas(rig, 1)), right);
}

TEST(ResponseGraphWidget, TwoDeepNotchesOnOneFrequencyAreClippedAtTheBottom) {
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[156] = 1;  // Right rows 1..11 manual
    rig.load(preset);
    DeepNotch(rig, 13, 1);
    DeepNotch(rig, 14, 1);
    EXPECT_EQ(LowestRowOf(Canvas(rig, 1), notch::kRightBlue), 191);
    EXPECT_NE(Canvas(rig, 1).pixel(326, 175), notch::kRightBlue);
}

TEST(ResponseGraphWidget, AutomaticWidthShowsOnlyWhenTheNotchIsNextRecomputed) {
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[28 + 4 * 2] = 0;  // Left row 2 (automatic): -45 dB at 1003 Hz, 1/10
    preset[28 + 4 * 2 + 1] = 0x01, preset[28 + 4 * 2 + 2] = 0x9D;
    rig.load(preset);
    const auto narrow = Pixels(Canvas(rig, 0));
    rig.spin(notch::AutoSetting::QNotchAuto, 0)->setValue(3);
    EXPECT_EQ(Pixels(Canvas(rig, 0)), narrow);
    rig.eq->computeNotchResponse(2);
    EXPECT_NE(Pixels(Canvas(rig, 0)), narrow);
}

TEST(ResponseGraphWidget, ThePaintedWidgetShowsTheCurveAndKeepsItAcrossRepaints) {
    EditorRig rig;
    rig.loadDefaults();
    DeepNotch(rig, 11, 0);
    editor::ResponseGraph* graph = rig.eq->controls().graphs[0];
    const QPoint origin = graph->pictureOrigin();
    for (int paint = 0; paint < 2; ++paint) {
        const QImage shot = graph->grab().toImage();
        ASSERT_GE(shot.width(), notch::kGraphWidth);
        EXPECT_EQ(shot.pixel(origin + QPoint(326, 175)), qRgb(255, 0, 0)) << paint;
        EXPECT_EQ(shot.pixel(origin + QPoint(100, 32)), qRgb(255, 0, 0));
        EXPECT_EQ(shot.pixel(origin + QPoint(100, 20)), qRgb(255, 255, 255));
        EXPECT_EQ(shot.pixel(origin + QPoint(134, 20)), qRgb(178, 178, 178));
        graph->update();
    }
    const auto before = Pixels(Canvas(rig, 0));
    rig.eq->redrawGraph();
    EXPECT_EQ(Pixels(Canvas(rig, 0)), before) << "redrawing without a change draws the same";
}
