#pragma once
// One notch row turned into the three codes the device takes: the texts the
// row's boxes show afterwards, the per-notch arrays, the image record and
// the SetNotch frame payload. The window only moves texts and values
// between this and its controls.
#include <string>

#include "devlink/frame.h"
#include "model/preset_image.h"
#include "notch/notch_arrays.h"

namespace notch {

// What the row's controls hold when the notch is sent.
struct NotchRow {
    int gainCode = 0;      // gain scroll bar
    std::string freqText;  // frequency box, as typed
    int widthCode = 0;     // width scroll bar
};

struct NotchTransfer {
    std::string gainText;   // "-45" .. "0"
    std::string freqText;   // the table entry sent, shortest form ("20.05", "1003")
    std::string widthText;  // "1/70" ..
    model::NotchCodes codes;
    devlink::Payload payload{};
};

// Does the work of sending notch n (0..23) short of the line: snaps the
// frequency box onto the table, stores the arrays and the image record and
// returns the boxes' new texts and the frame payload. A frequency box that
// holds no number (emptied, or a "?" left by a rejected key) stands for the
// frequency last sent for this notch, so the row never fails half way.
NotchTransfer TransferNotch(int n, const NotchRow& row, NotchArrays& arrays, model::PresetImage& image);

}  // namespace notch
