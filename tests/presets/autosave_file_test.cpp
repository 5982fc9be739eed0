#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <variant>

#include "presets/autosave_file.h"
#include "presets/crc32.h"

using presets::AutosaveRefusal;

namespace {

using Bytes = std::vector<std::uint8_t>;

model::PresetImage DefaultPreset() {
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    return image;
}

// A good file's checksum again after `change`, so only the change is wrong.
Bytes Resealed(std::function<void(Bytes&)> change) {
    Bytes bytes = presets::EncodeAutosave(DefaultPreset());
    change(bytes);
    const std::uint32_t crc = presets::Crc32(std::span<const std::uint8_t>(bytes.data(), bytes.size() - 4));
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    return bytes;
}

}  // namespace

TEST(AutosaveFile, HeaderImageAndChecksumAsWritten) {
    const Bytes bytes = presets::EncodeAutosave(DefaultPreset());
    ASSERT_EQ(bytes.size(), 170u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 5), (Bytes{'Q', 'R', 'N', 'A', 1}));
    // CRC-32 as zlib and every archive tool compute it.
    Bytes known = presets::EncodeAutosave(model::PresetImage{});
    EXPECT_EQ(Bytes(known.end() - 4, known.end()), (Bytes{0x13, 0x82, 0x6B, 0xAA}));
}

TEST(AutosaveFile, RefusesEveryKindOfBadFile) {
    const model::PresetImage preset = DefaultPreset();
    const Bytes good = presets::EncodeAutosave(preset);
    struct Case {
        const char* what;
        Bytes bytes;
        std::optional<AutosaveRefusal> refusal;
    };
    Bytes flipped = good;
    flipped[40] ^= 0x01;
    Bytes longer = good;
    longer.push_back(0);
    const Case cases[] = {
        {"good", good, std::nullopt},
        {"empty", {}, AutosaveRefusal::WrongSize},
        {"magic only", {'Q', 'R', 'N', 'A'}, AutosaveRefusal::WrongSize},
        {"one byte short", Bytes(good.begin(), good.end() - 1), AutosaveRefusal::WrongSize},
        {"one byte long", longer, AutosaveRefusal::WrongSize},
        {"a preset file", Bytes(preset.begin(), preset.end()), AutosaveRefusal::NotAutosave},
        {"other kind", Resealed([](Bytes& b) { b[0] = 'X'; }), AutosaveRefusal::NotAutosave},
        {"version 2", Resealed([](Bytes& b) { b[4] = 2; }), AutosaveRefusal::NewerVersion},
        {"version 0", Resealed([](Bytes& b) { b[4] = 0; }), AutosaveRefusal::NewerVersion},
        {"a flipped bit", flipped, AutosaveRefusal::Damaged},
        {"frequency code 730", Resealed([](Bytes& b) { b[5 + 29] = 2, b[5 + 30] = 0xDA; }),
         AutosaveRefusal::CodeOutOfRange},
        {"gain code 46", Resealed([](Bytes& b) { b[5 + 28] = 46; }), AutosaveRefusal::CodeOutOfRange},
    };
    for (const auto& c : cases) {
        const auto decoded = presets::DecodeAutosave(c.bytes);
        if (!c.refusal) {
            ASSERT_TRUE(std::holds_alternative<model::PresetImage>(decoded)) << c.what;
            EXPECT_EQ(std::get<model::PresetImage>(decoded), DefaultPreset()) << c.what;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<AutosaveRefusal>(decoded)) << c.what;
        EXPECT_EQ(std::get<AutosaveRefusal>(decoded), *c.refusal) << c.what;
    }
}

TEST(AutosaveFile, WritesWholeIntoAFolderItMakesAndReadsBack) {
    const QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("a/b/kept.qrna");
    EXPECT_FALSE(presets::ReadAutosave(path).has_value()) << "no file: nothing to offer";
    model::PresetImage image = DefaultPreset();
    image[160] = 0x5A;
    ASSERT_TRUE(presets::WriteAutosave(path, image));
    const auto read = presets::ReadAutosave(path);
    ASSERT_TRUE(read && std::holds_alternative<model::PresetImage>(*read));
    EXPECT_EQ(std::get<model::PresetImage>(*read), image);
    EXPECT_EQ(QDir(dir.path() + "/a/b").entryList(QDir::Files).size(), 1) << "no temporary file left";

    const QString blocked = QDir(dir.path()).filePath("file/kept.qrna");
    QFile plain(QDir(dir.path()).filePath("file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(presets::WriteAutosave(blocked, image)) << "a file where the folder should be";
}
