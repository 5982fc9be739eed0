#pragma once
// The bytes of a .qrnbak file (laid out in docs/backup-format.md) and the
// checks a file must pass before anything of it is used. Plain C++: the file
// handling around it is in backup_file_io.h.
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "presets/device_backup.h"

namespace presets {

inline constexpr char kBackupMagic[] = "QRNBAK\r\n";  // eight bytes, no terminator in the file
inline constexpr int kBackupMagicSize = 8;
inline constexpr int kBackupFormatVersion = 1;
inline constexpr int kBackupDateSize = 20;         // "2026-12-08T14:03:27Z"
inline constexpr int kMaxProgramVersionSize = 32;  // printable ASCII
inline constexpr char kBackupExtension[] = ".qrnbak";
// Magic, format version, file length: the part every future format keeps.
inline constexpr int kBackupFixedHeadSize = kBackupMagicSize + 2 + 4;
inline constexpr int kBackupChecksumSize = 4;
// The largest file format 1 can describe: a 32-byte version, every position used.
inline constexpr int kMaxBackupFileSize =
    kBackupFixedHeadSize + kBackupDateSize + 1 + kMaxProgramVersionSize + model::kNameLength + model::kBlockSize +
    model::kUserPositions * (1 + model::kNameLength + model::kBlockSize) + kBackupChecksumSize;

enum class BackupProblem {
    Empty,         // no bytes at all
    Foreign,       // does not start with the magic
    NewerFormat,   // a format version this program does not know yet
    Truncated,     // fewer bytes than the file says it holds
    TrailingData,  // more bytes than the file says it holds
    Checksum,      // the CRC-32 does not match the bytes before it
    Damaged,       // the checksum matches, yet a field holds what no backup holds
};

struct BackupDecodeFailure {
    BackupProblem problem = BackupProblem::Damaged;
    // What follows the file's name in a sentence: "is cut short: it holds
    // 300 of its 500 bytes".
    std::string reason;
};

// A backup of any content: a version text outside printable ASCII or longer
// than 32 is written with '?' for each bad character, cut to 32 ("?" when
// empty); a date that is not of the form above is written as
// "1970-01-01T00:00:00Z". Unused positions keep only their flag and name.
std::vector<std::uint8_t> EncodeBackup(const DeviceBackup& backup);

// The backup, or why these bytes are not one. Checked in this order: empty,
// magic, format version, length, checksum, then every field. Nothing is
// returned from a file that fails any check; unused positions come back with
// zero data bytes.
std::variant<DeviceBackup, BackupDecodeFailure> DecodeBackup(std::span<const std::uint8_t> bytes);

// True for "YYYY-MM-DDThh:mm:ssZ" with each field in its range.
bool IsBackupDate(std::string_view text);

}  // namespace presets
