#include "presets/autosave_file.h"

#include "presets/atomic_file.h"
#include "presets/crc32.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace presets {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'Q', 'R', 'N', 'A'};
constexpr int kImageAt = 5;
constexpr std::size_t kChecksumAt = kImageAt + model::kImageSize;

}  // namespace

std::vector<std::uint8_t> EncodeAutosave(const model::PresetImage& image) {
    std::vector<std::uint8_t> bytes(kMagic.begin(), kMagic.end());
    bytes.push_back(kAutosaveVersion);
    bytes.insert(bytes.end(), image.begin(), image.end());
    const std::uint32_t crc = Crc32(bytes);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
    return bytes;
}

std::variant<model::PresetImage, AutosaveRefusal> DecodeAutosave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= kMagic.size() && !std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
        return AutosaveRefusal::NotAutosave;
    if (bytes.size() != static_cast<std::size_t>(kAutosaveSize)) return AutosaveRefusal::WrongSize;
    if (bytes[4] != kAutosaveVersion) return AutosaveRefusal::NewerVersion;
    std::uint32_t stored = 0;
    for (std::size_t i = 4; i-- > 0;) stored = (stored << 8) | bytes[kChecksumAt + i];
    if (Crc32(bytes.first(kChecksumAt)) != stored) return AutosaveRefusal::Damaged;
    model::PresetImage image{};
    std::copy_n(bytes.begin() + kImageAt, image.size(), image.begin());
    if (!model::ImageCodesInRange(image)) return AutosaveRefusal::CodeOutOfRange;
    return image;
}

QString AutosaveRefusalText(AutosaveRefusal refusal) {
    switch (refusal) {
    case AutosaveRefusal::Unreadable: return QStringLiteral("the file cannot be read");
    case AutosaveRefusal::WrongSize: return QStringLiteral("the file is cut short or too long");
    case AutosaveRefusal::NotAutosave: return QStringLiteral("the file is not one of the editor's kept settings");
    case AutosaveRefusal::NewerVersion: return QStringLiteral("the file comes from another version of the editor");
    case AutosaveRefusal::Damaged: return QStringLiteral("the file is damaged");
    case AutosaveRefusal::CodeOutOfRange: return QStringLiteral("the file holds a value out of range");
    }
    return {};
}

bool WriteAutosave(const QString& path, const model::PresetImage& image) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    return !ReplaceFileContents(path, EncodeAutosave(image)).has_value();
}

std::optional<std::variant<model::PresetImage, AutosaveRefusal>> ReadAutosave(const QString& path) {
    QFile file(path);
    if (!file.exists()) return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) return AutosaveRefusal::Unreadable;
    // One byte more than the format holds is enough to tell a longer file.
    const QByteArray data = file.read(kAutosaveSize + 1);
    return DecodeAutosave(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
}

}  // namespace presets
