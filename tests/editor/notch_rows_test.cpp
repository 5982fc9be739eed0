#include <gtest/gtest.h>

#include <QPushButton>

#include "editor_rig.h"

using namespace editor_test;

namespace {

// Defaults with one automatic notch per channel, so rows 1..11 are manual.
model::PresetImage ManualRows(int automatic = 1) {
    auto image = DefaultPreset();
    image[76] = image[156] = static_cast<std::uint8_t>(automatic);
    return image;
}

Bytes SetNotch(int channel, int row, int freqCode, int width, int gain) {
    return Frame({0x07, static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(row),
                  static_cast<std::uint8_t>(freqCode >> 8), static_cast<std::uint8_t>(freqCode & 0xFF),
                  static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(gain)});
}

const QString kIncorrectValue = "  Incorrect value";
const QString kIncorrectFrequency = "  Incorrect frequency value";

}  // namespace

TEST(NotchRows, TypedFrequencyIsClampedSnappedShownStoredAndSent) {
    struct Case {
        int n;
        const char* typed;
        const char* shown;
        int code;
    };
    const Case cases[] = {
        {3, "25000", "20000", 729},    {3, "5", "20", 0}, {3, "1000", "1003", 413}, {12 + 5, "19950", "19900", 728},
        {12 + 1, "248", "247.9", 266},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        rig.load(ManualRows());
        const auto& row = rig.row(c.n);
        EditorRig::type(row.freqBox, c.typed);
        EXPECT_TRUE(rig.frames().empty()) << "digits alone send nothing";
        EditorRig::enter(row.freqBox);
        const int channel = c.n / 12, k = c.n % 12;
        EXPECT_EQ(rig.frames(), Frames{SetNotch(channel, k, c.code, 2, 45)}) << c.typed;
        EXPECT_EQ(row.freqBox->text(), c.shown);
        EXPECT_EQ(row.freqBar->value(), c.code);
        const auto codes = model::ReadNotchRecord(rig.image, c.n);
        EXPECT_EQ(codes.freq, c.code);
        EXPECT_EQ(model::NotchRecordOffset[c.n], 28 + 4 * k + 80 * channel);
        EXPECT_EQ(rig.eq->notchArrays().freqHz[c.n], model::FreqTable[c.code]);
        EXPECT_EQ(row.freqBox->toolTip(), QString(c.shown) + " Hz");
        EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    }
}

TEST(NotchRows, TypedGainIsClampedSnappedAndSent) {
    struct Case {
        const char* typed;
        const char* shown;
        int code;
    };
    const Case cases[] = {{"-50", "-45", 0}, {"3", "0", 45}, {"-7", "-7", 38}, {"0", "0", 45}, {"-0", "0", 45}};
    for (const auto& c : cases) {
        EditorRig rig;
        auto preset = ManualRows();
        preset[28 + 4 * 5] = 20;  // Left row 5 at -25 dB
        rig.load(preset);
        const auto& row = rig.row(5);
        EditorRig::type(row.gainBox, c.typed);
        EditorRig::enter(row.gainBox);
        EXPECT_EQ(row.gainBox->text(), c.shown) << c.typed;
        EXPECT_EQ(row.gainBar->value(), c.code);
        EXPECT_EQ(rig.frames(), Frames{SetNotch(0, 5, 266, 2, c.code)}) << c.typed;
        EXPECT_EQ(rig.image[28 + 4 * 5], c.code);
    }
}

TEST(NotchRows, RefusedKeysWarnAndLeaveAQuestionMarkEnterOnItWarnsAgain) {
    struct Case {
        bool gainBox;
        const char* typed;
        const char* after;
        const QString* warning;
    };
    const Case cases[] = {
        {true, "x", "?", &kIncorrectValue},          {false, "x", "?", &kIncorrectFrequency},
        {true, "-44.5", "-44?5", &kIncorrectValue},  // no decimal point can be typed
        {false, "-1", "?1", &kIncorrectFrequency},   // nor a sign into a frequency
        {false, "1.5", "1?5", &kIncorrectFrequency},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        rig.load(ManualRows());
        QLineEdit* box = c.gainBox ? rig.row(7).gainBox : rig.row(7).freqBox;
        EditorRig::type(box, c.typed);
        EXPECT_EQ(box->text(), c.after) << c.typed;
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u) << c.typed;
        const ui::Message& m = rig.sim.dialogs.shown[0];
        EXPECT_EQ(m.text, *c.warning);
        EXPECT_EQ(m.title, "Warning");
        EXPECT_EQ(m.buttons, ui::Buttons::Ok);
        EditorRig::enter(box);
        EXPECT_EQ(box->text(), QString(c.after) + "?");
        EXPECT_EQ(rig.sim.dialogs.shown.size(), 2u);
        EXPECT_TRUE(rig.frames().empty()) << c.typed;
    }
}

