#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "editor/response_graph.h"
#include "editor/row_number.h"
#include "editor_rig.h"

using namespace editor_test;

namespace {

const notch::GraphCanvas& Canvas(const EditorRig& rig, int c) { return rig.eq->controls().graphs[c]->canvas(); }

std::vector<notch::Rgb> Pixels(const notch::GraphCanvas& canvas) {
    return {canvas.data(), canvas.data() + static_cast<std::ptrdiff_t>(notch::kGraphWidth) * notch::kGraphHeight};
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

// WCAG contrast ratio of two colours.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::Base, QColor(0x14, 0x14, 0x14));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, QColor(0xE0, 0xE0, 0xE0));
    p.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    return p;
}

// The Left graph on its own, away from the window's layout, at a size of
// the test's choosing.
std::unique_ptr<editor::ResponseGraph> LoneLeftGraph(const EditorRig& rig, QSize size) {
    auto graph = std::make_unique<editor::ResponseGraph>();
    graph->drawCurve(rig.eq->responses(), rig.eq->notchArrays(), 0);
    graph->resize(size);
    return graph;
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
    const auto lone = LoneLeftGraph(rig, editor::ResponseGraph().sizeHint());
    editor::ResponseGraph* graph = lone.get();
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

// At its natural size on a 1x screen the picture is exactly what the
// drawing surface always showed (rendered before the graph learnt to scale).
TEST(ResponseGraphWidget, NaturalSizePictureIsPixelIdenticalToTheOldOne) {
    EditorRig rig;
    rig.loadDefaults();
    DeepNotch(rig, 11, 0);
    const auto graph = LoneLeftGraph(rig, editor::ResponseGraph().sizeHint());
    const QImage before = QImage(QStringLiteral(QRN_EDITOR_TEST_DATA "/left_graph_before.png"))
                              .copy(0, 6, notch::kGraphWidth, notch::kGraphHeight)
                              .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(before.isNull());
    const QImage now = graph->grab()
                           .toImage()
                           .copy(QRect(graph->pictureOrigin(), QSize(notch::kGraphWidth, notch::kGraphHeight)))
                           .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(now, before);
}

// Grown to twice its size the curve is drawn anew at the new scale: the dip
// sits at twice its place, the field around it stays clear.
TEST(ResponseGraphWidget, GrownGraphDrawsTheCurveAtTheNewScale) {
    EditorRig rig;
    rig.loadDefaults();
    DeepNotch(rig, 11, 0);
    const QSize natural = editor::ResponseGraph().sizeHint();
    const auto graph =
        LoneLeftGraph(rig, QSize(natural.width() + notch::kGraphWidth, natural.height() + notch::kGraphHeight));
    const QImage shot = graph->grab().toImage();
    const QPoint origin = graph->pictureOrigin();
    const auto reddish = [&](int x, int y) {
        const QColor c = shot.pixelColor(origin + QPoint(x, y));
        return c.red() > 200 && c.green() < 120;
    };
    int lowest = -1;
    for (int y = 0; y < 2 * notch::kGraphHeight; ++y)
        for (int x = 2 * 326 - 4; x <= 2 * 326 + 4; ++x)
            if (reddish(x, y)) lowest = y;
    EXPECT_NEAR(lowest, 2 * 175 + 1, 2);
    EXPECT_FALSE(reddish(200, 40));
}

// Hovering tells the frequency and level; the active notch has a numbered
// marker, and clicking it brings the keyboard to its row.
TEST(ResponseGraphWidget, PointerShowsValuesAndMarkersLeadToTheirRow) {
    EditorRig rig;
    rig.loadDefaults();
    DeepNotch(rig, 11, 0);
    rig.eq->show();
    rig.eq->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.eq.get()));
    editor::ResponseGraph* graph = rig.eq->controls().graphs[0];
    ASSERT_EQ(graph->markers().size(), 1u);
    EXPECT_EQ(graph->accessibleDescription(), "notch 12 at 1003 Hz, -45 dB");
    EXPECT_EQ(rig.eq->controls().graphs[1]->accessibleDescription(), "Flat, no notch active");
    const QRect marker = graph->markerRect(11);
    EXPECT_EQ(graph->pointerText(marker.center()), "Left notch 12 at 1003 Hz, -45 dB");
    // The first column of a scaled picture may hold more than one curve point.
    EXPECT_TRUE(graph->pointerText(graph->pictureOrigin() + QPoint(0, 32))
                    .contains(QRegularExpression(QStringLiteral("^Left at 20(\\.\\d+)? Hz: 0\\.0 dB$"))));
    EXPECT_EQ(graph->pointerText(QPoint(graph->width() - 1, graph->height() - 1)), "");
    rig.eq->controls().linkBox->setFocus();
    QTest::mouseClick(graph, Qt::LeftButton, {}, marker.center());
    EXPECT_TRUE(rig.row(11).freqBox->hasFocus());
}

