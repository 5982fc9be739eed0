#include "editor/settings_restorer.h"

#include <QCheckBox>
#include <algorithm>
#include <memory>
#include <optional>

namespace editor {
namespace {

using notch::AutoSetting;

bool NotchDiffers(const model::PresetImage& a, const model::PresetImage& b, int n) {
    const int at = model::NotchRecordOffset[n];
    return !std::equal(a.begin() + at, a.begin() + at + 4, b.begin() + at);
}

}  // namespace

void SettingsRestorer::restore(const SettingsSnapshot& target) {
    // The undo stack has moved already, so this cannot be refused; the
    // actions that lead here are locked while a transfer runs. It is one
    // job, after whatever runs, and locks the others out until its frames
    // are out.
    auto hold = std::make_shared<std::optional<devlink::DeviceWork::Hold>>(s_.link.work().tryHold("undoing an edit"));
    // Shown at once; its frames go out as the job goes on.
    std::vector<devlink::Payload> frames = FramesOf(s_, [&] { restoreNow(target); });
    s_.link.jobs().run([this, frames = std::move(frames), hold]() -> devlink::Task<void> {
        co_await s_.link.commands(frames);
        hold->reset();
    });
}

void SettingsRestorer::restoreNow(const SettingsSnapshot& target) {
    const model::PresetImage before = s_.image;
    s_.image = target.image;
    // Every code indexes a table below; a snapshot holds what the editor
    // showed, yet nothing is indexed unchecked.
    model::ClampImageCodes(s_.image);
    restoreLink(target.linked);
    for (int n = 0; n < model::kNotches; ++n) {
        if (!NotchDiffers(before, s_.image, n)) continue;
        rows_.showNotchRecord(n);
        rows_.applyNotch(n);
    }
    const model::PresetImage wanted = s_.image;
    for (int c = 0; c < model::kChannels; ++c) restoreChannelSettings(c, before);
    keepAutomaticRowWidths(wanted);
}

// A Q setting sent gives every automatic row its width, yet rows that turned
// automatic since the last one kept theirs, on the device too: the
// restored settings show them as they were, and nothing more is sent.
void SettingsRestorer::keepAutomaticRowWidths(const model::PresetImage& wanted) {
    bool& suppress = s_.link.flags().suppressSend;
    const bool wasSuppressed = suppress;
    for (int n = 0; n < model::kNotches; ++n) {
        if (!NotchDiffers(wanted, s_.image, n)) continue;
        std::copy_n(wanted.begin() + model::NotchRecordOffset[n], 4, s_.image.begin() + model::NotchRecordOffset[n]);
        rows_.showNotchRecord(n);
        suppress = true;
        rows_.sendNotch(n);
        suppress = wasSuppressed;
        rows_.computeNotchResponse(n);
    }
}

void SettingsRestorer::restoreLink(bool linked) {
    {
        UpdateGuard guard(s_.flags);  // the program's checking asks nothing
        s_.controls.linkBox->setChecked(linked);
    }
    s_.flags.channelsLinked = linked;
}

void SettingsRestorer::restoreChannelSettings(int channel, const model::PresetImage& before) {
    notch::LoadAutoSettings(s_.settings, s_.image, channel);
    for (const AutoSetting setting : notch::kAutoSettingsSendOrder) {
        const int offset = notch::ImageOffset(setting, channel);
        if (before[offset] == s_.image[offset]) continue;
        {
            UpdateGuard guard(s_.flags);
            autos_.setControlValue(setting, channel, notch::ControlFromState(setting, s_.settings(setting, channel)));
        }
        autos_.commitSetting(setting, channel);
    }
    rows_.enableManualNotches(channel);
}

}  // namespace editor
