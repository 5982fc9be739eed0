#include "presets/restore_device_dialog.h"
#include "editor/device_transfer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "devlink/preset_block.h"
#include "model/preset_name.h"
#include "presets/backup_file_io.h"
#include "ui/transfer_progress.h"
#include "ui/window_fit.h"

namespace presets {
namespace {

constexpr char kTitle[] = "Restore device";
enum Column { kPosition, kInBackup, kOnDevice, kMatch, kOutcome, kColumns };

QString Shown(bool used, const std::u32string& name) {
    return used ? QString::fromStdU32String(model::PrintablePresetName(name)).trimmed() : QString("(empty)");
}

QString MatchText(PositionMatch match) {
    switch (match) {
    case PositionMatch::Same: return "same";
    case PositionMatch::Different: return "different";
    case PositionMatch::NeedsDeviceBlock: return "not compared";
    }
    return {};
}

}  // namespace

RestoreDeviceDialog::RestoreDeviceDialog(const QString& path, const DeviceBackup& backup,
                                         const BackupComparison& comparison, const DeviceBlocks& deviceBlocks,
                                         devlink::DeviceLink& link, model::PresetLibrary& library,
                                         ui::UserDialogs& dialogs, CurrentRestored onCurrentRestored, QWidget* parent)
    : QDialog(parent),
      backup_(backup),
      comparison_(comparison),
      deviceBlocks_(deviceBlocks),
      link_(link),
      library_(library),
      dialogs_(dialogs),
      onCurrentRestored_(std::move(onCurrentRestored)) {
    setObjectName("RestoreDevice");
    setWindowTitle(kTitle);
    auto* about = new QLabel(
        QString("Backup \"%1\", made %2 by version %3 of the editor, device program \"%4\".\n"
                "Tick the positions to write; the device's other positions stay as they are.")
            .arg(QDir::toNativeSeparators(path), QString::fromStdString(backup.created),
                 QString::fromStdString(backup.programVersion),
                 QString::fromStdU32String(model::PrintablePresetName(model::DecodePresetName(backup.programName)))
                     .trimmed()),
        this);
    about->setWordWrap(true);

    table_ = new QTableWidget(model::kUserPositions, kColumns, this);
    table_->setObjectName("RestorePositions");
    table_->setAccessibleName("Positions to restore");
    table_->setHorizontalHeaderLabels({"Position", "In the backup", "On the device", "", "Outcome"});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int slot = 0; slot < model::kUserPositions; ++slot) fillRow(slot);
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::itemChanged, this, [this] { updateRestoreButton(); });

    currentBox_ = new QCheckBox("Restore the current settings too", this);
    currentBox_->setObjectName("RestoreCurrentSettings");
    connect(currentBox_, &QCheckBox::toggled, this, [this] { updateRestoreButton(); });
    summary_ = new QLabel(this);
    summary_->setObjectName("RestoreSummary");
    summary_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    restore_ = buttons->addButton("Restore", QDialogButtonBox::ActionRole);
    restore_->setObjectName("RestoreButton");
    connect(restore_, &QPushButton::clicked, this, &RestoreDeviceDialog::restoreChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(table_);
    layout->addWidget(currentBox_);
    layout->addWidget(summary_);
    layout->addWidget(buttons);
    ui::ResizeWithinScreen(*this, QSize(720, 620));
    updateRestoreButton();
}

void RestoreDeviceDialog::fillRow(int slot) {
    const PositionComparison& c = comparison_[static_cast<std::size_t>(slot)];
    auto* position = new QTableWidgetItem(QString("%1").arg(slot + model::kFirstUserPosition, 2, 10, QChar('0')));
    position->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    // What differs is ticked at first: restoring the same bytes changes nothing.
    position->setCheckState(c.match == PositionMatch::Same ? Qt::Unchecked : Qt::Checked);
    table_->setItem(slot, kPosition, position);
    table_->setItem(slot, kInBackup, new QTableWidgetItem(Shown(c.fileUsed, c.fileName)));
    table_->setItem(slot, kOnDevice, new QTableWidgetItem(Shown(c.deviceUsed, c.deviceName)));
    table_->setItem(slot, kMatch, new QTableWidgetItem(MatchText(c.match)));
    table_->setItem(slot, kOutcome, new QTableWidgetItem());
}

