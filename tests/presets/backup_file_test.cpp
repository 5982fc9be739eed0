// .qrnbak files: the exact bytes of the header, a backup read back as it was
// written, every kind of bad file refused with the file's name and the
// reason, and a write that fails leaving nothing behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "backup_fixture.h"
#include "presets/backup_file_io.h"

using namespace presets;
using presets_test::Reseal;
using presets_test::SampleBackup;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kFirstPositionAt = 206;  // with a three-byte version text

void WriteRaw(const QString& path, const Bytes& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

}  // namespace

TEST(BackupFile, HeaderBytesAndChecksum) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(Bytes(check.begin(), check.end())), 0xCBF43926U);
    const Bytes bytes = EncodeBackup(SampleBackup());
    ASSERT_EQ(bytes.size(), 674U);
    const Bytes head = {'Q', 'R', 'N', 'B', 'A', 'K', '\r', '\n', 1, 0, 0xA2, 0x02, 0, 0};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 14), head);
    EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 34), "2026-12-08T10:00:00Z");
    EXPECT_EQ(std::string(bytes.begin() + 34, bytes.begin() + 46), std::string("\x03") + "1.0SIM 4480");
    EXPECT_EQ(bytes[kFirstPositionAt], 1);
    EXPECT_EQ(bytes[kFirstPositionAt + 9 + 160], 0) << "position 6: unused, no data";

    QTemporaryDir dir;
    const QString path = dir.filePath("device.qrnbak");
    ASSERT_FALSE(WriteBackupFile(path, SampleBackup()).has_value());
    const auto read = ReadBackupFile(path);
    ASSERT_TRUE(std::holds_alternative<DeviceBackup>(read));
    EXPECT_EQ(std::get<DeviceBackup>(read), SampleBackup());
}

TEST(BackupFile, RefusesEveryBadFileNamingItAndTheReason) {
    const Bytes good = EncodeBackup(SampleBackup());
    struct Case {
        const char* what;
        std::function<Bytes()> bytes;
        std::optional<BackupProblem> problem;
        std::string reason;
    };
    const auto changed = [&good](std::function<void(Bytes&)> change) {
        return [&good, change] {
            Bytes bytes = good;
            change(bytes);
            return bytes;
        };
    };
    const auto cut = [&good](std::size_t size) {
        return [&good, size] { return Bytes(good.begin(), good.begin() + size); };
    };
    const Case cases[] = {
        {"empty", [] { return Bytes{}; }, BackupProblem::Empty, "is empty"},
        {"a preset file", [] { return Bytes(161, 45); }, BackupProblem::Foreign,
         "is not a QRN4480 backup (it does not start with \"QRNBAK\")"},
        {"text line ends converted", changed([](Bytes& b) { b[6] = '\n'; }), BackupProblem::Foreign,
         "is not a QRN4480 backup (it does not start with \"QRNBAK\")"},
        {"newer format", changed([](Bytes& b) { b[8] = 2; }), BackupProblem::NewerFormat,
         "was made by a newer version of this program (backup format 2; this version reads format 1)"},
        {"cut in the magic", cut(5), BackupProblem::Truncated, "is cut short: it holds only 5 bytes"},
        {"cut in the length", cut(12), BackupProblem::Truncated, "is cut short: it holds only 12 bytes"},
        {"cut in a position", cut(300), BackupProblem::Truncated, "is cut short: it holds 300 of its 674 bytes"},
        {"checksum cut", cut(673), BackupProblem::Truncated, "is cut short: it holds 673 of its 674 bytes"},
        {"trailing bytes", changed([](Bytes& b) { b.push_back(0); }), BackupProblem::TrailingData,
         "is damaged: unknown bytes follow the end of the backup"},
        {"one bit off", changed([](Bytes& b) { b[400] ^= 0x10; }), BackupProblem::Checksum,
         "is damaged: its checksum does not match its contents"},
        {"checksum bit off", changed([](Bytes& b) { b.back() ^= 0x01; }), BackupProblem::Checksum,
         "is damaged: its checksum does not match its contents"},
        {"used flag 2", changed([](Bytes& b) {
             b[kFirstPositionAt] = 2;
             Reseal(b);
         }),
         BackupProblem::Damaged, "is damaged: the used flag of position 5 is 2, neither 0 nor 1"},
        {"format 0", changed([](Bytes& b) { b[8] = 0; }), BackupProblem::Damaged, "is damaged: its format number is 0"},
        {"a month 13", changed([](Bytes& b) {
             b[19] = '1', b[20] = '3';
             Reseal(b);
         }),
         BackupProblem::Damaged, "is damaged: its date is not a date"},
        {"a version that is not text", changed([](Bytes& b) {
             b[36] = 0x07;
             Reseal(b);
         }),
         BackupProblem::Damaged, "is damaged: its program version is not text"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath("x.qrnbak");
        WriteRaw(path, c.bytes());
        const auto read = ReadBackupFile(path);
        ASSERT_TRUE(std::holds_alternative<BackupFileFailure>(read)) << c.what;
        const auto& failure = std::get<BackupFileFailure>(read);
        EXPECT_EQ(failure.text.toStdString(), "\"" + path.toStdString() + "\" " + c.reason + ".") << c.what;
        EXPECT_EQ(failure.problem, c.problem) << c.what;
    }
    const auto folder = ReadBackupFile(dir.path());
    EXPECT_EQ(std::get<BackupFileFailure>(folder).text, "\"" + dir.path() + "\" is a folder, not a backup.");
}

TEST(BackupFile, AFailedWriteLeavesNothingAndSaysWhy) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("gone/device.qrnbak");
    const auto failure = WriteBackupFile(missing, SampleBackup());
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->text, "The backup could not be written to \"" + missing + "\" (the folder " +
                                 dir.filePath("gone") + " does not exist). No file was changed.");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("gone")));

    QDir(dir.path()).mkdir("locked");
    const QString old = dir.filePath("locked/device.qrnbak");
    const Bytes oldBytes = {1, 2, 3};
    WriteRaw(old, oldBytes);
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (geteuid() != 0) {  // root writes into any folder
        const auto locked = WriteBackupFile(old, SampleBackup());
        ASSERT_TRUE(locked.has_value());
        EXPECT_TRUE(locked->text.startsWith("The backup could not be written to \"" + old + "\" ("));
        EXPECT_EQ(QDir(dir.filePath("locked")).entryList(QDir::Files), QStringList{"device.qrnbak"});
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("\x01\x02\x03"));
    }
    QFile::setPermissions(dir.filePath("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
