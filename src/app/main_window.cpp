#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/init_config.h"
#include "app/port_search.h"
#include "app/splash_window.h"
#include "app/toolbar_icons.h"
#include "app/user_places.h"
#include "devlink/commands.h"
#include "devlink/memory_dump.h"
#include "devlink/preset_block.h"
#include "editor/parameter_editor.h"
#include "presets/preset_files.h"
#include "presets/read_preset_dialog.h"
#include "presets/store_preset_dialog.h"

namespace app {

MainWindow::MainWindow(Session& session, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), session_(session), link_(link), dialogs_(dialogs) {
    setObjectName("MDIFrmMain");
    setCaption(kMainCaption);
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("MdiArea");
    setCentralWidget(mdi_);
    editor_ = new editor::ParameterEditor(session_.image, link_, dialogs_);
    editorWindow_ = mdi_->addSubWindow(editor_);
    editorWindow_->setWindowTitle(editor_->windowTitle());
    editorWindow_->hide();
    presetFiles_ =
        std::make_unique<presets::PresetFiles>(session_.image, *editor_, dialogs_, session_.applicationDir, this);
    resize(1280, 800);
    buildToolbar();
    // A running search also locks the six preset and copy buttons.
    editor_->setSearchLockExtension([this](bool lock) { lockToolbar(lock); });
    setAcceptDrops(true);

    connectionStatus_ = new QLabel(this);
    connectionStatus_->setObjectName("ConnectionStatus");
    connectionStatus_->setAccessibleName("Connection status");
    statusBar()->addPermanentWidget(connectionStatus_);
    reconnectTimer_.setObjectName("ReconnectTimer");
    reconnectTimer_.setInterval(kReconnectMs);
    connect(&reconnectTimer_, &QTimer::timeout, this, &MainWindow::tryReconnect);

    auto* deviceLog = new QAction("Device log", this);
    deviceLog->setObjectName("DeviceLogAction");
    deviceLog->setShortcut(QKeySequence("Ctrl+L"));
    connect(deviceLog, &QAction::triggered, this, [this] {
        if (openDeviceLog_) openDeviceLog_();
    });
    addAction(deviceLog);

    channelCompareTimer_.setObjectName("Timer3");
    connect(&channelCompareTimer_, &QTimer::timeout, this, [this] {
        checkChannelsDiffer();
        channelCompareTimer_.setInterval(kChannelCompareMs);
    });
}

MainWindow::~MainWindow() = default;

QString MainWindow::initConfigPath() const { return QDir(session_.startDir).filePath("init.cfg"); }

bool MainWindow::load(SplashWindow& splash, bool demoOnly) {
    link_.flags().demoMode = false;
    quitWithoutConfirm_ = false;

    if (demoOnly) {
        link_.flags().demoMode = true;
        enterDemoMode(splash);
    } else {
        splash.showStatus(kSearchingStatus);
        const int stored = ReadStoredPortNumber(initConfigPath().toStdString());
        const PortSearchResult search = SearchDevicePorts(link_, stored);
        if (!search.found) {
            reportPermissionProblems(search);
            if (!dialogs_.confirm(kDemoQuestion, "Warning", ui::Answer::Yes, ui::Icon::Exclamation)) {
                quitWithoutConfirm_ = true;
                return false;
            }
            link_.flags().demoMode = true;
            enterDemoMode(splash);
        }
        WriteStoredPortNumber(static_cast<std::int16_t>(search.portNumber));
    }

    dumpDeviceMemory(splash);

    link_.flags().suppressSend = false;
    channelCompareTimer_.start(kChannelCompareMs);
    session_.library.presetTitle.clear();
    showPresetTitle();
    editor_->setPresetSource(kPresetFromDevice);

    editorWindow_->showMaximized();
    showConnectionStatus();
    quitRequested_ = false;
    return true;
}

void MainWindow::reportPermissionProblems(const PortSearchResult& search) {
    for (int port : search.permissionDenied) {
        const QString name = QString::fromStdString(link_.ports().name(port).value_or(""));
        dialogs_.inform(PortPermissionMessage(port, name), "Serial port not accessible", ui::Icon::Exclamation, this);
    }
    for (int port : search.inUse)
        dialogs_.inform(QString::fromStdString(PortInUseMessage(port, link_.ports().name(port).value_or(""))),
                        "Serial port in use", ui::Icon::Exclamation, this);
}

void MainWindow::setCaption(const char* caption) {
    caption_ = caption;
    setWindowTitle(caption_);
    if (editor_) editor_->setDemoMode(caption_ == kDemoCaption);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != caption_) setWindowTitle(caption_);
}

