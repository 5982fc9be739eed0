#pragma once
// The fine moves of the editor's bars: a notch of the mouse wheel is one
// step, and a drag with Shift held moves one step for every few pixels
// the pointer travels, whatever the bar's length, so a bar of 730
// frequencies can be set to its neighbour with the mouse.

namespace editor {

// Eighths of a degree in one notch of a mouse wheel.
inline constexpr int kWheelNotch = 120;
// Pixels a Shift-drag travels for one step.
inline constexpr int kPixelsPerFineStep = 8;

// Adds up a wheel's turns (a touchpad sends parts of a notch) into whole
// steps; a turn the other way drops what was left over.
class WheelSteps {
public:
    // The whole steps these eighths complete: positive raises the value.
    int add(int eighths);

private:
    int pending_ = 0;
};

// The value a Shift-drag that started at `startValue` reaches after the
// pointer moved `movedPixels` along the bar (positive: towards the top).
int FineDragValue(int startValue, int movedPixels, int minimum, int maximum);

}  // namespace editor
