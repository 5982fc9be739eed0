// A preset image or a name from a damaged file or an erased memory: clamping
// always yields codes every table accepts, and names decode to eight
// characters.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/preset_image.h"
#include "model/preset_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model::PresetImage image{};
    std::copy_n(data, std::min(size, image.size()), image.begin());
    model::ClampImageCodes(image);
    if (!model::ImageCodesInRange(image)) std::abort();
    for (int n = 0; n < model::kNotches; ++n) {
        const auto codes = model::ReadNotchRecord(image, n);
        (void)model::FreqTable.at(codes.freq);
        (void)model::BandwidthQ.at(codes.width);
    }
    const auto name = model::DecodePresetName(std::span<const std::uint8_t>(data, std::min<std::size_t>(size, 8)));
    (void)model::PrintablePresetName(name);
    std::u32string text(name.begin(), name.end());
    (void)model::PadPresetName(text);
    return 0;
}
