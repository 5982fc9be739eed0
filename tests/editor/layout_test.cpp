#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "editor_rig.h"

using namespace editor_test;

namespace {

// Where Tab goes from w: the next widget in the focus chain that takes focus
// by Tab.
const QWidget* NextTabStop(const QWidget* w) {
    for (const QWidget* n = w->nextInFocusChain(); n != w; n = n->nextInFocusChain())
        if (n->focusPolicy() & Qt::TabFocus) return n;
    return w;
}

}  // namespace

TEST(EditorLayout, ControlsAreNamedForScreenReaders) {
    EditorRig rig;
    struct Case {
        const char* object;
        const char* spoken;
    };
    const Case cases[] = {
        {"Text2_3", "Left notch 4 frequency"},
        {"HScroll6_3", "Left notch 4 frequency slider"},
        {"Text1_23", "Right notch 12 gain"},
        {"HScroll20_23", "Right notch 12 gain slider"},
        {"Text3_0", "Left notch 1 width"},
        {"HScroll30_0", "Left notch 1 width slider"},
        {"HScroll1_0", "Left Num notch automatic"},
        {"HScroll2_1", "Right Q notch automatic"},
        {"HScroll3_0", "Left Attenuation notch"},
        {"HScroll4_1", "Right Release notch"},
        {"HScroll5_0", "Left Mode search"},
        {"Slider1_1", "Right Sensitivity"},
        {"Text4_0", "Left Sensitivity value"},
        {"Command1_2", "Left Reset Notch Manual"},
        {"Command1_1", "Right Reset Notch Automatic"},
        {"Picture1_0", "Left response graph"},
        {"Check2", "Link channel Left & Right"},
        {"Check1_0", "Search Feedback L&R"},
        {"Check1_1", "Search Feedback L"},
        {"Check1_2", "Search Feedback R"},
    };
    for (const auto& c : cases) {
        const QWidget* w = rig.named<QWidget>(c.object);
        ASSERT_NE(w, nullptr) << c.object;
        EXPECT_EQ(w->accessibleName(), c.spoken) << c.object;
    }
    for (const QWidget* w : rig.eq->findChildren<QWidget*>())
        if (w->focusPolicy() & Qt::TabFocus && !qobject_cast<const QScrollArea*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
}

// A screen reader speaks a label by its name: the value texts beside the
// spin arrows must speak their value, with their setting as description.
TEST(EditorLayout, ValueTextsSpeakTheirValue) {
    EditorRig rig;
    rig.loadDefaults();
    struct Case {
        const char* object;
        const char* value;
        const char* setting;
    };
    const Case cases[] = {
        {"Label3_0", "11", "Left Num notch automatic"},  {"Label5_1", "1/10", "Right Q notch automatic"},
        {"Label6_0", "Fixed", "Left Attenuation notch"}, {"Label1_1", "Slow", "Right Release notch"},
        {"Label9_0", "Sharp", "Left Mode search"},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(rig.named<QLabel>(c.object));
        ASSERT_NE(spoken, nullptr) << c.object;
        EXPECT_EQ(spoken->text(QAccessible::Name), c.value) << c.object;
        EXPECT_EQ(spoken->text(QAccessible::Description), c.setting) << c.object;
    }
}

TEST(EditorLayout, CaptionsAsTheWindowShowsThem) {
    EditorRig rig;
    EXPECT_EQ(rig.named<QGroupBox>("ChannelFrame_0")->title(), "Channel Left");
    EXPECT_EQ(rig.named<QGroupBox>("ChannelFrame_1")->title(), "Channel Right");
    EXPECT_EQ(rig.named<QPushButton>("Command1_0")->text(), "Reset Notch Automatic");
    EXPECT_EQ(rig.named<QPushButton>("Command1_3")->text(), "Reset Notch Manual");
    // As stored: a doubled ampersand shows as one.
    EXPECT_EQ(rig.named<QAbstractButton>("Check2")->text(), "Link channel Left && Right");
    EXPECT_EQ(rig.named<QPushButton>("Check1_0")->text(), "Search Feedback L&&R");
    EXPECT_EQ(rig.named<QPushButton>("Check1_1")->text(), "Search Feedback L");
    EXPECT_EQ(rig.named<QPushButton>("Check1_2")->text(), "Search Feedback R");
    QStringList labels;
    for (const QLabel* l : rig.named<QWidget>("ChannelFrame_1")->findChildren<QLabel*>()) labels << l->text();
    for (const char* caption : {"Freq", "Gain", "Q", "Num notch automatic", "Q notch automatic", "Attenuation notch",
                                "Release notch", "Mode search", "Sensitivity "})
        EXPECT_TRUE(labels.contains(caption)) << caption;
    EXPECT_EQ(rig.named<QAbstractSlider>("HScroll6_0")->maximum(), 729);
    EXPECT_EQ(rig.named<QAbstractSlider>("HScroll20_0")->maximum(), 45);
    EXPECT_EQ(rig.named<QAbstractSlider>("HScroll30_0")->maximum(), 3);
    EXPECT_EQ(rig.named<QAbstractSlider>("HScroll1_0")->maximum(), 11);
    EXPECT_EQ(rig.named<QAbstractSlider>("Slider1_0")->maximum(), 15);
}

TEST(EditorLayout, TabOrderRunsRowByRowThenButtonsThenSettings) {
    EditorRig rig;
    QStringList expected;
    for (int c = 0; c < 2; ++c) {
        for (int k = 0; k < 12; ++k)
            for (const char* array : {"Text2", "HScroll6", "Text1", "HScroll20", "Text3", "HScroll30"})
                expected << QStringLiteral("%1_%2").arg(array).arg(12 * c + k);
        expected << QStringLiteral("Command1_%1").arg(c) << QStringLiteral("Command1_%1").arg(c + 2);
        for (const char* array : {"HScroll1", "HScroll2", "HScroll3", "HScroll4", "HScroll5", "Slider1", "Text4"})
            expected << QStringLiteral("%1_%2").arg(array).arg(c);
    }
    for (qsizetype i = 1; i < expected.size(); ++i) {
        const QWidget* from = rig.named<QWidget>(expected[i - 1]);
        ASSERT_NE(from, nullptr) << expected[i - 1].toStdString();
        EXPECT_EQ(NextTabStop(from)->objectName(), expected[i]) << expected[i - 1].toStdString();
    }
}

TEST(EditorLayout, ToolTipsShowValuesWithUnits) {
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[28 + 4 * 11] = 33;
    rig.load(preset);
    const auto& row = rig.row(11);
    EXPECT_EQ(row.freqBox->toolTip(), "247.9 Hz");
    const QString hint = "\nDrag with Shift held for single steps; one wheel notch is one step.";
    EXPECT_EQ(row.freqBar->toolTip(), "247.9 Hz" + hint);
    EXPECT_EQ(row.gainBar->toolTip(), "-12 dB" + hint);
    EXPECT_EQ(row.widthBar->toolTip(), "1/10 octave" + hint);
    EXPECT_EQ(row.widthText->toolTip(), "1/10 octave");
    EXPECT_EQ(rig.spin(notch::AutoSetting::QNotchAuto, 0)->toolTip(), "1/10 octave");
    EXPECT_EQ(rig.settings(1).sensitivitySlider->toolTip(), "7");
}

// A maximized main window of 1280 x 800 leaves the editor about 680 pixels
// below its toolbar, the subwindow's title bar and the desktop's panel.
TEST(EditorLayout, EverythingFitsAt1280x680AndScrollsAt800x600) {
    EditorRig rig;
    rig.loadDefaults();
    const auto* area = rig.eq->controls().scrollArea;
    rig.eq->resize(1280, 680);
    rig.eq->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(area->verticalScrollBar()->isVisible());
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
    for (const char* name : {"Check2", "Check1_2", "Label8", "Text2_11", "HScroll30_23", "Picture1_1", "Text4_1",
                             "Command1_1", "Command1_3"}) {
        const QWidget* w = rig.named<QWidget>(name);
        const QRect inWindow(w->mapTo(rig.eq.get(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(rig.eq->rect().contains(inWindow)) << name;
    }
    rig.eq->resize(800, 600);
    QCoreApplication::processEvents();
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
}
