// A .qrnbak file of any length and content, read by the program's own
// reader: it never crashes, a refusal names the file, and a backup that
// loads is written back to exactly the bytes it was read from.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <variant>

#include "presets/backup_file_io.h"
#include "scratch_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string path = fuzz::ScratchPath("device.qrnbak");
    fuzz::WriteScratch(path, data, size);
    const QString file = QString::fromStdString(path);

    const auto decoded = presets::DecodeBackup(bytes);
    const auto loaded = presets::ReadBackupFile(file);
    Require(decoded.index() == loaded.index());
    if (const auto* failure = std::get_if<presets::BackupFileFailure>(&loaded)) {
        Require(failure->text.startsWith("\"" + file + "\" "));
        return 0;
    }
    const auto& backup = std::get<presets::DeviceBackup>(loaded);
    Require(backup == std::get<presets::DeviceBackup>(decoded));
    const std::vector<std::uint8_t> again = presets::EncodeBackup(backup);
    Require(again.size() == size && std::equal(again.begin(), again.end(), data));
    return 0;
}