void MainWindow::enterDemoMode(SplashWindow& splash) {
    splash.showStatus(devlink::kDumpStatus);
    session_.library.resetToFixedOnly();
    editorWindow_->hide();
    editor_->fillFromDefaultImage();  // leaves sending suppressed until start-up ends
    editorWindow_->show();
    setCaption(kDemoCaption);
    editor_->redrawGraph();
}

void MainWindow::dumpDeviceMemory(SplashWindow& splash) {
    if (!link_.flags().demoMode) {
        devlink::DumpHooks hooks;
        hooks.status = [&splash](const std::string& text) { splash.showStatus(QString::fromStdString(text)); };
        hooks.progress = [&splash](int done, int total) { splash.showProgress(done, total); };
        hooks.fillEditor = [this] {
            editorWindow_->hide();
            editor_->fillFromImage();
            editorWindow_->show();
        };
        deviceRead_ = devlink::DumpDeviceMemory(link_, session_.image, session_.library, hooks);
        setCaption(kMainCaption);
        if (!deviceRead_) {
            // Nothing half-read is shown: the fixed list and the default
            // preset until the device answers again.
            session_.library.resetToFixedOnly();
            editor_->fillFromDefaultImage();
        }
    }
    editor_->redrawGraph();
}

void MainWindow::checkChannelsDiffer() { editor_->checkChannelsDiffer(); }

void MainWindow::showPresetTitle() {
    editor_->showPresetTitle(QString::fromStdU32String(model::PrintablePresetName(session_.library.presetTitle)));
}

void MainWindow::pollSearchReports() {
    if (link_.reconnecting()) {
        if (link_.finishReconnect()) onReconnected();
        return;
    }
    if (!editor_->searchRunning()) {
        link_.dropIdleInput();
        return;
    }
    while (link_.pollSearchReports(
        [this](std::span<const std::uint8_t, devlink::kReportSize> report) { editor_->applySearchReport(report); })) {}
}

}  // namespace app

namespace app {
namespace {

struct ToolbarEntry {
    int index;
    const char* toolTip;
    ToolbarIcon icon;
    QKeySequence shortcut;
};

// Built on demand: key sequences want a running application.
std::vector<ToolbarEntry> ToolbarButtons() {
    return {
        {kLoadPreset, "Load Preset from PC", ToolbarIcon::LoadFromPc, QKeySequence::Open},
        {kSavePreset, "Save Preset to PC", ToolbarIcon::SaveToPc, QKeySequence::Save},
        {kStorePreset, "Store Preset to device", ToolbarIcon::StoreToDevice, QKeySequence("Ctrl+D")},
        {kReadPreset, "Read Preset from device", ToolbarIcon::ReadFromDevice, QKeySequence("Ctrl+R")},
        {kCopyLeftToRight, "Copy Left to Right", ToolbarIcon::CopyLeftToRight, QKeySequence("Ctrl+Shift+R")},
        {kCopyRightToLeft, "Copy Right to Left", ToolbarIcon::CopyRightToLeft, QKeySequence("Ctrl+Shift+L")},
    };
}

}  // namespace

void MainWindow::buildToolbar() {
    toolbar_ = addToolBar("Toolbar1");
    toolbar_->setObjectName("Toolbar1");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(28, 28));
    for (const ToolbarEntry& entry : ToolbarButtons()) {
        auto* button = new QToolButton(toolbar_);
        button->setObjectName(QString("Command1_%1").arg(entry.index));
        button->setIcon(MakeToolbarIcon(entry.icon));
        const QString shortcut = entry.shortcut.toString(QKeySequence::NativeText);
        button->setAccessibleName(entry.toolTip);
        button->setAccessibleDescription(shortcut);
        button->setToolTip(entry.toolTip);
        button->setShortcut(entry.shortcut);
        button->setFocusPolicy(Qt::TabFocus);
        toolbar_->addWidget(button);
        buttons_[entry.index] = button;
        const int index = entry.index;
        connect(button, &QToolButton::clicked, this, [this, index] { onToolbarButton(index); });
    }
}

