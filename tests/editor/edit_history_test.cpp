#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <functional>
#include <random>

#include "editor/step_names.h"
#include "editor_rig.h"

using namespace editor_test;
using notch::AutoSetting;

namespace {

// The bytes the device keeps of the editor's image: each channel's release
// and mode, its notch records and its automatic settings. A row that was
// automatic takes the channel's Q setting on the device, and keeps its own
// width there once manual again, as no edit sends it: those widths are the
// device's.
using AutomaticRows = std::array<int, 2>;

bool DeviceMatches(const EditorRig& rig, const AutomaticRows& wereAutomatic, std::string* where) {
    const auto& device = rig.sim.device.settings();
    for (int c = 0; c < 2; ++c) {
        for (int i = 20 + 80 * c; i < 80 + 80 * c; ++i) {
            const int at = i % 80;
            const bool devicesWidth = at >= 28 && at < 76 && at % 4 == 3 && (at - 28) / 4 < wereAutomatic[c];
            if ((at >= 22 && at < 28) || devicesWidth || device[i] == rig.image[i]) continue;
            *where = "byte " + std::to_string(i) + ": device " + std::to_string(device[i]) + ", editor " +
                     std::to_string(rig.image[i]);
            return false;
        }
    }
    return true;
}

void NoteAutomaticRows(const EditorRig& rig, AutomaticRows& wereAutomatic) {
    for (int c = 0; c < 2; ++c) wereAutomatic[c] = std::max(wereAutomatic[c], int{rig.image[76 + 80 * c]});
}

std::string Differences(const model::PresetImage& a, const model::PresetImage& b) {
    std::string text;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) text += " " + std::to_string(i) + ":" + std::to_string(a[i]) + "/" + std::to_string(b[i]);
    return text;
}

// The Undo action's text as a menu shows it: "&&" is one "&", a lone "&"
// marks the next letter and is not shown.
std::string UndoText(const EditorRig& rig) {
    const QString text = rig.eq->history().undoAction()->text();
    std::string shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && ++i == text.size()) break;
        shown += text[i].toLatin1();
    }
    return shown;
}

void LoadAsFile(EditorRig& rig, const model::PresetImage& image, const QString& name) {
    rig.eq->beginStep();
    rig.image = image;
    devlink::RunToEnd(rig.eq->applyPresetToEditor());
    rig.eq->endStep(editor::LoadStepText(name));
}

model::PresetImage Varied(std::mt19937& random) {
    model::PresetImage image = DefaultPreset();
    std::uniform_int_distribution<int> any(0, 1 << 16);
    for (int n = 0; n < 24; ++n)
        model::WriteNotchRecord(image, n, {any(random) % 46, any(random) % 730, any(random) % 4});
    for (int c = 0; c < 2; ++c) {
        image[76 + 80 * c] = static_cast<std::uint8_t>(1 + any(random) % 12);
        image[77 + 80 * c] = static_cast<std::uint8_t>(any(random) % 4);
        image[79 + 80 * c] = static_cast<std::uint8_t>(any(random) % 16);
    }
    return image;
}

}  // namespace

