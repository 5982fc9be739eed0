#pragma once
// The preset image: every parameter of both channels in the device's own
// byte layout (0..79 Left, 80..159 Right, 160 a spare byte that only preset
// files carry). Parameters are found only through the offset tables.
#include <array>
#include <cstdint>

#include "model/value_tables.h"

namespace model {

inline constexpr int kImageSize = 161;
inline constexpr int kSpareByte = 160;
using PresetImage = std::array<std::uint8_t, kImageSize>;

struct NotchCodes {
    int gain = 0;   // 0..45, dB = gain - 45
    int freq = 0;   // 0..729, index into FreqTable
    int width = 0;  // 0..3, index into BandwidthName / BandwidthQ
    bool operator==(const NotchCodes&) const = default;
};

inline int ChannelOfNotch(int n) { return n / kRowsPerChannel; }
inline int RowOfNotch(int n) { return n % kRowsPerChannel; }
inline int PartnerNotch(int n) { return n < kRowsPerChannel ? n + kRowsPerChannel : n - kRowsPerChannel; }
inline int NotchIndex(int channel, int row) { return channel * kRowsPerChannel + row; }

// The codes as stored, unchecked: a damaged image may hold anything here.
NotchCodes ReadNotchRecord(const PresetImage& image, int n);
void WriteNotchRecord(PresetImage& image, int n, const NotchCodes& codes);

// True when every code lies in the range its control and tables accept.
bool ImageCodesInRange(const PresetImage& image);

// Brings every out-of-range code back into its range, so that no table is
// indexed with it: frequency 729, width 3, gain 45, Num notch automatic
// 1..12, Q 3, attenuation 1, sensitivity 15; release or search mode above
// 1 become 0. Returns true when a byte changed.
bool ClampImageCodes(PresetImage& image);

// True when any byte of the Left half differs from its Right counterpart.
bool HalvesDiffer(const PresetImage& image);

}  // namespace model
