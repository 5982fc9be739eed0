#pragma once
// Values with their units, as tool tips show them and screen readers speak
// them.
#include <string>

#include "notch/auto_settings.h"

namespace notch {

std::string FreqWithUnit(double hz);       // "1003 Hz", "20.05 Hz"
std::string GainWithUnit(int gainCode);    // "-12 dB"
std::string WidthWithUnit(int widthCode);  // "1/10 octave"
// An automatic setting as spoken: "11 notches", "1/10 octave", "Fixed".
std::string SpokenSetting(AutoSetting setting, int state);

}  // namespace notch
