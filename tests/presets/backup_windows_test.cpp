// The Device menu's backup and restore as a user meets them: the file, the
// Cancel that leaves nothing, the refusal of a bad file before any frame,
// and the restore dialog's two sides and outcomes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "backup_fixture.h"
#include "preset_rig.h"
#include "presets/backup_file_io.h"
#include "presets/backup_to_file.h"
#include "presets/restore_device_dialog.h"

using namespace presets;
using presets_test::PresetRig;

namespace {

// The window of that name the call left open, if any.
QWidget* OpenWindow(const char* objectName) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == objectName && top->isVisible()) return top;
    return nullptr;
}

// Presses the progress window's Cancel while the device answers the first
// frame, as a user does while the transfer runs.
void CancelProgressAtFirstFrame(testing_support::SimRig& sim) {
    sim.device.setFrameObserver([](sim::Direction, std::span<const std::uint8_t>) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "TransferProgress" && top->isVisible())
                static_cast<QProgressDialog*>(top)->cancel();
    });
}

TEST(BackupWindows, BackUpWritesTheWholeDeviceAndCancelWritesNothing) {
    for (const bool cancel : {false, true}) {
        QTemporaryDir dir;
        PresetRig rig;
        rig.storeInDevice(0, presets_test::VariedImage(1), "  LIVE  ");
        const QString chosen = dir.filePath("show");  // the suffix is added
        rig.sim.dialogs.fileNames.push_back(chosen);
        if (cancel) CancelProgressAtFirstFrame(rig.sim);

        QString report;
        BackUpDeviceToFile(rig.sim.link, rig.sim.dialogs, dir.path(), nullptr,
                           [&report](const QString& done) { report = done; });
        const QString path = chosen + ".qrnbak";
        EXPECT_EQ(QFile::exists(path), !cancel) << cancel;
        EXPECT_EQ(report, cancel ? QString() : "Device backed up to " + path);
        if (cancel) continue;
        const auto read = ReadBackupFile(path);
        ASSERT_TRUE(std::holds_alternative<DeviceBackup>(read));
        const DeviceBackup& backup = std::get<DeviceBackup>(read);
        EXPECT_TRUE(backup.positions[0].used);
        EXPECT_EQ(backup.positions[0].data, presets_test::BlockOf(presets_test::VariedImage(1)));
        EXPECT_FALSE(backup.positions[1].used);
    }
}

TEST(BackupWindows, RestoreRefusesABadFileBeforeAnyFrame) {
    QTemporaryDir dir;
    const auto valid = EncodeBackup(presets_test::SampleBackup());
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty.qrnbak", {}},
        {"foreign.qrnbak", "just some text, not a backup"},
        {"cut.qrnbak", QByteArray(reinterpret_cast<const char*>(valid.data()), static_cast<int>(valid.size()) - 9)},
    };
    for (const Case& c : cases) {
        PresetRig rig;
        QFile file(dir.filePath(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        rig.sim.dialogs.fileNames.push_back(file.fileName());
        RestoreDeviceFromFile(rig.sim.link, rig.library, rig.sim.dialogs, dir.path(), {}, nullptr);
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(rig.sim.dialogs.shown[0].title, "Restore device");
        EXPECT_TRUE(rig.sim.dialogs.shown[0].text.contains(c.name)) << rig.sim.dialogs.shown[0].text.toStdString();
        EXPECT_TRUE(rig.sim.takeWrites().empty()) << c.name;
    }
}

TEST(BackupWindows, CancelWhileComparingEndsTheRestoreBeforeItsDialog) {
    QTemporaryDir dir;
    PresetRig rig;
    const QString path = dir.filePath("night.qrnbak");
    ASSERT_FALSE(WriteBackupFile(path, presets_test::SampleBackup()).has_value());
    rig.storeInDevice(0, presets_test::VariedImage(1), "  LIVE  ");  // same name: its block must be read
    rig.sim.dialogs.fileNames.push_back(path);
    CancelProgressAtFirstFrame(rig.sim);
    RestoreDeviceFromFile(rig.sim.link, rig.library, rig.sim.dialogs, dir.path(), {}, nullptr);
    EXPECT_EQ(OpenWindow("RestoreDevice"), nullptr);
    const auto frames = rig.sim.takeWrites();
    EXPECT_LE(frames.size(), 1u) << "no read after the one Cancel was pressed during";
}

TEST(BackupWindows, RestoreTicksWhatDiffersWritesItAndShowsTheCurrentSettings) {
    QTemporaryDir dir;
    PresetRig rig;
    const DeviceBackup backup = presets_test::SampleBackup();  // positions 5 and 7 used
    const QString path = dir.filePath("night.qrnbak");
    ASSERT_FALSE(WriteBackupFile(path, backup).has_value());
    // Position 5 as in the backup, 7 empty, 8 used only in the device.
    rig.storeInDevice(0, presets_test::VariedImage(1), "  LIVE  ");
    rig.storeInDevice(3, presets_test::VariedImage(9), " EXTRA  ");
    rig.sim.dialogs.fileNames.push_back(path);
    rig.sim.dialogs.answers.push_back(ui::Answer::Yes);

    std::optional<DeviceBlock> shownCurrent;
    RestoreDeviceFromFile(
        rig.sim.link, rig.library, rig.sim.dialogs, dir.path(),
        [&shownCurrent](const DeviceBlock& current) { shownCurrent = current; }, nullptr);
    auto* dialog = static_cast<RestoreDeviceDialog*>(OpenWindow("RestoreDevice"));
    ASSERT_NE(dialog, nullptr) << "the window opens once the comparison is over";
    QStringList shownRows, outcomes, deviceAfter;
    QTableWidget* table = dialog->table();
    for (int r : {0, 2, 3, 4})
        shownRows << QString("%1 %2 | %3 | %4 | %5")
                         .arg(table->item(r, 0)->text(), table->item(r, 0)->checkState() == Qt::Checked ? "[x]" : "[ ]",
                              table->item(r, 1)->text(), table->item(r, 2)->text(), table->item(r, 3)->text());
    dialog->currentSettingsBox()->setChecked(true);
    dialog->restoreButton()->click();
    for (int r : {0, 2, 3}) {
        outcomes << table->item(r, 4)->text();
        deviceAfter << table->item(r, 2)->text() + " | " + table->item(r, 3)->text();
    }
    const QString summary = dialog->findChild<QLabel*>("RestoreSummary")->text();
    dialog->accept();

    EXPECT_EQ(shownRows, QStringList({"05 [ ] | LIVE | LIVE | same", "07 [x] | CHURCH | (empty) | different",
                                      "08 [x] | (empty) | EXTRA | different", "09 [ ] | (empty) | (empty) | same"}));
    EXPECT_EQ(outcomes, QStringList({"", "Restored and verified", "Restored and verified"}));
    EXPECT_EQ(deviceAfter, QStringList({"LIVE | same", "CHURCH | same", "(empty) | same"}));
    EXPECT_EQ(summary, "2 position(s) restored and verified; current settings: Restored and verified.");
    EXPECT_EQ(rig.sim.memory.bytes()[0x0030 + 2], 0x55);
    EXPECT_NE(rig.sim.memory.bytes()[0x0030 + 3], 0x55);
    EXPECT_EQ(shownCurrent, backup.current);
    EXPECT_TRUE(rig.library.used[6]);
    EXPECT_FALSE(rig.library.used[7]);
}

}  // namespace