// What the restore read back is what the device now holds: the library
// follows it, and a verified position holds the backup's block. Positions
// not written are as they were shown.
void RestoreDeviceDialog::showDeviceAfter(const RestoreReport& report) {
    DeviceBlocks verified;
    for (std::size_t slot = 0; slot < verified.size(); ++slot) {
        if (report.positions[slot] == RestoreOutcome::NotChosen || report.positions[slot] == RestoreOutcome::Cancelled)
            continue;
        if (report.positions[slot] == RestoreOutcome::RestoredAndVerified && backup_.positions[slot].used)
            verified[slot] = backup_.positions[slot].data;
        // A later restore compares with what was read back, or reads anew.
        deviceBlocks_[slot] = verified[slot];
    }
    const BackupComparison now = CompareWithDevice(backup_, library_, verified);
    for (int slot = 0; slot < model::kUserPositions; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        const RestoreOutcome outcome = report.positions[s];
        if (outcome == RestoreOutcome::NotChosen || outcome == RestoreOutcome::Cancelled) continue;
        comparison_[s] = now[s];
        // Read back and found otherwise, whatever the names say.
        if (outcome == RestoreOutcome::DiffersAfterWriting) comparison_[s].match = PositionMatch::Different;
        table_->item(slot, kOnDevice)->setText(Shown(comparison_[s].deviceUsed, comparison_[s].deviceName));
        table_->item(slot, kMatch)->setText(MatchText(comparison_[s].match));
    }
}

RestoreSelection RestoreDeviceDialog::selection() const {
    RestoreSelection chosen;
    for (int slot = 0; slot < model::kUserPositions; ++slot)
        chosen.positions[static_cast<std::size_t>(slot)] = table_->item(slot, kPosition)->checkState() == Qt::Checked;
    chosen.currentSettings = currentBox_->isChecked();
    return chosen;
}

void RestoreDeviceDialog::updateRestoreButton() {
    const RestoreSelection chosen = selection();
    const bool any = chosen.currentSettings ||
                     std::any_of(chosen.positions.begin(), chosen.positions.end(), [](bool on) { return on; });
    restore_->setEnabled(any);
}

void RestoreDeviceDialog::restoreChosen() {
    if (editor::RefusedWhileBusy(link_)) return;  // before its question
    const RestoreSelection chosen = selection();
    const auto count = std::count(chosen.positions.begin(), chosen.positions.end(), true);
    QString question = QString("Write %1 position(s)").arg(count);
    if (chosen.currentSettings) question += " and the current settings";
    question += " into the device? What they hold now will be lost.";
    if (!dialogs_.confirm(question, kTitle, ui::Answer::No, ui::Icon::Exclamation, this)) return;

    transferRunning_ = true;
    auto report = std::make_shared<RestoreReport>();
    const bool started = editor::RunWindowTransfer(
        this, link_, dialogs_, "restoring the device",
        [this, chosen, report]() -> devlink::Task<void> {
            ui::TransferProgressDialog progress(kTitle, "Writing and checking the chosen positions...", this);
            const TransferProgress shown = [&progress](int done, int total) { return progress.update(done, total); };
            *report = co_await RestoreDevice(link_, library_, backup_, chosen, shown, deviceBlocks_);
        },
        [this, report](bool ran) {
            transferRunning_ = false;
            if (ran) showOutcome(*report);
        });
    if (!started) transferRunning_ = false;
}