TEST(EditHistory, EachKindOfEditIsOneStepNamedForTheMenu) {
    struct Case {
        const char* step;
        std::function<void(EditorRig&)> edit;
        std::deque<ui::Answer> answers;
    };
    const Case cases[] = {
        {"Left notch 4 gain", [](EditorRig& r) { r.row(3).gainBar->setValue(10); }, {}},
        {"Right notch 12 frequency", [](EditorRig& r) { r.row(23).freqBar->setValue(400); }, {}},
        {"Left notch 1 width", [](EditorRig& r) { r.row(0).widthBar->setValue(3); }, {}},
        {"Right notch 10 gain",
         [](EditorRig& r) {
             EditorRig::type(r.row(21).gainBox, "-12");
             EditorRig::enter(r.row(21).gainBox);
         },
         {}},
        {"Left Num notch automatic", [](EditorRig& r) { r.spin(AutoSetting::NumNotchAuto, 0)->setValue(4); }, {}},
        {"Right Q notch automatic", [](EditorRig& r) { r.spin(AutoSetting::QNotchAuto, 1)->setValue(2); }, {}},
        {"Left Sensitivity", [](EditorRig& r) { r.settings(0).sensitivitySlider->setValue(3); }, {}},
        {"Right Sensitivity",
         [](EditorRig& r) {
             EditorRig::type(r.settings(1).sensitivityBox, "9");
             EditorRig::enter(r.settings(1).sensitivityBox);
         },
         {}},
        {"Reset Left manual notches",
         [](EditorRig& r) { r.eq->controls().resetButtons[2]->click(); },
         {ui::Answer::Yes}},
        {"Copy Right to Left", [](EditorRig& r) { devlink::RunToEnd(r.eq->copyRightToLeft()); }, {}},
        {"Link Left & Right", [](EditorRig& r) { r.eq->controls().linkBox->click(); }, {ui::Answer::Yes}},
        {"Load FILE.Fbk",
         [](EditorRig& r) {
             std::mt19937 random(7);
             LoadAsFile(r, Varied(random), "FILE.Fbk");
         },
         {}},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        model::PresetImage start = DefaultPreset();
        start[76] = start[156] = 2;                       // two automatic rows a channel
        model::WriteNotchRecord(start, 4, {20, 300, 0});  // the channels differ; a manual row has gain
        start[77 + 80] = 1;
        rig.load(start);
        rig.eq->history().startOver();
        rig.sim.dialogs.answers = c.answers;
        c.edit(rig);
        EXPECT_EQ(rig.eq->undoStack().count(), 1) << c.step;
        EXPECT_EQ(UndoText(rig), std::string("Undo ") + c.step);
        EXPECT_TRUE(rig.sim.dialogs.answers.empty()) << c.step;
    }
}

TEST(EditHistory, AnEditThatChangesNothingOrTheDevicesSearchTakesNoStep) {
    EditorRig rig;
    rig.loadDefaults();
    rig.eq->history().startOver();
    rig.row(0).gainBar->setValue(rig.row(0).gainBar->value());
    devlink::RunToEnd(rig.eq->copyLeftToRight());  // equal halves
    const std::array<std::uint8_t, 7> report = {0xFE, 0x00, 0x02, 0x10, 0x01, 0x20, 0x01};
    rig.eq->applySearchReport(report);
    EXPECT_EQ(rig.eq->undoStack().count(), 0);
    EXPECT_EQ(UndoText(rig), "Undo");
}

// A press of the mouse on a bar and everything it moves until the release
// is one step; a drag back to where it began is none.
TEST(EditHistory, OneDragIsOneStep) {
    EditorRig rig;
    rig.loadDefaults();
    rig.eq->history().startOver();
    QScrollBar* bar = rig.row(5).gainBar;
    const int start = bar->value();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, bar->height() / 2));
    for (int v : {5, 9, 14}) bar->setValue(v);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, bar->height() / 2));
    bar->setValue(20);
    EXPECT_EQ(rig.eq->undoStack().count(), 2);
    rig.frames();
    rig.eq->undoStack().undo();
    rig.eq->undoStack().undo();
    EXPECT_EQ(bar->value(), start);
    EXPECT_EQ(rig.frames().size(), 2u) << "one frame per undone step";

    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, bar->height() / 2));
    bar->setValue(30);
    bar->setValue(start);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, bar->height() / 2));
    EXPECT_EQ(rig.eq->undoStack().count(), 0);
}

