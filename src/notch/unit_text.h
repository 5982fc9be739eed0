#pragma once
// Values with their units, as tool tips show them.
#include <string>

namespace notch {

std::string FreqWithUnit(double hz);       // "1003 Hz", "20.05 Hz"
std::string GainWithUnit(int gainCode);    // "-12 dB"
std::string WidthWithUnit(int widthCode);  // "1/10 octave"

}  // namespace notch
