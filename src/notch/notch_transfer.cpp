#include "notch/notch_transfer.h"

#include <algorithm>

#include "devlink/commands.h"
#include "model/number_text.h"
#include "notch/snapping.h"

namespace notch {

NotchTransfer TransferNotch(int n, const NotchRow& row, NotchArrays& arrays, model::PresetImage& image) {
    NotchTransfer out;
    const int g = std::clamp(row.gainCode, 0, model::kMaxGainCode);
    const int gainDb = g - model::kMaxGainCode;
    out.gainText = std::to_string(gainDb);

    const double typed = model::ParseNumber(row.freqText).value_or(arrays.freqHz.at(n));
    const int f = NearestFreqCode(typed);
    out.freqText = model::FormatNumber(model::FreqTable[f]);

    const int q = std::clamp(row.widthCode, 0, model::kMaxWidthCode);
    out.widthText = std::string(model::BandwidthName[q]);

    arrays.widthCode[n] = q;
    arrays.freqHz[n] = model::FreqTable[f];
    arrays.gainDb[n] = gainDb;

    out.codes = {g, f, q};
    model::WriteNotchRecord(image, n, out.codes);
    out.payload = devlink::SetNotchPayload(model::ChannelOfNotch(n), model::RowOfNotch(n), f, q, g);
    return out;
}

}  // namespace notch
