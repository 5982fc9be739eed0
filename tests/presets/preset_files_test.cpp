// The toolbar's file commands with the real editor: a loaded file sends every
// parameter, a refused or cancelled one changes and sends nothing.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "preset_rig.h"
#include "presets/preset_files.h"

using namespace presets;
using namespace presets_test;
using testing_support::Frame;
using testing_support::Hex;

namespace {

QByteArray ReadRaw(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteRaw(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray Raw(const model::PresetImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), model::kImageSize);
}

struct FilesRig : PresetRig {
    FilesRig() { QDir(appDir.path()).mkdir("PRESET"); }
    QTemporaryDir appDir;
    PresetFiles files{image, editor, sim.dialogs, appDir.path()};
};

TEST(PresetFiles, SaveThenLoadRestoresAll161BytesAndSendsEveryParameter) {
    FilesRig rig;
    const model::PresetImage saved = rig.image;
    const QString path = rig.appDir.filePath("PRESET/live.Fbk");
    rig.sim.dialogs.fileNames = {path};
    rig.files.savePresetFile();
    EXPECT_EQ(ReadRaw(path), Raw(saved));
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    EXPECT_TRUE(rig.sim.takeWrites().empty());
    const QString titleBefore = rig.editor.presetTitle();

    rig.image = VariedImage(9);
    rig.editor.fillFromImage();
    rig.sim.takeWrites();
    rig.library.presetTitle = U"7: KEEP";
    rig.sim.dialogs.fileNames = {path};
    rig.files.loadPresetFile();

    EXPECT_EQ(rig.image, saved) << "every byte, the spare one included";
    const auto frames = rig.sim.takeWrites();
    EXPECT_EQ(CountCommand(frames, 0x07), 24);
    EXPECT_EQ(CountCommand(frames, 0x0A), 8);
    EXPECT_EQ(CountCommand(frames, 0x31), 4);
    ASSERT_EQ(frames.size(), 36u);
    // Notches first, Left before Right, each with the file's codes.
    for (int n = 0; n < 24; ++n) {
        const auto codes = model::ReadNotchRecord(saved, n);
        EXPECT_EQ(Hex(frames[n]),
                  Hex(Frame({0x07, static_cast<std::uint8_t>(n / 12), static_cast<std::uint8_t>(n % 12),
                             static_cast<std::uint8_t>(codes.freq >> 8), static_cast<std::uint8_t>(codes.freq & 0xFF),
                             static_cast<std::uint8_t>(codes.width), static_cast<std::uint8_t>(codes.gain)})))
            << "notch " << n;
    }
    EXPECT_EQ(Hex(frames[24]), Hex(Frame({0x0A, 1, saved[76], saved[77], saved[78], saved[79], 0})));
    EXPECT_EQ(Hex(frames.back()), Hex(Frame({0x31, 1, 0, 0, saved[100], saved[101], 0})));

    EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from PC"));
    EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("live.Fbk"));
    EXPECT_EQ(rig.library.presetTitle, U"7: KEEP");
    EXPECT_EQ(rig.sim.dialogs.busyCount, 1);
    EXPECT_EQ(rig.sim.dialogs.busyDepth, 0);
    EXPECT_NE(titleBefore, rig.editor.presetTitle());

    // Both dialogs start in the Preset folder, whatever its case, with the one filter.
    ASSERT_EQ(rig.sim.dialogs.fileRequests.size(), 2u);
    for (const auto& request : rig.sim.dialogs.fileRequests) {
        EXPECT_EQ(request.folder, rig.appDir.filePath("PRESET"));
        EXPECT_EQ(request.filter, QStringLiteral("file preset (*.Fbk)"));
    }
}

TEST(PresetFiles, LoadingTheSameImageStillSaysWhereItCameFrom) {
    FilesRig rig;
    const QString path = rig.appDir.filePath("same.Fbk");
    ASSERT_TRUE(rig.files.saveToPath(path));
    rig.editor.setPresetSource("Preset loaded from Device");
    EXPECT_TRUE(rig.files.loadFromPath(path));
    EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from PC"));
    EXPECT_EQ(rig.sim.takeWrites().size(), 36u);
}

