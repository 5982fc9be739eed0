#include "presets/backup_format.h"

#include <algorithm>
#include <cstring>

#include "presets/crc32.h"

namespace presets {
namespace {

constexpr char kEpochDate[] = "1970-01-01T00:00:00Z";

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFU));
}

std::uint32_t GetLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

bool Printable(char c) { return c >= 0x20 && c <= 0x7E; }

std::string SanitizedVersion(const std::string& version) {
    std::string out = version.substr(0, kMaxProgramVersionSize);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return !Printable(c); }, '?');
    return out.empty() ? std::string("?") : out;
}

bool InRange(std::string_view text, std::size_t at, int low, int high) {
    const int value = (text[at] - '0') * 10 + (text[at + 1] - '0');
    return value >= low && value <= high;
}

// Walks the checked body of a file, refusing to step past its end.
class BodyReader {
public:
    BodyReader(std::span<const std::uint8_t> bytes, std::size_t at) : bytes_(bytes), at_(at) {}
    bool take(std::size_t count, std::span<const std::uint8_t>& out) {
        if (count > bytes_.size() - at_) return false;
        out = bytes_.subspan(at_, count);
        at_ += count;
        return true;
    }
    template <std::size_t N>
    bool takeInto(std::array<std::uint8_t, N>& out) {
        std::span<const std::uint8_t> piece;
        if (!take(N, piece)) return false;
        std::copy(piece.begin(), piece.end(), out.begin());
        return true;
    }
    std::size_t left() const { return bytes_.size() - at_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_;
};

BackupDecodeFailure Fail(BackupProblem problem, std::string reason) { return {problem, std::move(reason)}; }

BackupDecodeFailure Damaged(const std::string& what) { return Fail(BackupProblem::Damaged, "is damaged: " + what); }

std::string PositionName(int slot) { return "position " + std::to_string(slot + model::kFirstUserPosition); }

// The fields after the fixed head, in a body whose checksum matched.
std::variant<DeviceBackup, BackupDecodeFailure> DecodeBody(std::span<const std::uint8_t> body) {
    DeviceBackup backup;
    BodyReader in(body, kBackupFixedHeadSize);
    std::span<const std::uint8_t> piece;
    if (!in.take(kBackupDateSize, piece)) return Damaged("it ends inside its date");
    backup.created.assign(piece.begin(), piece.end());
    if (!IsBackupDate(backup.created)) return Damaged("its date is not a date");
    if (!in.take(1, piece)) return Damaged("it ends before its program version");
    const std::size_t versionSize = piece[0];
    if (versionSize == 0 || versionSize > kMaxProgramVersionSize) return Damaged("its program version has no length");
    if (!in.take(versionSize, piece)) return Damaged("it ends inside its program version");
    backup.programVersion.assign(piece.begin(), piece.end());
    if (!std::all_of(backup.programVersion.begin(), backup.programVersion.end(), Printable))
        return Damaged("its program version is not text");
    if (!in.takeInto(backup.programName) || !in.takeInto(backup.current))
        return Damaged("it ends before the current settings");
    for (int slot = 0; slot < model::kUserPositions; ++slot) {
        BackupPosition& position = backup.positions[static_cast<std::size_t>(slot)];
        if (!in.take(1, piece) || !in.takeInto(position.name)) return Damaged("it ends before " + PositionName(slot));
        if (piece[0] > 1)
            return Damaged("the used flag of " + PositionName(slot) + " is " + std::to_string(piece[0]) +
                           ", neither 0 nor 1");
        position.used = piece[0] == 1;
        if (position.used && !in.takeInto(position.data))
            return Damaged("it ends inside the data of " + PositionName(slot));
    }
    if (in.left() != 0)
        return Damaged(std::to_string(in.left()) + " bytes lie between its last position and its checksum");
    return backup;
}

}  // namespace

bool IsBackupDate(std::string_view text) {
    if (text.size() != static_cast<std::size_t>(kBackupDateSize)) return false;
    constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:ddZ";
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
    }
    return InRange(text, 5, 1, 12) && InRange(text, 8, 1, 31) && InRange(text, 11, 0, 23) && InRange(text, 14, 0, 59) &&
           InRange(text, 17, 0, 60);
}

std::vector<std::uint8_t> EncodeBackup(const DeviceBackup& backup) {
    std::vector<std::uint8_t> out(kBackupMagic, kBackupMagic + kBackupMagicSize);
    PutLittleEndian(out, kBackupFormatVersion, 2);
    const std::size_t lengthAt = out.size();
    PutLittleEndian(out, 0, 4);  // the length, once known
    const std::string date = IsBackupDate(backup.created) ? backup.created : std::string(kEpochDate);
    out.insert(out.end(), date.begin(), date.end());
    const std::string version = SanitizedVersion(backup.programVersion);
    out.push_back(static_cast<std::uint8_t>(version.size()));
    out.insert(out.end(), version.begin(), version.end());
    out.insert(out.end(), backup.programName.begin(), backup.programName.end());
    out.insert(out.end(), backup.current.begin(), backup.current.end());
    for (const BackupPosition& position : backup.positions) {
        out.push_back(position.used ? 1 : 0);
        out.insert(out.end(), position.name.begin(), position.name.end());
        if (position.used) out.insert(out.end(), position.data.begin(), position.data.end());
    }
    const auto length = static_cast<std::uint32_t>(out.size() + kBackupChecksumSize);
    for (int i = 0; i < 4; ++i)
        out[lengthAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    PutLittleEndian(out, Crc32(out), kBackupChecksumSize);
    return out;
}

std::variant<DeviceBackup, BackupDecodeFailure> DecodeBackup(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return Fail(BackupProblem::Empty, "is empty");
    const std::size_t magicSeen = std::min<std::size_t>(bytes.size(), kBackupMagicSize);
    if (std::memcmp(bytes.data(), kBackupMagic, magicSeen) != 0)
        return Fail(BackupProblem::Foreign, "is not a QRN4480 backup (it does not start with \"QRNBAK\")");
    if (bytes.size() < static_cast<std::size_t>(kBackupFixedHeadSize))
        return Fail(BackupProblem::Truncated, "is cut short: it holds only " + std::to_string(bytes.size()) + " bytes");
    const std::uint32_t format = GetLittleEndian(bytes, kBackupMagicSize, 2);
    if (format > kBackupFormatVersion)
        return Fail(BackupProblem::NewerFormat, "was made by a newer version of this program (backup format " +
                                                    std::to_string(format) + "; this version reads format " +
                                                    std::to_string(kBackupFormatVersion) + ")");
    if (format == 0) return Damaged("its format number is 0");
    const std::uint32_t length = GetLittleEndian(bytes, kBackupMagicSize + 2, 4);
    if (length < kBackupFixedHeadSize + kBackupChecksumSize || length > kMaxBackupFileSize)
        return Damaged("it gives its own length as " + std::to_string(length) + " bytes");
    if (bytes.size() < length)
        return Fail(BackupProblem::Truncated, "is cut short: it holds " + std::to_string(bytes.size()) + " of its " +
                                                  std::to_string(length) + " bytes");
    if (bytes.size() > length)
        return Fail(BackupProblem::TrailingData, "is damaged: unknown bytes follow the end of the backup");
    const auto body = bytes.first(length - kBackupChecksumSize);
    if (Crc32(body) != GetLittleEndian(bytes, body.size(), kBackupChecksumSize))
        return Fail(BackupProblem::Checksum, "is damaged: its checksum does not match its contents");
    return DecodeBody(body);
}

}  // namespace presets
