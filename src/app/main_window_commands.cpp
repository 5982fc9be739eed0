// The main window's commands: the toolbar and menus over one set of
// actions, and what each command does.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/control_action.h"
#include "app/found_notches_window.h"
#include "app/help_windows.h"
#include "app/main_window.h"
#include "app/toolbar_icons.h"
#include "app/user_guide_window.h"
#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"
#include "presets/backup_to_file.h"
#include "presets/preset_files.h"
#include "presets/read_preset_dialog.h"
#include "presets/restore_device_dialog.h"
#include "presets/store_preset_dialog.h"
#include "qrn_version.h"

namespace app {

std::vector<ToolbarEntry> MainWindow::toolbarEntries() const {
    return {
        {kLoadPreset, actions_.loadPreset, ToolbarIcon::LoadFromPc},
        {kSavePreset, actions_.savePreset, ToolbarIcon::SaveToPc},
        {kStorePreset, actions_.storePreset, ToolbarIcon::StoreToDevice},
        {kReadPreset, actions_.readPreset, ToolbarIcon::ReadFromDevice},
        {kCopyLeftToRight, actions_.copyLeftToRight, ToolbarIcon::CopyLeftToRight},
        {kCopyRightToLeft, actions_.copyRightToLeft, ToolbarIcon::CopyRightToLeft},
    };
}

void MainWindow::buildToolbar() {
    toolbar_ = addToolBar("Toolbar1");
    toolbar_->setObjectName("Toolbar1");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(28, 28));
    for (const ToolbarEntry& entry : toolbarEntries()) {
        auto* button = new QToolButton(toolbar_);
        button->setObjectName(QString("Command1_%1").arg(entry.index));
        // The button shows the menu's action: its shortcut, tool tip and
        // lock are the action's.
        button->setDefaultAction(entry.action);
        button->setAccessibleName(entry.action->toolTip());
        button->setAccessibleDescription(entry.action->shortcut().toString(QKeySequence::NativeText));
        button->setFocusPolicy(Qt::TabFocus);
        toolbar_->addWidget(button);
        buttons_[entry.index] = button;
    }
    paintToolbarIcons();
}

void MainWindow::paintToolbarIcons() {
    for (const ToolbarEntry& entry : toolbarEntries()) entry.action->setIcon(MakeToolbarIcon(entry.icon, palette()));
}

QToolButton* MainWindow::toolbarButton(int index) const {
    const auto found = buttons_.find(index);
    return found == buttons_.end() ? nullptr : found->second;
}

void MainWindow::lockToolbar(bool locked) {
    searchLocked_ = locked;
    refreshDeviceActions();
}

void MainWindow::refreshDeviceActions() {
    const bool busy = link_.work().busy();
    for (QAction* action : actions_.lockedBySearch())
        action->setEnabled(!searchLocked_ && (!busy || action == actions_.savePreset));
}

void MainWindow::onDeviceWork(devlink::DeviceWork::WorkEvent event) {
    if (event == devlink::DeviceWork::WorkEvent::Refused) {
        // Said where it does not stop the transfer, as a locked button would.
        QApplication::beep();
        statusBar()->showMessage(editor::DeviceBusyText(link_.work()));
        return;
    }
    refreshDeviceActions();
    // A hold ends before its job does; the job's end is told once more.
    if (event == devlink::DeviceWork::WorkEvent::Free && closeWhenFree_ && !link_.jobs().busy()) {
        closeWhenFree_ = false;
        statusBar()->clearMessage();
        // From the outer event loop, not from inside the transfer's end.
        QTimer::singleShot(0, this, &MainWindow::closeOnceSaid);
    }
}

void MainWindow::closeOnceSaid() {
    // What the transfer came to is said once it is over: the usual questions
    // come after that box, not on top of it, where a key meant for it would
    // answer them.
    // Once Exit was answered Yes and CloseLink has gone, nothing is left to ask.
    auto* box = quitRequested_ ? nullptr : qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box) {
        connect(box, &QDialog::finished, this, [this] { QTimer::singleShot(0, this, &MainWindow::closeOnceSaid); },
                Qt::SingleShotConnection);
        return;
    }
    close();
}

