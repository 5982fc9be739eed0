#pragma once
// The editor's settings kept beside the program while it runs, so that a
// crash or a power loss does not lose them. The file is the program's own:
// "QRNA", a version byte, the 161 bytes of the preset image, and a CRC-32
// of everything before it (little-endian). It is written whole or not at
// all, and read as untrusted: a wrong length, kind, version, checksum or a
// code out of range refuses it.
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "model/preset_image.h"

namespace presets {

inline constexpr std::uint8_t kAutosaveVersion = 1;
inline constexpr int kAutosaveSize = 4 + 1 + model::kImageSize + 4;

std::vector<std::uint8_t> EncodeAutosave(const model::PresetImage& image);

enum class AutosaveRefusal { Unreadable, WrongSize, NotAutosave, NewerVersion, Damaged, CodeOutOfRange };

std::variant<model::PresetImage, AutosaveRefusal> DecodeAutosave(std::span<const std::uint8_t> bytes);

// "the file is damaged", for the box that names the file.
QString AutosaveRefusalText(AutosaveRefusal refusal);

// False when the folder cannot be made or the file written; an earlier file
// then stays as it was.
bool WriteAutosave(const QString& path, const model::PresetImage& image);
// Nothing when there is no file; otherwise its settings or why not.
std::optional<std::variant<model::PresetImage, AutosaveRefusal>> ReadAutosave(const QString& path);

}  // namespace presets
