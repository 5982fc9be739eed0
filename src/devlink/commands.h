#pragma once
// Every frame the program sends, in one place: command codes, what each is
// exchanged with, and builders for the payloads whose layout is fixed here.
#include <array>
#include <cstdint>
#include <string_view>

#include "devlink/frame.h"
#include "model/preset_image.h"

namespace devlink {

enum class Command : std::uint8_t {
    Probe = 0x00,
    SetNotch = 0x07,
    SearchControl = 0x0A,
    ReadPresetBlock = 0x0B,
    CloseLink = 0x0F,
    ReadMemoryByte = 0x10,
    WriteMemoryByte = 0x11,
    ReportAck = 0x30,
    SetReleaseMode = 0x31,
};

enum class Exchange { Probe, Command, Block, NoReply };

struct CommandInfo {
    Command command;
    std::string_view name;
    Exchange exchange;
};

inline constexpr std::array<CommandInfo, 9> kCommandCatalogue = {{
    {Command::Probe, "Probe", Exchange::Probe},
    {Command::SetNotch, "SetNotch", Exchange::Command},
    {Command::SearchControl, "SearchControl", Exchange::Command},
    {Command::ReadPresetBlock, "ReadPresetBlock", Exchange::Block},
    {Command::CloseLink, "CloseLink", Exchange::Command},
    {Command::ReadMemoryByte, "ReadMemoryByte", Exchange::Command},
    {Command::WriteMemoryByte, "WriteMemoryByte", Exchange::Command},
    {Command::ReportAck, "ReportAck", Exchange::NoReply},
    {Command::SetReleaseMode, "SetReleaseMode", Exchange::Command},
}};

inline constexpr std::uint8_t Code(Command c) { return static_cast<std::uint8_t>(c); }
inline constexpr std::uint8_t HighByte(int value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
inline constexpr std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Search selectors of SearchControl.
inline constexpr std::uint8_t kSearchBoth = 0;
inline constexpr std::uint8_t kSearchLeft = 1;
inline constexpr std::uint8_t kSearchRight = 2;
// Index of ReadPresetBlock that asks for the device's current settings.
inline constexpr std::uint8_t kCurrentSettingsBlock = 0xFF;

inline constexpr Payload ProbePayload() { return {Code(Command::Probe), 0, 0, 0, 0, 0, 0}; }
inline constexpr Payload CloseLinkPayload() { return {Code(Command::CloseLink), 0, 0, 0, 0, 0, 0}; }
inline constexpr Payload ReportAckPayload() { return {Code(Command::ReportAck), 0, 0, 0, 0, 0, 0}; }
inline constexpr Payload ReadPresetBlockPayload(std::uint8_t index) {
    return {Code(Command::ReadPresetBlock), index, 0, 0, 0, 0, 0};
}
inline constexpr Payload ReadMemoryBytePayload(int address) {
    return {Code(Command::ReadMemoryByte), HighByte(address), LowByte(address), 0, 0, 0, 0};
}
inline constexpr Payload WriteMemoryBytePayload(int address, std::uint8_t data) {
    return {Code(Command::WriteMemoryByte), HighByte(address), LowByte(address), 0, data, 0, 0};
}
// The four automatic search bytes that SearchControl carries: count, width,
// attenuation, sensitivity (image 76..79 Left, 156..159 Right).
inline std::array<std::uint8_t, 4> SearchSettingsBytes(const model::PresetImage& image, int channel) {
    return {image[model::NumNotchAutoOffset.at(channel)], image[model::QNotchAutoOffset.at(channel)],
            image[model::AttenuationModeOffset.at(channel)], image[model::SensitivityOffset.at(channel)]};
}
inline constexpr Payload SearchControlPayload(std::uint8_t selector, std::array<std::uint8_t, 4> settings, bool on) {
    return {Code(Command::SearchControl),         selector, settings[0], settings[1], settings[2], settings[3],
            static_cast<std::uint8_t>(on ? 1 : 0)};
}
// 07 channel row f-high f-low width gain; the frequency code 0..729 in two bytes.
inline constexpr Payload SetNotchPayload(int channel, int row, int freqCode, int width, int gain) {
    return {Code(Command::SetNotch), LowByte(channel), LowByte(row), HighByte(freqCode),
            LowByte(freqCode),       LowByte(width),   LowByte(gain)};
}
inline constexpr Payload SetReleaseModePayload(std::uint8_t channel, std::uint8_t release, std::uint8_t searchMode) {
    return {Code(Command::SetReleaseMode), channel, 0, 0, release, searchMode, 0};
}

}  // namespace devlink
