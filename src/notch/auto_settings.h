#pragma once
// The six automatic search settings of each channel: their state, where
// each lives in the preset image, how its control's value maps to it, the
// text shown beside it, and the frame that carries it.
#include <array>
#include <cstdint>
#include <string>

#include "devlink/frame.h"
#include "model/preset_image.h"

namespace notch {

enum class AutoSetting { NumNotchAuto, QNotchAuto, AttenuationMode, Sensitivity, ReleaseSpeed, SearchMode };

// In the order the window shows them, top to bottom.
inline constexpr std::array<AutoSetting, 6> kAutoSettings = {AutoSetting::NumNotchAuto,    AutoSetting::QNotchAuto,
                                                             AutoSetting::AttenuationMode, AutoSetting::ReleaseSpeed,
                                                             AutoSetting::SearchMode,      AutoSetting::Sensitivity};
// In the order the editor sends a channel's settings (a preset applied, a
// step undone): the search frame's four first, then release and mode.
inline constexpr std::array<AutoSetting, 6> kAutoSettingsSendOrder = {
    AutoSetting::NumNotchAuto, AutoSetting::QNotchAuto,   AutoSetting::AttenuationMode,
    AutoSetting::Sensitivity,  AutoSetting::ReleaseSpeed, AutoSetting::SearchMode};

// The per-channel companion of the image bytes, index = channel.
struct AutoSettings {
    std::array<int, model::kChannels> numNotchAuto{};     // 1..12
    std::array<int, model::kChannels> qNotchAuto{};       // width code 0..3
    std::array<int, model::kChannels> attenuationMode{};  // 0..1
    std::array<int, model::kChannels> sensitivity{};      // 0..15
    std::array<int, model::kChannels> releaseSpeed{};     // 0..1
    std::array<int, model::kChannels> searchMode{};       // 0..1

    int& operator()(AutoSetting setting, int channel);
    int operator()(AutoSetting setting, int channel) const;
};

// The caption of the setting's row, as the window shows it.
std::string Caption(AutoSetting setting);
// The image offset of the setting for the channel.
int ImageOffset(AutoSetting setting, int channel);
// The control's range: Num notch automatic shows its count less one.
int ControlMaximum(AutoSetting setting);
int StateFromControl(AutoSetting setting, int controlValue);
int ControlFromState(AutoSetting setting, int state);
// "11", "1/10", "Fixed", "6", "Slow", "Sharp".
std::string ValueText(AutoSetting setting, int state);

// Loads the channel's state from the image bytes.
void LoadAutoSettings(AutoSettings& settings, const model::PresetImage& image, int channel);

// Frames built from the image bytes at send time.
// 0A target count width attenuation sensitivity 00, target 1 Left, 2 Right.
devlink::Payload SearchControlPayload(const model::PresetImage& image, int channel);
// 31 channel 00 00 release mode 00.
devlink::Payload SetReleaseModePayload(const model::PresetImage& image, int channel);
// The frame that commits the setting.
devlink::Payload CommitPayload(AutoSetting setting, const model::PresetImage& image, int channel);

}  // namespace notch