// Characters typed with AltGr (Ctrl+Alt on Windows) or Option (Alt on a
// Mac) reach the box like any other, so they are refused like any other.
TEST(NotchRows, CharactersTypedWithAltGrOrOptionAreRefusedToo) {
    enum Box { Gain, Freq, Sensitivity };
    struct Case {
        Box box;
        Qt::Key key;
        const char* text;
        Qt::KeyboardModifiers modifiers;
        const QString* warning;
    };
    const Qt::KeyboardModifiers altGr = Qt::ControlModifier | Qt::AltModifier;
    const Case cases[] = {
        {Gain, Qt::Key_Q, "@", altGr, &kIncorrectValue},
        {Freq, Qt::Key_E, "\u20ac", altGr, &kIncorrectFrequency},
        {Freq, Qt::Key_Period, ".", Qt::AltModifier, &kIncorrectFrequency},
        {Sensitivity, Qt::Key_Equal, "\u2260", Qt::AltModifier, &kIncorrectValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EditorRig rig;
        rig.load(ManualRows());
        QLineEdit* boxes[] = {rig.row(7).gainBox, rig.row(7).freqBox, rig.settings(0).sensitivityBox};
        QLineEdit* box = boxes[c.box];
        EditorRig::type(box, "12");
        QTest::sendKeyEvent(QTest::Click, box, c.key, QString::fromUtf8(c.text), c.modifiers);
        EXPECT_EQ(box->text(), "12?");
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
        EXPECT_EQ(rig.sim.dialogs.shown[0].text, *c.warning);
        EXPECT_TRUE(rig.frames().empty());
    }
}

TEST(NotchRows, EnterOnABoxHoldingNoNumberWarnsAndSendsNothing) {
    struct Case {
        bool gainBox;
        const char* text;
    };
    for (const auto& c : {Case{true, ""}, Case{true, "-"}, Case{false, ""}}) {
        EditorRig rig;
        rig.load(ManualRows());
        QLineEdit* box = c.gainBox ? rig.row(2).gainBox : rig.row(2).freqBox;
        EditorRig::type(box, c.text);
        EditorRig::enter(box);
        EXPECT_EQ(box->text(), QString(c.text) + "?");
        EXPECT_EQ(rig.sim.dialogs.shown.size(), 1u);
        EXPECT_TRUE(rig.frames().empty());
    }
}

TEST(NotchRows, KeysThatTypeNothingPassAndKeypadEnterCommits) {
    EditorRig rig;
    rig.load(ManualRows());
    QLineEdit* box = rig.row(4).freqBox;
    EditorRig::type(box, "1200");
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Delete, Qt::Key_Right})
        QTest::keyClick(box, key);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);  // "200"
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(box->text(), "199.2");
    EXPECT_EQ(rig.frames().size(), 1u);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "199.");
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
}

TEST(NotchRows, EachBarWritesItsBoxAndSendsTheRow) {
    struct Case {
        int which;
        int value;
        const char* box;
        Bytes frame;
    };
    const Case cases[] = {
        {0, 12, "-33", SetNotch(0, 9, 266, 2, 12)},                                                // gain
        {1, 413, "1003", SetNotch(0, 9, 413, 2, 45)},                                              // frequency
        {1, 1, "20.05", SetNotch(0, 9, 1, 2, 45)},    {2, 0, "1/70", SetNotch(0, 9, 266, 0, 45)},  // width
        {2, 3, "1/5", SetNotch(0, 9, 266, 3, 45)},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        rig.load(ManualRows());
        const auto& row = rig.row(9);
        QScrollBar* bars[] = {row.gainBar, row.freqBar, row.widthBar};
        QLineEdit* boxes[] = {row.gainBox, row.freqBox, row.widthText};
        bars[c.which]->setValue(c.value);
        EXPECT_EQ(boxes[c.which]->text(), c.box);
        EXPECT_EQ(rig.frames(), Frames{c.frame}) << c.box;
    }
}

