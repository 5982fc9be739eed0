#pragma once
// Constant tables that turn the device's small integer codes into what the
// user sees and what the response graph computes with. Every code read from
// a file or the line must be range-checked before it indexes one of these.
#include <array>
#include <cstdint>
#include <string_view>

namespace model {

inline constexpr int kChannels = 2;
inline constexpr int kRowsPerChannel = 12;
inline constexpr int kNotches = kChannels * kRowsPerChannel;

inline constexpr int kFreqCodes = 730;
inline constexpr int kMaxFreqCode = kFreqCodes - 1;
inline constexpr int kMaxGainCode = 45;
inline constexpr int kMaxWidthCode = 3;
inline constexpr int kMinNumNotchAuto = 1;
inline constexpr int kMaxNumNotchAuto = 12;
inline constexpr int kMaxSensitivity = 15;

inline constexpr std::array<double, kFreqCodes> FreqTable = {
#include "freq_table.inc"
};

inline constexpr std::array<std::string_view, 4> BandwidthName = {"1/70", "1/20", "1/10", "1/5"};
inline constexpr std::array<double, 4> BandwidthQ = {100.989, 28.856, 14.432, 7.2};
inline constexpr std::array<std::string_view, 2> AttenuationModeName = {"Fixed", "Variable"};
inline constexpr std::array<std::string_view, 2> ReleaseSpeedName = {"Slow", "Fast"};
inline constexpr std::array<std::string_view, 2> SearchModeName = {"Sharp", "Fast"};

inline constexpr std::array<std::string_view, 16> DemoPresetName = {
    "Preset01", "Preset02", "Preset03", "Preset04", "Preset05", "Preset06", "Preset07", "Preset08",
    "Preset09", "Preset10", "Preset11", "Preset12", "Preset13", "Preset14", "Preset15", "Preset16"};

// Offsets into the preset image, indexed by channel (and row for notches).
inline constexpr std::array<int, kNotches> NotchRecordOffset = [] {
    std::array<int, kNotches> t{};
    for (int c = 0; c < kChannels; ++c)
        for (int k = 0; k < kRowsPerChannel; ++k) t[c * kRowsPerChannel + k] = 28 + 4 * k + 80 * c;
    return t;
}();
inline constexpr std::array<int, kChannels> NumNotchAutoOffset = {76, 156};
inline constexpr std::array<int, kChannels> QNotchAutoOffset = {77, 157};
inline constexpr std::array<int, kChannels> AttenuationModeOffset = {78, 158};
inline constexpr std::array<int, kChannels> SensitivityOffset = {79, 159};
inline constexpr std::array<int, kChannels> ReleaseSpeedOffset = {20, 100};
inline constexpr std::array<int, kChannels> SearchModeOffset = {21, 101};

inline constexpr int kHalfSize = 80;
inline constexpr int kBlockSize = 160;

// The factory preset used in demo mode; both halves are the same.
inline constexpr std::array<std::uint8_t, kBlockSize> DefaultImage = [] {
    std::array<std::uint8_t, kBlockSize> t{};
    constexpr std::array<std::uint8_t, 20> head = {30, 4, 24, 0,  30, 12, 24, 0,  30, 20,
                                                   24, 0, 30, 28, 24, 0,  30, 36, 24, 0};
    for (int c = 0; c < kChannels; ++c) {
        const int base = c * kHalfSize;
        for (int i = 0; i < 20; ++i) t[base + i] = head[i];
        for (int k = 0; k < kRowsPerChannel; ++k) {
            const int r = base + 28 + 4 * k;
            t[r] = 45;     // 0 dB
            t[r + 1] = 1;  // frequency code 266 = 247.9 Hz
            t[r + 2] = 10;
            t[r + 3] = 2;  // 1/10 octave
        }
        t[base + 76] = 11;
        t[base + 77] = 2;
        t[base + 78] = 0;
        t[base + 79] = 6;
    }
    return t;
}();

// Horizontal graph units per decade: 20 Hz..20 kHz spans 575 pixels.
double GraphXPerDecade();

}  // namespace model