TEST(PresetFiles, NameWithoutExtensionAndLongerFile) {
    FilesRig rig;
    const QString bare = rig.appDir.filePath("PRESET/noext");
    rig.sim.dialogs.fileNames = {bare};
    rig.files.savePresetFile();
    EXPECT_EQ(QDir(rig.appDir.filePath("PRESET")).entryList(QDir::Files), QStringList{"noext"});

    const model::PresetImage other = VariedImage(4);
    const QString longer = rig.appDir.filePath("longer.Fbk");
    WriteRaw(longer, Raw(other) + QByteArray(500, '\x7F'));
    EXPECT_TRUE(rig.files.loadFromPath(longer));
    EXPECT_EQ(rig.image, other);
    EXPECT_EQ(rig.sim.takeWrites().size(), 36u);
}

TEST(PresetFiles, RefusedFilesChangeAndSendNothing) {
    FilesRig rig;
    const QString dir = rig.appDir.path();
    WriteRaw(dir + "/short.Fbk", Raw(VariedImage(5)).left(160));
    QByteArray damaged = Raw(VariedImage(5));
    damaged[29] = 3;  // frequency code above 729
    WriteRaw(dir + "/damaged.Fbk", damaged);
    QDir(dir).mkdir("folder.Fbk");

    struct Case {
        QString path;
        QString textStart;
    };
    const std::vector<Case> cases = {
        {dir + "/missing.Fbk", " File not found. Try again."},
        {dir + "/short.Fbk", dir + "/short.Fbk\nis not a preset file"},
        {dir + "/damaged.Fbk", dir + "/damaged.Fbk\nis damaged"},
        {dir + "/folder.Fbk", dir + "/folder.Fbk\nis a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const model::PresetImage before = rig.image;
        rig.sim.dialogs.shown.clear();
        rig.sim.dialogs.fileNames = {c.path};
        rig.files.loadPresetFile();
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
        EXPECT_TRUE(rig.sim.dialogs.shown[0].text.startsWith(c.textStart))
            << rig.sim.dialogs.shown[0].text.toStdString();
        EXPECT_EQ(rig.sim.dialogs.shown[0].title, QStringLiteral(" Error"));
        EXPECT_EQ(rig.image, before);
        EXPECT_TRUE(rig.sim.takeWrites().empty());
        EXPECT_NE(rig.editor.presetSource(), QStringLiteral("Preset loaded from PC"));
        EXPECT_EQ(rig.sim.dialogs.busyCount, 0);
        // A dropped file or a command-line path takes the same way.
        rig.sim.dialogs.shown.clear();
        EXPECT_FALSE(rig.files.loadFromPath(c.path));
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
        EXPECT_TRUE(rig.sim.dialogs.shown[0].text.startsWith(c.textStart));
    }
}

TEST(PresetFiles, CancelInEitherDialogDoesNothing) {
    FilesRig rig;
    const model::PresetImage before = rig.image;
    rig.sim.dialogs.fileNames = {QString(), QString()};
    rig.files.loadPresetFile();
    rig.files.savePresetFile();
    EXPECT_EQ(rig.sim.dialogs.fileRequests.size(), 2u);
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    EXPECT_EQ(rig.image, before);
    EXPECT_TRUE(rig.sim.takeWrites().empty());
    EXPECT_TRUE(QDir(rig.appDir.filePath("PRESET")).entryList(QDir::Files).isEmpty());
}

TEST(PresetFiles, SaveThatCannotCompleteIsReportedAndKeepsTheOldFile) {
    FilesRig rig;
    const QString target = rig.appDir.filePath("PRESET/kept.Fbk");
    const QByteArray old = Raw(VariedImage(6));
    WriteRaw(target, old);
    for (const QString& path : {rig.appDir.filePath("missing/kept.Fbk"), rig.appDir.filePath("PRESET")}) {
        rig.sim.dialogs.shown.clear();
        rig.sim.dialogs.fileNames = {path};
        rig.files.savePresetFile();
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u) << path.toStdString();
        EXPECT_TRUE(rig.sim.dialogs.shown[0].text.startsWith("The preset could not be saved as\n" + path));
    }
    EXPECT_EQ(ReadRaw(target), old);
    EXPECT_FALSE(QFile::exists(rig.appDir.filePath("missing")));
}

}  // namespace
