#include "notch/channel_edits.h"

#include <algorithm>

#include "model/value_tables.h"
#include "notch/auto_settings.h"
#include "notch/preset_frames.h"

namespace notch {

int AutomaticRowCount(const model::PresetImage& image, int channel) {
    return std::clamp<int>(image[ImageOffset(AutoSetting::NumNotchAuto, channel)], 0, model::kRowsPerChannel);
}

namespace {

void GiveAutomaticRowsTheWidth(model::PresetImage& image, int channel) {
    const std::uint8_t width = image[ImageOffset(AutoSetting::QNotchAuto, channel)];
    for (int k = 0; k < AutomaticRowCount(image, channel); ++k)
        image[model::NotchRecordOffset[model::NotchIndex(channel, k)] + 3] = width;
}

}  // namespace

devlink::Payload SetAutoSetting(model::PresetImage& image, AutoSetting setting, int channel, int state) {
    image[ImageOffset(setting, channel)] = static_cast<std::uint8_t>(state);
    if (setting == AutoSetting::QNotchAuto) GiveAutomaticRowsTheWidth(image, channel);
    return CommitPayload(setting, image, channel);
}

std::vector<devlink::Payload> CopyLeftToRight(model::PresetImage& image) {
    model::ClampImageCodes(image);
    std::vector<devlink::Payload> frames;
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const int right = model::NotchIndex(1, k);
        model::WriteNotchRecord(image, right, model::ReadNotchRecord(image, model::NotchIndex(0, k)));
        frames.push_back(NotchPayload(image, right));
    }
    for (const AutoSetting setting : kAutoSettings) image[ImageOffset(setting, 1)] = image[ImageOffset(setting, 0)];
    // Sending the width gives Right's automatic rows the automatic width,
    // as it does in the editor.
    GiveAutomaticRowsTheWidth(image, 1);
    AppendChannelSettings(frames, image, 1);
    return frames;
}

std::vector<devlink::Payload> ResetRows(model::PresetImage& image, int channel, bool automaticRows) {
    model::ClampImageCodes(image);
    const int automatic = AutomaticRowCount(image, channel);
    std::vector<devlink::Payload> frames;
    for (int k = automaticRows ? 0 : automatic; k < (automaticRows ? automatic : model::kRowsPerChannel); ++k) {
        const int n = model::NotchIndex(channel, k);
        model::NotchCodes codes = model::ReadNotchRecord(image, n);
        codes.gain = model::kMaxGainCode;
        model::WriteNotchRecord(image, n, codes);
        frames.push_back(NotchPayload(image, n));
    }
    return frames;
}

}  // namespace notch
