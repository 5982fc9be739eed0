#include "notch/preset_frames.h"

#include <algorithm>

#include "model/number_text.h"
#include "notch/auto_settings.h"
#include "notch/notch_transfer.h"

namespace notch {
namespace {

bool RecordDiffers(const model::PresetImage& a, const model::PresetImage& b, int n) {
    const auto first = static_cast<std::ptrdiff_t>(model::NotchRecordOffset[n]);
    return !std::equal(a.begin() + first, a.begin() + first + 4, b.begin() + first);
}

bool AutoBytesDiffer(const model::PresetImage& a, const model::PresetImage& b, int channel) {
    return std::any_of(kAutoSettings.begin(), kAutoSettings.end(), [&](AutoSetting setting) {
        const int offset = ImageOffset(setting, channel);
        return a[offset] != b[offset];
    });
}

model::PresetImage Clamped(const model::PresetImage& image) {
    model::PresetImage copy = image;
    model::ClampImageCodes(copy);
    return copy;
}

}  // namespace

// The editor shows the record in its row, then sends what the row holds:
// the frequency goes through its box as text, so it takes the same path.
devlink::Payload NotchPayload(const model::PresetImage& image, int n) {
    const model::NotchCodes codes = model::ReadNotchRecord(image, n);
    const NotchRow row{codes.gain, model::FormatNumber(model::FreqTable.at(codes.freq)), codes.width};
    NotchArrays scratchArrays;
    model::PresetImage scratchImage = image;
    return TransferNotch(n, row, scratchArrays, scratchImage).payload;
}

void AppendChannelSettings(std::vector<devlink::Payload>& out, const model::PresetImage& image, int channel) {
    for (const AutoSetting setting : kAutoSettingsSendOrder) out.push_back(CommitPayload(setting, image, channel));
}

std::vector<devlink::Payload> PresetApplicationPayloads(const model::PresetImage& image) {
    const model::PresetImage clamped = Clamped(image);
    std::vector<devlink::Payload> out;
    out.reserve(model::kNotches + 6 * model::kChannels);
    for (int n = 0; n < model::kNotches; ++n) out.push_back(NotchPayload(clamped, n));
    for (int c = 0; c < model::kChannels; ++c) AppendChannelSettings(out, clamped, c);
    return out;
}

std::vector<devlink::Payload> ChangedParameterPayloads(const model::PresetImage& before,
                                                       const model::PresetImage& after) {
    const model::PresetImage from = Clamped(before);
    const model::PresetImage to = Clamped(after);
    std::vector<devlink::Payload> out;
    for (int n = 0; n < model::kNotches; ++n)
        if (RecordDiffers(from, to, n)) out.push_back(NotchPayload(to, n));
    for (int c = 0; c < model::kChannels; ++c)
        if (AutoBytesDiffer(from, to, c)) AppendChannelSettings(out, to, c);
    return out;
}

}  // namespace notch
