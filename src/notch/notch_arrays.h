#pragma once
// What the editor last sent for each of the 24 notches; the response graph
// reads these and nothing else of the notch rows.
#include <array>

#include "model/value_tables.h"

namespace notch {

struct NotchArrays {
    std::array<double, model::kNotches> freqHz{};     // Hz
    std::array<double, model::kNotches> gainDb{};     // dB, -45..0
    std::array<double, model::kNotches> widthCode{};  // 0..3
};

}  // namespace notch
