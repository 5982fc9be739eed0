// .Fbk files without a window: format checks, every way a read or a write
// can fail, and the start folder.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "preset_image_fixture.h"
#include "presets/preset_file_format.h"
#include "presets/preset_file_io.h"
#include "presets/preset_files.h"

using namespace presets;
using presets_test::VariedImage;

namespace {

QByteArray Bytes(const model::PresetImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), model::kImageSize);
}

void WriteRaw(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

QByteArray ReadRaw(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool RunningAsRoot() { return geteuid() == 0; }

TEST(ParsePresetFile, LengthAndRanges) {
    const model::PresetImage good = VariedImage();
    struct Case {
        std::string what;
        QByteArray bytes;
        PresetFileCheck check;
    };
    auto with = [&](int offset, std::uint8_t value) {
        QByteArray b = Bytes(good);
        b[offset] = static_cast<char>(value);
        return b;
    };
    const std::vector<Case> cases = {
        {"empty", {}, PresetFileCheck::TooShort},
        {"160 bytes", Bytes(good).left(160), PresetFileCheck::TooShort},
        {"161 bytes", Bytes(good), PresetFileCheck::Ok},
        {"longer", Bytes(good) + QByteArray(40, '\xFF'), PresetFileCheck::Ok},
        {"gain 46", with(28, 46), PresetFileCheck::Damaged},
        {"gain 45", with(28, 45), PresetFileCheck::Ok},
        {"width 4 on the last Right notch", with(155, 4), PresetFileCheck::Damaged},
        {"Num notch automatic 0", with(76, 0), PresetFileCheck::Damaged},
        {"Num notch automatic 13", with(156, 13), PresetFileCheck::Damaged},
        {"Num notch automatic 12", with(156, 12), PresetFileCheck::Ok},
        {"sensitivity 16", with(79, 16), PresetFileCheck::Damaged},
        {"spare byte anything", with(160, 0xFF), PresetFileCheck::Ok},
        {"uninterpreted bytes anything", with(90, 0xFF), PresetFileCheck::Ok},
    };
    for (const Case& c : cases) {
        const auto content = ParsePresetFile(std::span(reinterpret_cast<const std::uint8_t*>(c.bytes.constData()),
                                                       static_cast<std::size_t>(c.bytes.size())));
        EXPECT_EQ(content.check, c.check) << c.what;
        if (c.check == PresetFileCheck::Ok) {
            EXPECT_EQ(Bytes(content.image), c.bytes.left(161)) << c.what;
        }
    }
    // Frequency codes: 729 is the last, 730 the first past the table.
    for (const auto& [code, check] : {std::pair{729, PresetFileCheck::Ok}, std::pair{730, PresetFileCheck::Damaged}}) {
        QByteArray b = Bytes(good);
        b[29 + 80] = static_cast<char>(code >> 8);
        b[30 + 80] = static_cast<char>(code & 0xFF);
        const auto content =
            ParsePresetFile(std::span(reinterpret_cast<const std::uint8_t*>(b.constData()), std::size_t{161}));
        EXPECT_EQ(content.check, check) << "frequency " << code;
    }
}

TEST(PresetFileIo, ReadRefusalsNameTheFileAndTheReason) {
    QTemporaryDir dir;
    const model::PresetImage good = VariedImage();
    WriteRaw(dir.filePath("short.Fbk"), Bytes(good).left(100));
    QByteArray damaged = Bytes(good);
    damaged[28] = 99;
    WriteRaw(dir.filePath("damaged.Fbk"), damaged);
    QDir(dir.path()).mkdir("folder.Fbk");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.Fbk")).constData(), 0600), 0);

    struct Case {
        QString path;
        QString text;
    };
    const std::vector<Case> cases = {
        {dir.filePath("missing.Fbk"), " File not found. Try again."},
        {dir.filePath("short.Fbk"),
         dir.filePath("short.Fbk") + "\nis not a preset file: it holds 100 bytes, a preset file holds 161."},
        {dir.filePath("damaged.Fbk"),
         dir.filePath("damaged.Fbk") +
             "\nis damaged: some of its values lie outside their ranges. Nothing was loaded."},
        {dir.filePath("folder.Fbk"), dir.filePath("folder.Fbk") + "\nis a folder, not a preset file."},
        {dir.filePath("pipe.Fbk"), dir.filePath("pipe.Fbk") + "\nis not a regular file."},
    };
    for (const Case& c : cases) {
        const auto read = ReadPresetFile(c.path);
        ASSERT_TRUE(std::holds_alternative<PresetFileFailure>(read)) << c.path.toStdString();
        const auto box = PresetFileBox(std::get<PresetFileFailure>(read));
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.title, QStringLiteral(" Error"));
        EXPECT_EQ(box.icon, ui::Icon::Exclamation);
        EXPECT_EQ(box.buttons, ui::Buttons::Ok);
    }
}

TEST(PresetFileIo, UnreadableFileIsReported) {
    if (RunningAsRoot()) GTEST_SKIP() << "root reads any file; the folder case covers an open that fails";
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.Fbk");
    WriteRaw(path, Bytes(VariedImage()));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions{}));
    const auto read = ReadPresetFile(path);
    ASSERT_TRUE(std::holds_alternative<PresetFileFailure>(read));
    EXPECT_TRUE(std::get<PresetFileFailure>(read).text.startsWith(path + "\ncannot be read ("));
}