TEST(NotchRows, DraggingTheWidthThumbActsAsTheSettledChange) {
    EditorRig rig;
    rig.load(ManualRows());
    QScrollBar* bar = rig.row(6).widthBar;
    bar->setSliderDown(true);
    bar->setSliderPosition(1);
    bar->setSliderPosition(0);
    bar->setSliderDown(false);
    EXPECT_EQ(rig.row(6).widthText->text(), "1/70");
    EXPECT_EQ(rig.frames(), (Frames{SetNotch(0, 6, 266, 1, 45), SetNotch(0, 6, 266, 0, 45)}));
}

TEST(NotchRows, FrequencyTypedWithoutEnterIsSentByTheNextGainMove) {
    EditorRig rig;
    rig.load(ManualRows());
    const auto& row = rig.row(8);
    EditorRig::type(row.freqBox, "1000");
    row.gainBar->setValue(30);
    EXPECT_EQ(rig.frames(), Frames{SetNotch(0, 8, 413, 2, 30)});
    EXPECT_EQ(row.freqBox->text(), "1003");
    EXPECT_EQ(row.freqBar->value(), 266) << "the frequency bar keeps its old position";
}

TEST(NotchRows, ABoxHoldingNoNumberStandsForTheFrequencyLastSent) {
    struct Case {
        const char* text;
        bool viaReset;
    };
    for (const auto& c : {Case{"", false}, Case{"x", false}, Case{"", true}, Case{"x", true}}) {
        EditorRig rig;
        rig.load(ManualRows());
        const auto& row = rig.row(3);
        EditorRig::type(row.freqBox, "1000");
        EditorRig::enter(row.freqBox);
        row.gainBar->setValue(10);
        rig.frames();
        EditorRig::type(row.freqBox, c.text);  // "x" becomes "?"
        if (c.viaReset) {
            rig.sim.dialogs.answers.push_back(ui::Answer::Yes);
            rig.eq->controls().resetButtons[2]->click();
        } else {
            row.widthBar->setValue(3);
        }
        const Frames frames = rig.frames();
        const Bytes expected = SetNotch(0, 3, 413, c.viaReset ? 2 : 3, c.viaReset ? 45 : 10);
        EXPECT_NE(std::find(frames.begin(), frames.end(), expected), frames.end()) << c.text << "\n" << Dump(frames);
        EXPECT_EQ(row.freqBox->text(), "1003");
        EXPECT_EQ(model::ReadNotchRecord(rig.image, 3).freq, 413);
    }
}

TEST(NotchRows, LinkedEditGoesToTheNotchThenItsPartnerWhoseHandlerStaysQuiet) {
    struct Case {
        const char* what;
        std::function<void(EditorRig&)> edit;
        Frames frames;
    };
    const Case cases[] = {
        {"gain bar",
         [](EditorRig& r) { r.row(3).gainBar->setValue(20); },
         {SetNotch(0, 3, 266, 2, 20), SetNotch(1, 3, 266, 2, 20)}},
        {"frequency bar",
         [](EditorRig& r) { r.row(3).freqBar->setValue(413); },
         {SetNotch(0, 3, 413, 2, 45), SetNotch(1, 3, 413, 2, 45)}},
        {"width bar",
         [](EditorRig& r) { r.row(15).widthBar->setValue(0); },
         {SetNotch(1, 3, 266, 0, 45), SetNotch(0, 3, 266, 0, 45)}},
        {"gain box",
         [](EditorRig& r) {
             EditorRig::type(r.row(15).gainBox, "-7");
             EditorRig::enter(r.row(15).gainBox);
         },
         {SetNotch(1, 3, 266, 2, 38), SetNotch(0, 3, 266, 2, 38)}},
        {"frequency box",
         [](EditorRig& r) {
             EditorRig::type(r.row(3).freqBox, "1000");
             EditorRig::enter(r.row(3).freqBox);
         },
         {SetNotch(0, 3, 413, 2, 45), SetNotch(1, 3, 413, 2, 45)}},
        // The arrow repeats while the first frame waits for a late reply;
        // the partner gets the newer value once, after this channel's.
        {"gain arrow held against a late reply",
         [](EditorRig& r) { r.holdArrow(r.row(3).gainBar, QAbstractSlider::SliderSingleStepSub); },
         {SetNotch(0, 3, 266, 2, 44), SetNotch(0, 3, 266, 2, 43), SetNotch(1, 3, 266, 2, 43)}},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        rig.load(ManualRows());
        rig.link(true);
        c.edit(rig);
        EXPECT_EQ(Dump(rig.frames()), Dump(c.frames)) << c.what;
        for (int k : {3}) {
            EXPECT_EQ(rig.row(k).gainBar->value(), rig.row(k + 12).gainBar->value()) << c.what;
            EXPECT_EQ(rig.row(k).widthBar->value(), rig.row(k + 12).widthBar->value()) << c.what;
            EXPECT_EQ(rig.row(k).gainBox->text(), rig.row(k + 12).gainBox->text()) << c.what;
            EXPECT_EQ(rig.row(k).freqBox->text(), rig.row(k + 12).freqBox->text()) << c.what;
            EXPECT_EQ(rig.row(k).widthText->text(), rig.row(k + 12).widthText->text()) << c.what;
        }
        EXPECT_FALSE(rig.eq->flags().updatingControls);
    }
}