// Random edits through the real controls: the device follows every step
// and every undo, and undoing them all brings back the first settings.
TEST(EditHistory, UndoingRandomEditsRestoresEveryEarlierImageOnEditorAndDevice) {
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        EditorRig rig;
        std::mt19937 random(seed);
        LoadAsFile(rig, Varied(random), "START.Fbk");  // the device holds it too
        rig.eq->history().startOver();
        AutomaticRows wereAutomatic{};
        NoteAutomaticRows(rig, wereAutomatic);
        std::vector<model::PresetImage> images = {rig.image};
        std::uniform_int_distribution<int> pick(0, 9), any(0, 1 << 16);
        for (int i = 0; i < 40; ++i) {
            const int n = any(random) % 24;
            const int c = any(random) % 2;
            rig.sim.dialogs.answers = {ui::Answer::Yes};
            switch (pick(random)) {
            case 0: rig.row(n).gainBar->setValue(any(random) % 46); break;
            case 1: rig.row(n).freqBar->setValue(any(random) % 730); break;
            case 2: rig.row(n).widthBar->setValue(any(random) % 4); break;
            case 3: rig.spin(AutoSetting::NumNotchAuto, c)->setValue(any(random) % 12); break;
            case 4: rig.spin(AutoSetting::QNotchAuto, c)->setValue(any(random) % 4); break;
            case 5: rig.settings(c).sensitivitySlider->setValue(any(random) % 16); break;
            case 6: rig.eq->controls().resetButtons[any(random) % 4]->click(); break;
            case 7: c == 0 ? devlink::RunToEnd(rig.eq->copyLeftToRight()) : devlink::RunToEnd(rig.eq->copyRightToLeft()); break;
            case 8: rig.eq->controls().linkBox->click(); break;
            default: LoadAsFile(rig, Varied(random), "R.Fbk"); break;
            }
            if (rig.eq->undoStack().count() == static_cast<int>(images.size())) images.push_back(rig.image);
            NoteAutomaticRows(rig, wereAutomatic);
            std::string where;
            ASSERT_TRUE(DeviceMatches(rig, wereAutomatic, &where)) << "seed " << seed << " edit " << i << ": " << where;
        }
        ASSERT_EQ(rig.eq->undoStack().count() + 1, static_cast<int>(images.size()));
        for (int k = static_cast<int>(images.size()) - 2; k >= 0; --k) {
            rig.eq->undoStack().undo();
            ASSERT_EQ(rig.image, images[k]) << "seed " << seed << " after undoing to step " << k << " ("
                                            << rig.eq->undoStack().text(k).toStdString() << " undoing "
                                            << rig.eq->undoStack().text(k + 1).toStdString()
                                            << "), bytes now/then:" << Differences(rig.image, images[k]);
            std::string where;
            ASSERT_TRUE(DeviceMatches(rig, wereAutomatic, &where))
                << "seed " << seed << " undo to " << k << ": " << where;
        }
        while (rig.eq->undoStack().canRedo()) rig.eq->undoStack().redo();
        EXPECT_EQ(rig.image, images.back()) << "seed " << seed << Differences(rig.image, images.back());
    }
}

// Undoing a whole preset sends the frames an edit of each changed parameter
// sends, in the preset's order, and nothing for what stayed.
TEST(EditHistory, UndoingAPresetSendsOnlyWhatDiffers) {
    EditorRig rig;
    const model::PresetImage before = DefaultPreset();
    rig.load(before);
    rig.eq->history().startOver();
    model::PresetImage after = before;
    model::WriteNotchRecord(after, 2, {10, 100, 2});
    model::WriteNotchRecord(after, 17, {40, 600, 0});
    after[78] = after[78] ? 0 : 1;  // Left attenuation
    LoadAsFile(rig, after, "A.Fbk");
    rig.frames();
    rig.eq->undoStack().undo();
    EXPECT_EQ(rig.image, before);

    EditorRig reference;  // the whole preset applied: frames of every parameter in order
    reference.load(after);
    reference.image = before;
    devlink::RunToEnd(reference.eq->applyPresetToEditor());
    const Frames all = reference.frames();
    ASSERT_EQ(all.size(), 36u);
    EXPECT_EQ(Dump(rig.frames()), Dump({all[2], all[17], all[24 + 2]}));
}

TEST(EditHistory, UndoKeysWinInANumberBoxAndASearchLocksThem) {
    EditorRig rig;
    rig.loadDefaults();
    rig.eq->history().startOver();
    rig.eq->show();
    for (int v : {3, 4, 5}) rig.row(0).gainBar->setValue(v);
    QLineEdit* box = rig.row(1).freqBox;
    box->setFocus();
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool locked;
        int index;
    };
    const Case cases[] = {
        {Qt::Key_Z, Qt::ControlModifier, false, 2}, {Qt::Key_Z, Qt::ControlModifier, false, 1},
        {Qt::Key_Y, Qt::ControlModifier, false, 2}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, false, 3},
        {Qt::Key_Z, Qt::ControlModifier, true, 3},  {Qt::Key_Z, Qt::ControlModifier, false, 2},
    };
    for (const auto& c : cases) {
        rig.eq->setSearchLock(c.locked);
        EXPECT_EQ(rig.eq->history().undoAction()->isEnabled(), !c.locked);
        QTest::keyClick(box, c.key, c.modifiers);
        EXPECT_EQ(rig.eq->undoStack().index(), c.index) << c.key << " " << c.modifiers.toInt() << " " << c.locked;
        EXPECT_EQ(rig.row(0).gainBar->value(), c.index + 2);
    }
}
