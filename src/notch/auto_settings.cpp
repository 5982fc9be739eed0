#include "notch/auto_settings.h"

#include <algorithm>

#include "devlink/commands.h"
#include "model/value_tables.h"

namespace notch {
namespace {

template <std::size_t N>
std::string NameOf(const std::array<std::string_view, N>& table, int code) {
    return std::string(table[static_cast<std::size_t>(std::clamp<int>(code, 0, N - 1))]);
}

const std::array<int, model::kChannels>& OffsetTable(AutoSetting setting) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return model::NumNotchAutoOffset;
    case AutoSetting::QNotchAuto: return model::QNotchAutoOffset;
    case AutoSetting::AttenuationMode: return model::AttenuationModeOffset;
    case AutoSetting::Sensitivity: return model::SensitivityOffset;
    case AutoSetting::ReleaseSpeed: return model::ReleaseSpeedOffset;
    case AutoSetting::SearchMode: return model::SearchModeOffset;
    }
    return model::NumNotchAutoOffset;
}

}  // namespace

int& AutoSettings::operator()(AutoSetting setting, int channel) {
    const auto c = static_cast<std::size_t>(channel);
    switch (setting) {
    case AutoSetting::NumNotchAuto: return numNotchAuto.at(c);
    case AutoSetting::QNotchAuto: return qNotchAuto.at(c);
    case AutoSetting::AttenuationMode: return attenuationMode.at(c);
    case AutoSetting::Sensitivity: return sensitivity.at(c);
    case AutoSetting::ReleaseSpeed: return releaseSpeed.at(c);
    case AutoSetting::SearchMode: return searchMode.at(c);
    }
    return numNotchAuto.at(c);
}

int AutoSettings::operator()(AutoSetting setting, int channel) const {
    return const_cast<AutoSettings&>(*this)(setting, channel);
}

std::string Caption(AutoSetting setting) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return "Num notch automatic";
    case AutoSetting::QNotchAuto: return "Q notch automatic";
    case AutoSetting::AttenuationMode: return "Attenuation notch";
    case AutoSetting::Sensitivity: return "Sensitivity ";
    case AutoSetting::ReleaseSpeed: return "Release notch";
    case AutoSetting::SearchMode: return "Mode search";
    }
    return {};
}

int ImageOffset(AutoSetting setting, int channel) { return OffsetTable(setting).at(static_cast<std::size_t>(channel)); }

int ControlMaximum(AutoSetting setting) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return model::kMaxNumNotchAuto - 1;
    case AutoSetting::QNotchAuto: return model::kMaxWidthCode;
    case AutoSetting::Sensitivity: return model::kMaxSensitivity;
    case AutoSetting::AttenuationMode:
    case AutoSetting::ReleaseSpeed:
    case AutoSetting::SearchMode: return 1;
    }
    return 0;
}

int StateFromControl(AutoSetting setting, int controlValue) {
    return setting == AutoSetting::NumNotchAuto ? controlValue + 1 : controlValue;
}

int ControlFromState(AutoSetting setting, int state) {
    return setting == AutoSetting::NumNotchAuto ? state - 1 : state;
}

std::string ValueText(AutoSetting setting, int state) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return std::to_string(state);
    case AutoSetting::QNotchAuto: return NameOf(model::BandwidthName, state);
    case AutoSetting::AttenuationMode: return NameOf(model::AttenuationModeName, state);
    case AutoSetting::Sensitivity: return std::to_string(state + 1);
    case AutoSetting::ReleaseSpeed: return NameOf(model::ReleaseSpeedName, state);
    case AutoSetting::SearchMode: return NameOf(model::SearchModeName, state);
    }
    return {};
}

void LoadAutoSettings(AutoSettings& settings, const model::PresetImage& image, int channel) {
    for (const AutoSetting setting : kAutoSettings) settings(setting, channel) = image[ImageOffset(setting, channel)];
}

devlink::Payload SearchControlPayload(const model::PresetImage& image, int channel) {
    return devlink::SearchControlPayload(static_cast<std::uint8_t>(channel + 1),
                                         devlink::SearchSettingsBytes(image, channel), false);
}

devlink::Payload SetReleaseModePayload(const model::PresetImage& image, int channel) {
    return devlink::SetReleaseModePayload(static_cast<std::uint8_t>(channel),
                                          image[ImageOffset(AutoSetting::ReleaseSpeed, channel)],
                                          image[ImageOffset(AutoSetting::SearchMode, channel)]);
}

devlink::Payload CommitPayload(AutoSetting setting, const model::PresetImage& image, int channel) {
    const bool releaseFrame = setting == AutoSetting::ReleaseSpeed || setting == AutoSetting::SearchMode;
    return releaseFrame ? SetReleaseModePayload(image, channel) : SearchControlPayload(image, channel);
}

}  // namespace notch