TEST(NotchRows, ResetSetsTheGainsOfTheChosenRowsAfterTheQuestion) {
    struct Case {
        int button;
        int automatic;
        bool linked;
        ui::Answer answer;
        std::vector<int> reset;
    };
    using ui::Answer;
    const Case cases[] = {
        {2, 4, false, Answer::Yes, {4, 5, 6, 7, 8, 9, 10, 11}},  // Left manual
        {0, 4, false, Answer::Yes, {0, 1, 2, 3}},                // Left automatic
        {3, 4, false, Answer::Yes, {16, 17, 18, 19, 20, 21, 22, 23}},
        {1, 1, false, Answer::Yes, {12}},
        {2, 12, false, Answer::Yes, {}},  // nothing manual to reset
        {2, 4, false, Answer::No, {}},
        {2, 10, true, Answer::Yes, {10, 11, 22, 23}},
        {1, 11, true, Answer::Yes, {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        auto preset = ManualRows(c.automatic);
        for (int n = 0; n < 24; ++n) preset[model::NotchRecordOffset[n]] = 7;
        rig.load(preset);
        rig.link(c.linked);
        rig.sim.dialogs.answers.push_back(c.answer);
        rig.eq->controls().resetButtons[c.button]->click();
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
        const ui::Message& q = rig.sim.dialogs.shown[0];
        EXPECT_EQ(q.title, "Reset Filter");
        EXPECT_EQ(q.buttons, ui::Buttons::YesNo);
        EXPECT_EQ(q.text, c.button < 2 ? "Reset all Notch filter automatic, Are you sure ?"
                                       : "Reset all Notch filter manual, Are you sure ?");
        Frames expected;
        for (int n : c.reset) expected.push_back(SetNotch(n / 12, n % 12, 266, 2, 45));
        EXPECT_EQ(rig.frames(), expected) << c.button << " " << c.automatic;
        for (int n = 0; n < 24; ++n) {
            const bool reset = std::count(c.reset.begin(), c.reset.end(), n) > 0;
            EXPECT_EQ(rig.row(n).gainBar->value(), reset ? 45 : 7) << n;
            EXPECT_EQ(rig.row(n).gainBox->text(), reset ? "0" : "-38") << n;
        }
    }
}

TEST(NotchRows, WhileUpdatingControlsTheRowHandlersDoNothing) {
    EditorRig rig;
    rig.load(ManualRows());
    rig.link(true);
    const auto quiet = rig.eq->quietUpdates();
    rig.row(5).gainBar->setValue(3);
    rig.row(5).freqBar->setValue(3);
    rig.row(5).widthBar->setValue(3);
    QTest::keyClicks(rig.row(5).gainBox, "x");
    QTest::keyClick(rig.row(5).freqBox, Qt::Key_Return);
    EXPECT_TRUE(rig.frames().empty());
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    EXPECT_EQ(rig.row(5).widthText->text(), "1/10");
    EXPECT_EQ(rig.row(17).gainBar->value(), 45);
    EXPECT_TRUE(rig.row(5).gainBox->text().endsWith("x")) << "the key passes unjudged";
}