// Holds the process's file size limit low, so that writing a preset fails
// half way even for root; the signal that would end the process is ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit low = saved_;
        low.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &low);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(PresetFileIo, FailedSaveIsReportedAndLeavesTheOldFileAsItWas) {
    QTemporaryDir dir;
    const model::PresetImage fresh = VariedImage(1);
    const QByteArray old = Bytes(VariedImage(2));

    const QString kept = dir.filePath("kept.Fbk");
    WriteRaw(kept, old);
    {
        FileSizeLimit limit(100);
        const auto failure = WritePresetFile(kept, fresh);
        ASSERT_TRUE(failure.has_value()) << "a write cut short";
        EXPECT_TRUE(failure->text.startsWith("The preset could not be saved as\n" + kept + "\n("))
            << failure->text.toStdString();
    }
    EXPECT_EQ(ReadRaw(kept), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.Fbk"}) << "no half-written file left";

    const QString missing = dir.filePath("no-such-folder/x.Fbk");
    EXPECT_TRUE(WritePresetFile(missing, fresh).has_value());
    EXPECT_FALSE(QFile::exists(missing));

    QDir(dir.path()).mkdir("taken.Fbk");
    const auto onFolder = WritePresetFile(dir.filePath("taken.Fbk"), fresh);
    ASSERT_TRUE(onFolder.has_value());
    EXPECT_EQ(onFolder->text, "The preset could not be saved as\n" + dir.filePath("taken.Fbk") +
                                  "\n(that name is a folder).\nNo file was changed.");
    EXPECT_EQ(PresetFileBox(*onFolder).title, QStringLiteral(" Error"));
    EXPECT_EQ(PresetFileBox(*onFolder).icon, ui::Icon::Critical);
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.Fbk")).isDir());

    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.Fbk")).constData(), 0600), 0);
    EXPECT_TRUE(WritePresetFile(dir.filePath("pipe.Fbk"), fresh).has_value());
    EXPECT_FALSE(QFileInfo(dir.filePath("pipe.Fbk")).isFile());

    if (!RunningAsRoot()) {
        QFile::setPermissions(kept, QFileDevice::ReadOwner);
        EXPECT_TRUE(WritePresetFile(kept, fresh).has_value()) << "a write-protected file stays protected";
        EXPECT_EQ(ReadRaw(kept), old);
    }
}

}  // namespace
