#include "model/preset_image.h"

#include <algorithm>

namespace model {
namespace {

bool ClampByte(std::uint8_t& byte, int low, int high) {
    const int clamped = std::clamp<int>(byte, low, high);
    if (clamped == byte) return false;
    byte = static_cast<std::uint8_t>(clamped);
    return true;
}

bool ZeroIfAbove(std::uint8_t& byte, int high) {
    if (byte <= high) return false;
    byte = 0;
    return true;
}

}  // namespace

NotchCodes ReadNotchRecord(const PresetImage& image, int n) {
    const int r = NotchRecordOffset.at(n);
    return {image[r], image[r + 1] * 256 + image[r + 2], image[r + 3]};
}

void WriteNotchRecord(PresetImage& image, int n, const NotchCodes& codes) {
    const int r = NotchRecordOffset.at(n);
    image[r] = static_cast<std::uint8_t>(codes.gain);
    image[r + 1] = static_cast<std::uint8_t>((codes.freq >> 8) & 0xFF);
    image[r + 2] = static_cast<std::uint8_t>(codes.freq & 0xFF);
    image[r + 3] = static_cast<std::uint8_t>(codes.width);
}

bool ImageCodesInRange(const PresetImage& image) {
    PresetImage copy = image;
    return !ClampImageCodes(copy);
}

bool ClampImageCodes(PresetImage& image) {
    bool changed = false;
    for (int n = 0; n < kNotches; ++n) {
        NotchCodes codes = ReadNotchRecord(image, n);
        const NotchCodes clamped{std::min(codes.gain, kMaxGainCode), std::min(codes.freq, kMaxFreqCode),
                                 std::min(codes.width, kMaxWidthCode)};
        if (clamped != codes) {
            WriteNotchRecord(image, n, clamped);
            changed = true;
        }
    }
    for (int c = 0; c < kChannels; ++c) {
        changed |= ClampByte(image[NumNotchAutoOffset[c]], kMinNumNotchAuto, kMaxNumNotchAuto);
        changed |= ClampByte(image[QNotchAutoOffset[c]], 0, kMaxWidthCode);
        changed |= ClampByte(image[AttenuationModeOffset[c]], 0, 1);
        changed |= ClampByte(image[SensitivityOffset[c]], 0, kMaxSensitivity);
        changed |= ZeroIfAbove(image[ReleaseSpeedOffset[c]], 1);
        changed |= ZeroIfAbove(image[SearchModeOffset[c]], 1);
    }
    return changed;
}

bool HalvesDiffer(const PresetImage& image) {
    return !std::equal(image.begin(), image.begin() + kHalfSize, image.begin() + kHalfSize);
}

}  // namespace model