void MainWindow::connectActions() {
    const std::pair<QAction*, int> toolbarCommands[] = {
        {actions_.loadPreset, kLoadPreset},           {actions_.savePreset, kSavePreset},
        {actions_.storePreset, kStorePreset},         {actions_.readPreset, kReadPreset},
        {actions_.copyLeftToRight, kCopyLeftToRight}, {actions_.copyRightToLeft, kCopyRightToLeft},
    };
    for (const auto& [action, index] : toolbarCommands)
        connect(action, &QAction::triggered, this, [this, index = index] { onToolbarButton(index); });
    connect(actions_.quit, &QAction::triggered, this, &QWidget::close);
    connect(actions_.backUpDevice, &QAction::triggered, this, &MainWindow::backUpDevice);
    connect(actions_.restoreDevice, &QAction::triggered, this, &MainWindow::restoreDevice);
    connect(actions_.connectDevice, &QAction::triggered, this, &MainWindow::connectToDevice);
    const editor::EditorControls& controls = editor_->controls();
    for (std::size_t k = 0; k < actions_.search.size(); ++k)
        BindActionToControl(*actions_.search[k], *controls.searchButtons[k]);
    BindActionToControl(*actions_.linkChannels, *controls.linkBox);
    connect(actions_.exportGraph, &QAction::triggered, this, &MainWindow::exportGraph);
    connect(actions_.exportResponses, &QAction::triggered, this, &MainWindow::exportResponses);
    connect(actions_.deviceLog, &QAction::triggered, this, [this] {
        if (openDeviceLog_) openDeviceLog_();
    });
    connect(actions_.foundNotches, &QAction::triggered, this, [this] {
        foundNotches_->show();
        foundNotches_->raise();
        foundNotches_->activateWindow();
    });
    connect(actions_.keyboardShortcuts, &QAction::triggered, this, &MainWindow::showKeyboardShortcuts);
    connect(actions_.userGuide, &QAction::triggered, this, [this] { ShowUserGuide(this); });
    connect(actions_.about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::onToolbarButton(int index) {
    // Before any question or file dialog: a box opened during a transfer
    // would stop it halfway until it is answered.
    if (index != kSavePreset && editor::RefusedWhileBusy(link_)) return;
    switch (index) {
    case kLoadPreset: presetFiles_->loadPresetFile(); break;
    case kSavePreset: presetFiles_->savePresetFile(); break;
    // The preset windows open from the event loop and hold nothing: edits
    // from elsewhere go out while one stands open; their Store and Read
    // start transfers of their own.
    case kStorePreset:
        openWindow(new presets::StorePresetDialog(session_.library, session_.image, link_, *editor_, dialogs_, this));
        break;
    case kReadPreset:
        openWindow(new presets::ReadPresetDialog(session_.library, session_.image, link_, *editor_, dialogs_, this));
        break;
    case kCopyLeftToRight:
    case kCopyRightToLeft: copyChannel(index); break;
    default: break;
    }
}

void MainWindow::openWindow(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void MainWindow::openPresetFile(const QString& path) { presetFiles_->loadFromPath(path); }

QString MainWindow::droppablePresetFile(const QMimeData* mime) const {
    // A drop during a search would load a preset under it; refuse it as the
    // locked load button does.
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !actions_.loadPreset->isEnabled()) return {};
    const QUrl url = mime->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppablePresetFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppablePresetFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    openPresetFile(path);
}

void MainWindow::copyChannel(int index) {
    const bool leftToRight = index == kCopyLeftToRight;
    const QString text =
        leftToRight ? "Copy Channel Left to Right, Are you sure ?" : "Copy Channel Right to Left, Are you sure ?";
    const QString title = leftToRight ? "Copy Left to Right" : "Copy Right to Left";
    if (!dialogs_.confirm(text, title, ui::Answer::Yes, ui::Icon::None, this)) return;
    editor_->runTransfer("copying a channel", [this, leftToRight]() -> devlink::Task<void> {
        if (leftToRight)
            co_await editor_->copyLeftToRight();
        else
            co_await editor_->copyRightToLeft();
    });
}

namespace {

// What the user typed, with the suffix added when it was left off.
QString WithSuffix(const QString& path, const QString& suffix) {
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

}  // namespace

void MainWindow::exportGraph() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString path = dialogs_.saveFileName({"Export Graph", folder, "PNG image (*.png)"}, this);
    if (path.isEmpty()) return;
    path = WithSuffix(path, ".png");
    if (!editor_->exportGraphPng(path))
        dialogs_.inform("The graph could not be written to \"" + QDir::toNativeSeparators(path) + "\".", "Export Graph",
                        ui::Icon::Critical, this);
}

void MainWindow::exportResponses() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = dialogs_.saveFileName({"Export Responses", folder, "CSV file (*.csv)"}, this);
    if (path.isEmpty()) return;
    path = WithSuffix(path, ".csv");
    if (!editor_->exportResponsesCsv(path))
        dialogs_.inform("The responses could not be written to \"" + QDir::toNativeSeparators(path) + "\".",
                        "Export Responses", ui::Icon::Critical, this);
}

namespace {

QString BackupFolder() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

}  // namespace

void MainWindow::backUpDevice() {
    if (editor::RefusedWhileBusy(link_)) return;
    presets::BackUpDeviceToFile(link_, dialogs_, BackupFolder(), this,
                                [this](const QString& report) { statusBar()->showMessage(report); });
}

void MainWindow::restoreDevice() {
    if (editor::RefusedWhileBusy(link_)) return;
    presets::RestoreDeviceFromFile(
        link_, session_.library, dialogs_, BackupFolder(),
        [this](const presets::DeviceBlock& current) {
            // The device runs them already: shown, not sent again; one
            // step, so an undo sends the settings they replaced.
            editor_->beginStep();
            std::copy(current.begin(), current.end(), session_.image.begin());
            editor_->fillFromImage();
            editor_->endStep("Restore current settings");
            editor_->redrawGraph();
        },
        this);
}

void MainWindow::showKeyboardShortcuts() {
    if (!shortcutsDialog_) {
        shortcutsDialog_ = new KeyboardShortcutsDialog(ShortcutRows(*menuBar()), this);
        shortcutsDialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    shortcutsDialog_->show();
    shortcutsDialog_->raise();
    shortcutsDialog_->activateWindow();
}

void MainWindow::showAbout() {
    AboutFacts facts;
    facts.version = kQrnVersion;
    facts.qtVersion = qVersion();
    if (!link_.flags().demoMode && deviceRead_)
        facts.deviceProgram = QString::fromStdU32String(session_.library.programName).trimmed();
    facts.connection = connectionStatus();
    dialogs_.inform(AboutText(facts), "About", ui::Icon::Information, this);
}

}  // namespace app