QToolButton* MainWindow::toolbarButton(int index) const {
    const auto found = buttons_.find(index);
    return found == buttons_.end() ? nullptr : found->second;
}

void MainWindow::lockToolbar(bool locked) {
    for (int index : {0, 1, 2, 3, 7, 8}) buttons_.at(index)->setEnabled(!locked);
}

void MainWindow::onToolbarButton(int index) {
    switch (index) {
    case kLoadPreset: presetFiles_->loadPresetFile(); break;
    case kSavePreset: presetFiles_->savePresetFile(); break;
    case kStorePreset: {
        presets::StorePresetDialog dialog(session_.library, session_.image, link_, *editor_, dialogs_, this);
        dialog.exec();
        break;
    }
    case kReadPreset: {
        presets::ReadPresetDialog dialog(session_.library, session_.image, link_, *editor_, dialogs_, this);
        dialog.exec();
        break;
    }
    case kCopyLeftToRight:
    case kCopyRightToLeft: copyChannel(index); break;
    default: break;
    }
}

void MainWindow::openPresetFile(const QString& path) { presetFiles_->loadFromPath(path); }

QString MainWindow::droppablePresetFile(const QMimeData* mime) const {
    // A drop during a search would load a preset under it; refuse it as the
    // locked load button does.
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !buttons_.at(kLoadPreset)->isEnabled()) return {};
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
    ui::BusyPointer busy(dialogs_);
    if (leftToRight)
        editor_->copyLeftToRight();
    else
        editor_->copyRightToLeft();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (quitWithoutConfirm_) {
        event->accept();
        return;
    }
    if (editor_->searchRunning() || !dialogs_.confirm(kExitQuestion, "Exit", ui::Answer::No, ui::Icon::None, this)) {
        event->ignore();
        return;
    }
    RememberWindowGeometry(*this);
    // Offline, nothing is sent and nothing waits.
    link_.sendCommand(devlink::CloseLinkPayload());
    quitRequested_ = true;
    event->accept();
    QApplication::exit(0);
}

QString MainWindow::connectionStatus() const { return connectionStatus_->text(); }

void MainWindow::showConnectionStatus() {
    const QString where = QString::fromStdString(link_.portDescription());
    QString text;
    if (link_.flags().demoMode)
        text = "Demo mode";
    else if (link_.ended())
        text = "Offline: " + where + " not answering, reconnecting";
    else
        text = "Connected: " + where;
    connectionStatus_->setText(text);
    // A label's text does not reach the accessibility bus; its description does.
    connectionStatus_->setAccessibleDescription(text);
}

void MainWindow::goOffline() {
    // The device cannot be told; the editor just leaves the search.
    for (QPushButton* search : editor_->controls().searchButtons)
        if (search->isChecked()) search->click();
    showConnectionStatus();
    reconnectTimer_.start();
}

void MainWindow::tryReconnect() {
    if (!link_.ended() || link_.inExchange()) return;
    if (link_.finishReconnect()) {
        onReconnected();
        return;
    }
    link_.beginReconnect();
}

void MainWindow::onReconnected() {
    reconnectTimer_.stop();
    showConnectionStatus();
    if (!deviceRead_) {
        ui::BusyPointer busy(dialogs_);
        devlink::DumpHooks hooks;
        hooks.fillEditor = [this] { editor_->fillFromImage(); };
        deviceRead_ = devlink::DumpDeviceMemory(link_, session_.image, session_.library, hooks);
        editor_->redrawGraph();
        return;
    }
    model::PresetImage device = session_.image;
    {
        ui::BusyPointer busy(dialogs_);
        if (!devlink::ReadPresetBlockInto(link_, devlink::kCurrentSettingsBlock, device)) return;
    }
    if (std::equal(device.begin(), device.begin() + model::kBlockSize, session_.image.begin())) return;
    const QString question = "The device on " + QString::fromStdString(link_.portDescription()) +
                             " answers again, but its settings differ from the editor's.\n\n"
                             "Send the editor's settings to the device?\n"
                             "(No takes the device's settings into the editor.)";
    ui::BusyPointer busy(dialogs_);
    if (dialogs_.confirm(question, "Reconnected", ui::Answer::Yes, ui::Icon::Exclamation, this)) {
        editor_->applyPresetToEditor();
        return;
    }
    std::copy_n(device.begin(), model::kBlockSize, session_.image.begin());
    editor_->fillFromImage();
}

}  // namespace app
