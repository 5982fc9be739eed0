#include "app/main_window.h"
#include "editor/device_transfer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "app/editor_frame.h"
#include "app/found_notches_window.h"
#include "app/offline_banner.h"
#include "app/settings_autosave.h"
#include "app/settings_offer.h"
#include "app/splash_window.h"
#include "app/theme.h"
#include "app/toolbar_icons.h"
#include "app/user_places.h"
#include "connection/connection_status.h"
#include "connection/init_config.h"
#include "connection/port_search.h"
#include "devlink/commands.h"
#include "devlink/memory_dump.h"
#include "editor/parameter_editor.h"
#include "editor/step_names.h"
#include "notch/search_frames.h"
#include "presets/preset_files.h"
#include "presets/store_preset_dialog.h"
#include "ui/window_fit.h"

namespace app {

MainWindow::MainWindow(Session& session, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      link_(link),
      dialogs_(dialogs),
      workWatch_(link.work().watch([this](devlink::DeviceWork::WorkEvent event) { onDeviceWork(event); })) {
    setObjectName("MDIFrmMain");
    setCaption(kMainCaption);
    editor_ = new editor::ParameterEditor(session_.image, link_, dialogs_);
    // The one editor fills the window: no frame of its own to minimize,
    // maximize or close.
    editorWindow_ = new EditorFrame(editor_, [this](bool next) {
        // Out of the editor, the toolbar is the next stop either way.
        toolbarButton(next ? kLoadPreset : kCopyRightToLeft)
            ->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    });
    setCentralWidget(editorWindow_);
    editorWindow_->hide();
    presetFiles_ =
        std::make_unique<presets::PresetFiles>(session_.image, *editor_, dialogs_, session_.applicationDir, this);
    ui::ResizeWithinScreen(*this, QSize(1280, 800));
    foundNotches_ = new FoundNotchesWindow(dialogs_, this);
    actions_ = CreateMainActions(this);
    menus_ = BuildMenuBar(*menuBar(), actions_);
    AddThemeMenu(*menus_.view);
    if (StoredTheme() != Theme::System) ApplyTheme(StoredTheme());
    buildToolbar();
    connectActions();
    // A running search also locks the six preset and copy buttons.
    editor_->setSearchLockExtension([this](bool lock) { lockToolbar(lock); });
    setAcceptDrops(true);

    connectionStatus_ = new QLabel(this);
    connectionStatus_->setObjectName("ConnectionStatus");
    connectionStatus_->setAccessibleName("Connection status");
    // While the remote is on, how many pages it serves; a click opens its window.
    remoteStatus_ = new QToolButton(this);
    remoteStatus_->setObjectName("RemoteStatus");
    remoteStatus_->setAutoRaise(true);
    remoteStatus_->setToolTip("Device > Remote control...");
    remoteStatus_->hide();
    connect(remoteStatus_, &QToolButton::clicked, actions_.remoteControl, &QAction::trigger);
    statusBar()->addPermanentWidget(remoteStatus_);
    statusBar()->addPermanentWidget(connectionStatus_);
    offlineBanner_ = new OfflineBanner(*this);
    // A file load or a copy sends dozens of frames: the bar shows how far.
    applyProgress_ = new QProgressBar(this);
    applyProgress_->setObjectName("ApplyProgress");
    applyProgress_->setAccessibleName("Sending to the device");
    applyProgress_->setMaximumWidth(200);
    applyProgress_->hide();
    statusBar()->addWidget(applyProgress_);
    editor_->setApplyProgress([this](int done, int total) {
        applyProgress_->setRange(0, total);
        applyProgress_->setValue(done);
        applyProgress_->setVisible(done < total);
    });
    reconnectTimer_.setObjectName("ReconnectTimer");
    reconnectTimer_.setInterval(connection::kReconnectEveryMs);
    connect(&reconnectTimer_, &QTimer::timeout, this, &MainWindow::tryReconnect);

    connectEditHistory();

    channelCompareTimer_.setObjectName("Timer3");
    connect(&channelCompareTimer_, &QTimer::timeout, this, [this] {
        checkChannelsDiffer();
        channelCompareTimer_.setInterval(kChannelCompareMs);
    });
}

MainWindow::~MainWindow() = default;

QString MainWindow::initConfigPath() const { return QDir(session_.startDir).filePath("init.cfg"); }

void MainWindow::setCaption(const char* caption) {
    caption_ = caption;
    refreshCaption();
    if (editor_) editor_->setDemoMode(caption_ == kDemoCaption);
}

QString MainWindow::shownCaption() const { return editor_ && editor_->settingsModified() ? caption_ + " *" : caption_; }

void MainWindow::refreshCaption() { setWindowTitle(shownCaption()); }

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != shownCaption()) refreshCaption();
    if (event->type() == QEvent::PaletteChange && toolbar_) paintToolbarIcons();
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
    const auto show = [this](std::span<const std::uint8_t, devlink::kReportSize> report) {
        editor_->applySearchReport(report);
        foundNotches_->take(report, session_.image);
    };
    if (!editor_->searchRunning()) {
        // Sent before the device heard the stop: shown all the same.
        while (link_.hasKeptReports() && link_.pollSearchReports(show)) {}
        link_.dropIdleInput();
        return;
    }
    while (link_.pollSearchReports(show)) {}
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (quitWithoutConfirm_ || linkClosed_) {
        event->accept();
        if (linkClosed_) QApplication::exit(0);
        return;
    }
    // A close during a search does nothing visible, whatever else runs.
    if (editor_->searchRunning()) {
        event->ignore();
        return;
    }
    // Never in the middle of a job: its frames would be cut off between a
    // store's data and its marker, and the questions below would ask about
    // half-sent settings. The close comes back once the device is free.
    if (!link_.idle()) {
        event->ignore();
        // Asked from the event loop: whatever pressed Quit (an accessibility
        // action waits for its reply) is answered at once.
        if (!closeWhenFree_ && !waitQuestionDue_) {
            waitQuestionDue_ = true;
            QTimer::singleShot(0, this, &MainWindow::askToWaitOrCancel);
        }
        return;
    }
    exitAsked_ = true;
    const bool sure =
        settleUnsavedSettings() && dialogs_.confirm(kExitQuestion, "Exit", ui::Answer::No, ui::Icon::None, this);
    exitAsked_ = false;
    if (!sure) {
        event->ignore();
        return;
    }
    if (autosave_) autosave_->discard();
    RememberWindowGeometry(*this);
    quitRequested_ = true;
    // The device is told before the editor ends, as a job of its own that
    // holds it; offline, nothing is sent and nothing waits.
    editor_->runTransfer("closing the connection", [this]() -> devlink::Task<void> {
        co_await link_.command(devlink::CloseLinkPayload());
        linkClosed_ = true;
    });
    if (!linkClosed_) {
        event->ignore();
        closeWhenFree_ = true;
        return;
    }
    event->accept();
    QApplication::exit(0);
}

