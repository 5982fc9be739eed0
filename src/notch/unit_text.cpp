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

}  // namespace notch
