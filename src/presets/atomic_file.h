#pragma once
// Replacing a whole file in one step: the bytes go to a temporary file in
// the same folder, which takes the file's name only once all of them are on
// the disk. A write that fails leaves an earlier file of that name as it was
// and no temporary file behind.
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

namespace presets {

// Nothing when the file now holds the bytes; otherwise why not, in words
// that fit in "(...)": "that name is a folder", "the disk took only 100 of
// 161 bytes", or the system's own.
// Only regular files are replaced, and a write-protected one is not.
std::optional<QString> ReplaceFileContents(const QString& path, std::span<const std::uint8_t> bytes);

}  // namespace presets