void MainWindow::askToWaitOrCancel() {
    waitQuestionDue_ = false;
    if (link_.idle()) {
        close();  // it ended meanwhile: the usual questions
        return;
    }
    const QString what = QString::fromStdString(link_.work().busy() ? link_.work().what() : "sending an edit");
    QString question =
        QStringLiteral("The device is busy %1.\n\nWait until it has finished, or cancel it now?").arg(what);
    if (what == QLatin1String("storing a preset"))
        question += QStringLiteral(" A store cancelled now leaves its position unused, never half-written.");
    const bool wait =
        dialogs_.choose(question, "Exit", {"Wait", "Cancel it"}, ui::Answer::Yes, ui::Icon::Exclamation, this);
    if (!wait) link_.cancelJobs();
    if (link_.idle()) {
        // It ended while the question was open.
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    closeWhenFree_ = true;
    statusBar()->showMessage(
        wait ? QStringLiteral("The device is busy %1: the editor ends when it has finished.").arg(what)
             : QStringLiteral("Cancelling %1: the editor ends in a moment.").arg(what));
}

QString MainWindow::connectionStatus() const { return connectionStatus_->text(); }

void MainWindow::showRemoteStatus(bool on, int pages) {
    const QString text = QStringLiteral("Remote: %1 %2").arg(pages).arg(pages == 1 ? "phone" : "phones");
    remoteStatus_->setText(text);
    remoteStatus_->setAccessibleName(text);
    remoteStatus_->setVisible(on);
}

void MainWindow::showConnectionStatus() {
    const QString text = connection::ConnectionStatusText(link_);
    connectionStatus_->setText(text);
    // A label's text does not reach the accessibility bus; its description does.
    connectionStatus_->setAccessibleDescription(text);
    offlineBanner_->showState(link_.lost() && !link_.flags().demoMode, QString::fromStdString(link_.portDescription()),
                              lossReason_);
    emit connectionStatusChanged();
    actions_.connectDevice->setEnabled(link_.flags().demoMode || link_.lost());
}

QString MainWindow::offlineBannerText() const { return offlineBanner_->text(); }

void MainWindow::goOffline(const QString& why) {
    lossReason_ = why;
    // The device cannot be told; the editor just leaves the search. A search
    // started now would show as running on a device that hears nothing.
    bool wasSearching = false;
    for (QPushButton* search : editor_->controls().searchButtons) {
        if (!search->isChecked()) continue;
        search->click();
        wasSearching = true;
    }
    stopSearchOnReturn_ = stopSearchOnReturn_ || wasSearching;
    editor_->setSearchAvailable(false);
    statusBar()->showMessage(wasSearching ? kSearchStoppedOffline : kSearchLockedOffline);
    showConnectionStatus();
    reconnectTimer_.start();
}

void MainWindow::tryReconnect() {
    if (!link_.lost() || !link_.idle()) return;
    if (link_.finishReconnect()) {
        onReconnected();
        return;
    }
    link_.beginReconnect();
}

void MainWindow::onReconnected() {
    reconnectTimer_.stop();
    showConnectionStatus();
    // A start-up read cut short left the fixed list and the default preset:
    // the whole device is read, as at start-up.
    const DeviceRead read = deviceRead_ ? DeviceRead::CurrentSettings : DeviceRead::Everything;
    const QString where = QString::fromStdString(link_.portDescription());
    const bool stopSearch = std::exchange(stopSearchOnReturn_, false);
    link_.jobs().run([this, read, where, stopSearch]() -> devlink::Task<void> {
        // The window shows the search stopped; the device may have kept it
        // running if only the line went away: it is told, as the editor's
        // stop tells it.
        if (stopSearch) {
            const devlink::Payload stop = notch::SearchStopPayload(session_.image);
            co_await link_.command(stop);
            co_await link_.command(stop);
        }
        const SettingsOffer offer{session_, link_, *editor_, dialogs_, this};
        const OfferOutcome outcome =
            co_await ReadDeviceAndOfferSettings(offer, read, ReconnectQuestion(where), "Reconnected");
        deviceRead_ = deviceRead_ || outcome != OfferOutcome::NotRead;
        editor_->setSearchAvailable(true);
    });
}

}  // namespace app
