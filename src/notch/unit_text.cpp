#include "notch/unit_text.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/value_tables.h"

namespace notch {

std::string FreqWithUnit(double hz) { return model::FormatNumber(hz) + " Hz"; }

std::string GainWithUnit(int gainCode) {
    return std::to_string(std::clamp(gainCode, 0, model::kMaxGainCode) - model::kMaxGainCode) + " dB";
}

std::string WidthWithUnit(int widthCode) {
    return std::string(model::BandwidthName[std::clamp(widthCode, 0, model::kMaxWidthCode)]) + " octave";
}

std::string SpokenSetting(AutoSetting setting, int state) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return std::to_string(state) + (state == 1 ? " notch" : " notches");
    case AutoSetting::QNotchAuto: return WidthWithUnit(state);
    case AutoSetting::AttenuationMode:
    case AutoSetting::Sensitivity:
    case AutoSetting::ReleaseSpeed:
    case AutoSetting::SearchMode: break;
    }
    return ValueText(setting, state);
}

}  // namespace notch