// The row of an active notch shows its number as the marker does; the
// number on a marker reads well on either channel's colour in either theme.
TEST(ResponseGraphWidget, ActiveRowsShowTheirMarkerAndMarkersReadWell) {
    EditorRig rig;
    rig.loadDefaults();
    DeepNotch(rig, 11, 0);
    EXPECT_TRUE(rig.row(11).number->active());
    EXPECT_FALSE(rig.row(10).number->active());
    EXPECT_EQ(rig.row(11).number->text(), "12");
    rig.row(11).gainBar->setValue(model::kMaxGainCode);
    EXPECT_FALSE(rig.row(11).number->active()) << "0 dB is no active notch";
    for (const QPalette& palette : {QPalette(Qt::white), DarkPalette()})
        for (int c = 0; c < 2; ++c) {
            const QColor curve = editor::ColoursFor(palette, c).curve;
            EXPECT_GE(Contrast(editor::MarkerTextColour(curve), curve), 4.5) << curve.name().toStdString();
        }
}

// The readout is the curve's value in the pointer's column, at any height
// of the pointer; markers at both ends of the range stay whole.
TEST(ResponseGraphWidget, ReadoutFollowsTheCurveAndEndMarkersStayInside) {
    EditorRig rig;
    rig.loadDefaults();
    DeepNotch(rig, 11, 0);
    auto graph = LoneLeftGraph(rig, editor::ResponseGraph().sizeHint());
    struct Case {
        QPoint inPicture;
        const char* text;
    };
    const Case cases[] = {
        {{0, 2}, "Left at 20 Hz: 0.0 dB"},       {{0, 180}, "Left at 20 Hz: 0.0 dB"},
        {{326, 2}, "Left at 1003 Hz: -45.0 dB"}, {{326, 100}, "Left at 1003 Hz: -45.0 dB"},
        {{575, 60}, "Left at 20000 Hz: 0.0 dB"},
    };
    for (const Case& c : cases) EXPECT_EQ(graph->pointerText(graph->pictureOrigin() + c.inPicture), c.text);
    for (const char* hz : {"20", "20000"}) {
        EditorRig::type(rig.row(11).freqBox, hz);
        EditorRig::enter(rig.row(11).freqBox);
        graph->drawCurve(rig.eq->responses(), rig.eq->notchArrays(), 0);
        const QRect marker = graph->markerRect(11);
        EXPECT_GE(marker.left(), graph->pictureOrigin().x()) << hz;
        EXPECT_LE(marker.right(), graph->pictureOrigin().x() + notch::kGraphWidth - 1) << hz;
    }
}

TEST(ResponseGraphWidget, ExportsThePictureAndBothResponses) {
    EditorRig rig;
    rig.loadDefaults();
    rig.eq->show();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("graph.png"));
    const QString csv = dir.filePath(QStringLiteral("responses.csv"));
    ASSERT_TRUE(rig.eq->exportGraphPng(png));
    ASSERT_TRUE(rig.eq->exportResponsesCsv(csv));
    const auto& graphs = rig.eq->controls().graphs;
    // Each graph under a line with its channel's name.
    const QImage image(png);
    const int title = image.height() - graphs[0]->height() - graphs[1]->height();
    EXPECT_GT(title, 2 * rig.eq->fontMetrics().height());
    const QColor window = rig.eq->palette().color(QPalette::Window);
    int ink = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < title / 2; ++y) ink += image.pixelColor(x, y) != window;
    EXPECT_GT(ink, 20) << "the first title is written";
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 1 + model::kFreqCodes);
    EXPECT_FALSE(rig.eq->exportResponsesCsv(dir.filePath(QStringLiteral("missing/x.csv"))));
}

// Under a dark desktop theme the graph is dark with readable labels, and
// the rows a search locks keep their text contrast.
TEST(ResponseGraphWidget, DarkPaletteGivesADarkGraphAndReadableLockedRows) {
    EditorRig rig;
    rig.eq->setPalette(DarkPalette());
    rig.loadDefaults();
    rig.eq->setSearchLock(true);
    editor::ResponseGraph* graph = rig.eq->controls().graphs[0];
    graph->resize(graph->sizeHint());
    const QImage shot = graph->grab().toImage();
    const QColor field = shot.pixelColor(graph->pictureOrigin() + QPoint(100, 20));
    EXPECT_LT(field.lightness(), 64);
    const editor::GraphColours colours = editor::ColoursFor(graph->palette(), 0);
    EXPECT_GE(Contrast(colours.labels, colours.window), 4.5);
    for (int c = 0; c < 2; ++c) {
        const editor::GraphColours curve = editor::ColoursFor(graph->palette(), c);
        EXPECT_GE(Contrast(curve.curve, curve.field), 7.0) << c;
        EXPECT_GT(curve.curveWidth, 1.5) << "a light line on a dark field is drawn wider";
    }
    for (const QWidget* w : {static_cast<QWidget*>(rig.row(0).freqBox), static_cast<QWidget*>(rig.row(5).gainBox),
                             static_cast<QWidget*>(rig.row(13).widthText)}) {
        ASSERT_FALSE(w->isEnabled());
        const QPalette& p = w->palette();
        const QColor text = p.color(QPalette::Disabled, w->foregroundRole());
        const QColor back =
            p.color(QPalette::Disabled, qobject_cast<const QLineEdit*>(w) ? QPalette::Base : QPalette::Window);
        EXPECT_GE(Contrast(text, back), 4.5) << w->objectName().toStdString();
    }
}
