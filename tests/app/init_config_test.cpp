#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "app/init_config.h"

namespace {

std::string WriteFile(const QTemporaryDir& dir, const std::string& bytes) {
    const std::string path = dir.filePath("init.cfg").toStdString();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
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
    for (const auto& c : cases) EXPECT_EQ(app::ReadStoredPortNumber(WriteFile(dir, c.bytes)), c.port);
    EXPECT_EQ(app::ReadStoredPortNumber(dir.filePath("missing.cfg").toStdString()), 0);
    EXPECT_EQ(app::ReadStoredPortNumber(dir.path().toStdString()), 0) << "a folder is not a file";
}

TEST(InitConfig, WritesExactlyTwoBytes) {
    QTemporaryDir dir;
    const std::string path = WriteFile(dir, "a much longer old file");
    ASSERT_TRUE(app::WriteStoredPortNumber(path, 34));
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, std::string("\x22\x00", 2));
    EXPECT_FALSE(app::WriteStoredPortNumber(dir.filePath("no/such/folder/init.cfg").toStdString(), 1));
}

}  // namespace
