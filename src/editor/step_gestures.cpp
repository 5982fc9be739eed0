#include "editor/step_gestures.h"

#include <algorithm>

namespace editor {

int WheelSteps::add(int eighths) {
    if ((eighths > 0 && pending_ < 0) || (eighths < 0 && pending_ > 0)) pending_ = 0;
    pending_ += eighths;
    const int steps = pending_ / kWheelNotch;
    pending_ -= steps * kWheelNotch;
    return steps;
}

int FineDragValue(int startValue, int movedPixels, int minimum, int maximum) {
    // Truncated toward zero: a pointer that shakes by a few pixels around
    // its start keeps the value.
    return std::clamp(startValue + movedPixels / kPixelsPerFineStep, minimum, maximum);
}

}  // namespace editor
