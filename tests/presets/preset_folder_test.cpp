// Where preset files go: the program's own Preset folder only when it is there
// and may be written, else the user's folder, made on the first save.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "presets/preset_folder.h"

using namespace presets;

namespace {

const QString kUserFolder = "/nonexistent/QRN4480 Presets";

TEST(PresetFolder, TheProgramsFolderMatchedWithoutRegardToCaseElseTheUsers) {
    struct Case {
        QStringList folders;
        QStringList files;
        QString expected;  // empty: the user's folder
    };
    const std::vector<Case> cases = {
        {{"Preset"}, {}, "Preset"},
        {{"preset"}, {}, "preset"},
        {{"PRESET", "Other"}, {}, "PRESET"},
        {{"preset", "Preset"}, {}, "Preset"},  // the exact spelling first
        {{}, {}, ""},                          // none: never the program's own folder
        {{"Presets"}, {"Preset"}, ""},         // a file of that name is no folder
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        for (const QString& f : c.folders) QDir(dir.path()).mkdir(f);
        for (const QString& f : c.files) QFile(dir.filePath(f)).open(QIODevice::WriteOnly);
        const QString expected = c.expected.isEmpty() ? kUserFolder : dir.filePath(c.expected);
        EXPECT_EQ(PresetFolder(dir.path(), kUserFolder), expected) << c.folders.join(',').toStdString();
    }
}

TEST(PresetFolder, AReadOnlyProgramFolderGivesTheUsers) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Preset");
    QFile::setPermissions(dir.filePath("Preset"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(PresetFolder(dir.path(), kUserFolder), kUserFolder);
}

TEST(PresetFolder, DialogsStartInTheLastFolderElseTheUsersMadeOnlyForSaving) {
    struct Case {
        bool lastExists;
        bool forSaving;
        bool expectLast;
        bool userFolderMade;
    };
    const Case cases[] = {
        {true, false, true, false},
        {true, true, true, false},
        {false, false, false, false},  // opening starts in the documents folder
        {false, true, false, true},
    };
    for (const Case& c : cases) {
        QTemporaryDir program;
        QTemporaryDir documents;
        QTemporaryDir last;
        const QString user = documents.filePath("QRN4480 Presets");
        RememberPresetFolder(c.lastExists ? last.path() : last.filePath("gone"));
        const QString start = DialogStartFolder(program.path(), c.forSaving, user);
        const QString expected = c.expectLast ? last.path() : c.userFolderMade ? user : documents.path();
        EXPECT_EQ(start, expected) << c.lastExists << c.forSaving;
        EXPECT_EQ(QDir(user).exists(), c.userFolderMade);
        EXPECT_TRUE(QDir(program.path()).isEmpty()) << "nothing beside the program";
    }
    QSettings().clear();
}

TEST(PresetFolder, TheUsersFolderIsInTheDocumentsFolder) {
    EXPECT_EQ(UserPresetFolder(), QDir::home().filePath("Documents/QRN4480 Presets"));
}

}  // namespace
