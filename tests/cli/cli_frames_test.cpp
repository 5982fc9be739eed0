// The program sends, for each action, the frames the editor sends for the
// same action, byte for byte and in order. Both work on the same simulated
// device; the program's own reads before the action (the probe, the current
// settings, a position's marker) are left out of the comparison.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>

#include "cli_rig.h"
#include "devlink/commands.h"
#include "devlink/preset_block.h"
#include "editor_rig.h"
#include "presets/position_write.h"
#include "presets/preset_transfer.h"
#include "presets/store_request.h"

using namespace cli_test;
using editor_test::EditorRig;

namespace {

using notch::AutoSetting;

// The editor as after its start-up: showing what the device runs now.
void LoadDeviceSettings(EditorRig& rig) {
    model::PresetImage image{};
    ASSERT_TRUE(devlink::RunToEnd(devlink::ReadPresetBlockInto(rig.sim.link, devlink::kCurrentSettingsBlock, image)));
    model::ClampImageCodes(image);
    rig.load(image);
}

model::PresetImage VariedPreset() {
    model::PresetImage image{};
    for (int n = 0; n < model::kNotches; ++n) model::WriteNotchRecord(image, n, {n % 46, (n * 31 + 5) % 730, n % 4});
    for (int c = 0; c < model::kChannels; ++c) {
        image[model::NumNotchAutoOffset[c]] = static_cast<std::uint8_t>(3 + c);
        image[model::SensitivityOffset[c]] = static_cast<std::uint8_t>(9 + c);
        image[model::ReleaseSpeedOffset[c]] = 1;
    }
    return image;
}

void WritePreset(const QString& path, const model::PresetImage& image) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(image.data()), model::kImageSize);
}

void Press(QPushButton* button) { button->click(); }

TEST(CliFrames, TheSameAsTheEditorsForTheSameAction) {
    struct Case {
        const char* name;
        QStringList arguments;
        int reads;  // the program's frames before the action's
        std::function<void(EditorRig&)> editorAction;
    };
    const Case cases[] = {
        {"notch frequency",
         {"set", "left", "12", "--freq", "1000"},
         2,
         [](EditorRig& e) {
             EditorRig::type(e.row(11).freqBox, "1000");
             EditorRig::enter(e.row(11).freqBox);
         }},
        {"notch gain",
         {"set", "right", "12", "--gain", "-6.4"},
         2,
         [](EditorRig& e) {
             EditorRig::type(e.row(23).gainBox, "-6");
             EditorRig::enter(e.row(23).gainBox);
         }},
        {"notch width",
         {"set", "left", "12", "--width", "1/5"},
         2,
         [](EditorRig& e) { e.row(11).widthBar->setValue(3); }},
        {"notch, three values in one frame",
         {"set", "left", "12", "--width", "1/70", "--freq", "50", "--gain", "-45"},
         2,
         [](EditorRig& e) {
             {
                 const auto quiet = e.eq->quietUpdates();
                 e.row(11).freqBox->setText("50");
                 e.row(11).gainBar->setValue(0);
                 e.row(11).widthBar->setValue(0);
             }
             e.eq->sendNotch(11);
         }},
        {"notch, two values in one frame",
         {"set", "right", "12", "--gain", "-6", "--freq", "1000"},
         2,
         [](EditorRig& e) {
             {
                 const auto quiet = e.eq->quietUpdates();
                 e.row(23).freqBox->setText("1000");
                 e.row(23).gainBar->setValue(39);
             }
             e.eq->sendNotch(23);
         }},
        {"automatic count",
         {"set", "right", "--auto-count", "4"},
         2,
         [](EditorRig& e) { e.spin(AutoSetting::NumNotchAuto, 1)->setValue(3); }},
        {"automatic width",
         {"set", "left", "--auto-width", "1/20"},
         2,
         [](EditorRig& e) { e.spin(AutoSetting::QNotchAuto, 0)->setValue(1); }},
        {"all six settings",
         {"set", "left", "--sensitivity", "3", "--mode", "fast", "--release", "fast", "--depth", "variable",
          "--auto-width", "1/5", "--auto-count", "2"},
         2,
         [](EditorRig& e) {
             e.spin(AutoSetting::NumNotchAuto, 0)->setValue(1);
             e.spin(AutoSetting::QNotchAuto, 0)->setValue(3);
             e.spin(AutoSetting::AttenuationMode, 0)->setValue(1);
             EditorRig::type(e.settings(0).sensitivityBox, "3");
             EditorRig::enter(e.settings(0).sensitivityBox);
             e.spin(AutoSetting::ReleaseSpeed, 0)->setValue(1);
             e.spin(AutoSetting::SearchMode, 0)->setValue(1);
         }},
        {"load a preset file",
         {"load", "@varied.Fbk"},
         1,
         [](EditorRig& e) {
             e.image = VariedPreset();
             devlink::RunToEnd(e.eq->applyPresetToEditor());
         }},
        {"search left, start and stop",
         {"search", "left", "--seconds", "0.05"},
         2,
         [](EditorRig& e) {
             Press(e.eq->controls().searchButtons[1]);
             Press(e.eq->controls().searchButtons[1]);
         }},
        {"search both, start and stop",
         {"search", "both", "--seconds", "0.05"},
         2,
         [](EditorRig& e) {
             Press(e.eq->controls().searchButtons[0]);
             Press(e.eq->controls().searchButtons[0]);
         }},
        {"store every byte",
         {"store", "7", "Live", "@varied.Fbk", "--full"},
         2,
         [](EditorRig& e) {
             model::PresetLibrary library;
             library.resetToFixedOnly();
             const auto request = std::get<presets::StoreRequest>(presets::CheckStoreRequest("07", "Live"));
             devlink::RunToEnd(presets::StorePreset(e.sim.link, library, VariedPreset(), request));
         }},
        {"store what differs",
         {"store", "7", "Live", "@varied.Fbk"},
         2,
         [](EditorRig& e) {
             model::PresetLibrary library;
             library.resetToFixedOnly();
             const auto request = std::get<presets::StoreRequest>(presets::CheckStoreRequest("07", "Live"));
             presets::DeviceBlock data{};
             std::copy_n(VariedPreset().begin(), data.size(), data.begin());
             devlink::RunToEnd(
                 presets::WriteChangedBytes(e.sim.link, library, request, data, presets::KnownFromLibrary(library, 2)));
         }},
        {"read",
         {"read", "3", "@read.Fbk"},
         1,
         [](EditorRig& e) {
             model::PresetLibrary library;
             library.resetToFixedOnly();
             devlink::RunToEnd(presets::ReadPreset(e.sim.link, library, 2, e.image, [&e] { e.eq->fillFromImage(); }));
         }},
    };
    for (const auto& c : cases) {
        CliRig cli;
        cli.deliverReports = false;
        WritePreset(cli.file("varied.Fbk"), VariedPreset());
        QStringList arguments = {"--port", "1"};
        for (const QString& a : c.arguments) arguments << (a.startsWith('@') ? cli.file(a.mid(1)) : a);
        const CliRun run = cli.run(arguments);
        ASSERT_EQ(run.exit, 0) << c.name << ": " << run.err;
        ASSERT_GE(run.frames.size(), static_cast<std::size_t>(c.reads)) << c.name;
        const std::vector<Bytes> action(run.frames.begin() + c.reads, run.frames.end());

        EditorRig editor;
        LoadDeviceSettings(editor);
        c.editorAction(editor);
        EXPECT_EQ(Dump(action), Dump(editor.frames())) << c.name;
    }
}

}  // namespace
