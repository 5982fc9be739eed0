#include "notch/notch_transfer.h"

#include <algorithm>

#include "model/number_text.h"
#include "notch/long_bytes.h"
#include "notch/snapping.h"

namespace notch {

devlink::Payload SetNotchPayload(int n, const model::NotchCodes& codes) {
    const LongBytes freq = PutLongBytes(codes.freq);
    return {kSetNotchCommand,
            static_cast<std::uint8_t>(model::ChannelOfNotch(n)),
            static_cast<std::uint8_t>(model::RowOfNotch(n)),
            freq[2],
            freq[3],
            static_cast<std::uint8_t>(codes.width),
            static_cast<std::uint8_t>(codes.gain)};
}

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
    out.payload = SetNotchPayload(n, out.codes);
    return out;
}

}  // namespace notch