void RestoreDeviceDialog::showOutcome(const RestoreReport& report) {
    int verified = 0, failed = 0;
    for (int slot = 0; slot < model::kUserPositions; ++slot) {
        const RestoreOutcome outcome = report.positions[static_cast<std::size_t>(slot)];
        table_->item(slot, kOutcome)->setText(QString::fromStdString(RestorePositionText(report, slot)));
        if (outcome == RestoreOutcome::RestoredAndVerified)
            ++verified;
        else if (outcome != RestoreOutcome::NotChosen)
            ++failed;
    }
    QString text = QString("%1 position(s) restored and verified").arg(verified);
    if (failed > 0) text += QString(", %1 not").arg(failed);
    if (report.currentSettings != RestoreOutcome::NotChosen)
        text += QString("; current settings: %1").arg(RestoreOutcomeText(report.currentSettings));
    showDeviceAfter(report);
    summary_->setText(text + ".");
    summary_->setAccessibleDescription(summary_->text());
    if (report.currentSettings == RestoreOutcome::RestoredAndVerified ||
        report.currentSettings == RestoreOutcome::DiffersAfterWriting ||
        report.currentSettings == RestoreOutcome::WrittenNotVerified) {
        if (onCurrentRestored_) onCurrentRestored_(backup_.current);
    }
    if (report.result == RestoreResult::NoDevice)
        dialogs_.inform("There is no device to restore to: the editor is not connected.", kTitle, ui::Icon::Exclamation,
                        this);
}

void RestoreDeviceDialog::done(int result) {
    // Closing mid-restore would leave the job writing into a window gone.
    if (transferRunning_) {
        link_.work().refuse();
        return;
    }
    QDialog::done(result);
}

namespace {

// What the comparison before the window reads and the window then shows.
struct Comparing {
    QString path;
    DeviceBackup backup;
    BackupComparison comparison;
    DeviceBlocks blocks;
    bool cancelled = false;
};

}  // namespace

void RestoreDeviceFromFile(devlink::DeviceLink& link, model::PresetLibrary& library, ui::UserDialogs& dialogs,
                           const QString& folder, const RestoreDeviceDialog::CurrentRestored& onCurrentRestored,
                           QWidget* parent) {
    if (link.flags().demoMode || link.ended()) {
        dialogs.inform("There is no device to restore to: the editor is not connected.", kTitle, ui::Icon::Exclamation,
                       parent);
        return;
    }
    const QString path = dialogs.openFileName({kTitle, folder, "QRN4480 backup (*.qrnbak)"}, parent);
    if (path.isEmpty()) return;
    const auto read = ReadBackupFile(path);
    if (const auto* refused = std::get_if<BackupFileFailure>(&read)) {
        dialogs.inform(refused->text, kTitle, ui::Icon::Critical, parent);
        return;
    }
    auto state = std::make_shared<Comparing>();
    state->path = path;
    state->backup = std::get<DeviceBackup>(read);
    state->comparison = CompareWithDevice(state->backup, library);
    // Same names on both sides say nothing of the data: those blocks are
    // read first; the window opens once that is over, never inside it.
    editor::RunWindowTransfer(
        parent, link, dialogs, "comparing a backup with the device",
        [&link, state, parent]() -> devlink::Task<void> {
            int needed = 0;
            for (const auto& c : state->comparison) needed += c.match == PositionMatch::NeedsDeviceBlock;
            ui::TransferProgressDialog progress(kTitle, "Comparing the backup with the device...", parent);
            int done = 0;
            for (int slot = 0; slot < model::kUserPositions; ++slot) {
                state->cancelled = !progress.update(done, needed);
                if (state->cancelled) break;
                if (state->comparison[static_cast<std::size_t>(slot)].match != PositionMatch::NeedsDeviceBlock)
                    continue;
                model::PresetImage image{};
                const bool read = co_await devlink::ReadPresetBlockInto(
                    link, static_cast<std::uint8_t>(slot + model::kFixedPositions), image);
                if (!read) break;
                DeviceBlock block{};
                std::copy_n(image.begin(), block.size(), block.begin());
                state->blocks[static_cast<std::size_t>(slot)] = block;
                ++done;
            }
        },
        [&link, &library, &dialogs, state, onCurrentRestored, parent](bool ran) {
            // Cancelled: nothing was written, nothing to show. Lost: the link has said why.
            if (!ran || state->cancelled || link.ended()) return;
            state->comparison = CompareWithDevice(state->backup, library, state->blocks);
            auto* dialog = new RestoreDeviceDialog(state->path, state->backup, state->comparison, state->blocks, link,
                                                   library, dialogs, onCurrentRestored, parent);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->open();
        });
}

}  // namespace presets
