#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <fstream>
#include <optional>

#include "connection/init_config.h"
#include "connection/init_config_file.h"

namespace {

std::string WriteFile(const QTemporaryDir& dir, const std::string& bytes) {
    const std::string path = dir.filePath("init.cfg").toStdString();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(InitConfig, OnlyTheFirstTwoBytesCountAsALittleEndianSignedNumber) {
    QTemporaryDir dir;
    struct Case {
        std::string bytes;
        std::int16_t port;
    };
    const Case cases[] = {
        {"", 0},
        {std::string("\x05", 1), 0},
        {std::string("\x05\x00", 2), 5},
        {std::string("\x23\x00\xFF\xFF\x01", 5), 35},
        {std::string("\x00\x01", 2), 256},
        {std::string("\xFF\xFF", 2), -1},
        {std::string("\x00\x80", 2), -32768},
    };
    for (const auto& c : cases) EXPECT_EQ(connection::ReadInitConfigFile(WriteFile(dir, c.bytes)), c.port);
    EXPECT_EQ(connection::ReadInitConfigFile(dir.filePath("missing.cfg").toStdString()), 0);
    EXPECT_EQ(connection::ReadInitConfigFile(dir.path().toStdString()), 0) << "a folder is not a file";
}

// The settings win; an old init.cfg counts only while they hold no port, and
// its port is carried over so that it survives a start from another folder.
TEST(InitConfig, SettingsFirstThenTheOldFileCarriedOver) {
    struct Case {
        std::optional<QVariant> setting;
        std::optional<std::string> file;
        std::int16_t read;
        std::int16_t readFromElsewhere;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 0, 0},
        {std::nullopt, std::string("\x05\x00", 2), 5, 5},
        {std::nullopt, std::string("\x05", 1), 0, 0},
        {std::nullopt, std::string("\x00\x00", 2), 0, 0},
        {QVariant(7), std::string("\x05\x00", 2), 7, 7},
        {QVariant(35), std::nullopt, 35, 35},
        {QVariant(0), std::string("\x05\x00", 2), 0, 0},
        {QVariant(-1), std::nullopt, -1, -1},
        {QVariant("COM3"), std::string("\x05\x00", 2), 0, 0},
        {QVariant(70000), std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        QTemporaryDir start;
        QTemporaryDir elsewhere;
        QSettings().clear();
        if (c.setting) QSettings().setValue("port", *c.setting);
        const std::string path = c.file ? WriteFile(start, *c.file) : start.filePath("init.cfg").toStdString();
        EXPECT_EQ(connection::ReadStoredPortNumber(path), c.read) << path;
        EXPECT_EQ(connection::ReadStoredPortNumber(elsewhere.filePath("init.cfg").toStdString()), c.readFromElsewhere);
        if (c.file) {
            EXPECT_EQ(ReadFile(path), *c.file) << "left as it was";
        }
    }
}

TEST(InitConfig, WritesTheSettingsAndNeverTheStartFolder) {
    QTemporaryDir dir;
    QSettings().clear();
    const std::string old = WriteFile(dir, std::string("\x05\x00", 2));
    ASSERT_TRUE(connection::WriteStoredPortNumber(34));
    EXPECT_EQ(connection::ReadStoredPortNumber(old), 34);
    EXPECT_EQ(connection::ReadInitConfigFile(old), 5);
    ASSERT_TRUE(connection::WriteStoredPortNumber(2));
    EXPECT_EQ(connection::ReadStoredPortNumber(dir.filePath("other.cfg").toStdString()), 2);
    EXPECT_EQ(connection::ReadInitConfigFile(old), 5);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.cfg")));
}

}  // namespace
