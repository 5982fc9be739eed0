#pragma once
// MDIFrmMain: the frame of the program. Its load runs the start-up (port
// search, demo mode, memory dump) and its close request ends the program.
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/main_actions.h"
#include "app/session.h"
#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

class QLabel;
class QProgressBar;
class QToolBar;
class QToolButton;
class QMimeData;

namespace editor {
class ParameterEditor;
}
namespace presets {
class PresetFiles;
}
namespace connection {
struct PortSearchResult;
}

namespace app {

class FoundNotchesWindow;
class OfflineBanner;
class SettingsAutosave;
struct ToolbarEntry;
class SplashWindow;

inline constexpr char kMainCaption[] = "QRN4480 - feedback eliminator";
inline constexpr char kDemoCaption[] = "QRN4480 - feedback eliminator - demo mode";
inline constexpr char kDemoQuestion[] = "COM not found, do you want continue in demo mode?";
inline constexpr char kPresetFromDevice[] = "Preset loaded from Device";
// Where the settings came from when no device gave them.
inline constexpr char kDemoSettingsSource[] = "Default settings (demo mode)";
inline constexpr char kDefaultSettingsSource[] = "Default settings: the device was not read";
inline constexpr char kSearchStoppedOffline[] =
    "The feedback search was stopped: the device went away. It stays locked until the device answers again.";
inline constexpr char kSearchLockedOffline[] = "The feedback search stays locked until the device answers again.";
inline constexpr int kChannelCompareMs = 3000;
inline constexpr char kExitQuestion[] = "               Are you sure ? ";
inline constexpr char kUnsavedTitle[] = "Unsaved settings";
inline constexpr char kUnsavedQuestion[] =
    "The settings differ from the last ones saved, loaded, read or stored.\n\nSave them to a file first?";

// Toolbar buttons by their index in the button array; the others have no action.
enum ToolbarButton {
    kLoadPreset = 0,
    kSavePreset = 1,
    kStorePreset = 2,
    kReadPreset = 3,
    kCopyLeftToRight = 7,
    kCopyRightToLeft = 8
};

class MainWindow : public QMainWindow {
    Q_OBJECT
signals:
    // The status bar's connection text (and the offline banner) changed.
    void connectionStatusChanged();

public:
    MainWindow(Session& session, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up after the splash. False when the user declined demo mode
    // and the program is to end. `demoOnly` skips the port search and the
    // question (the --demo option) and leaves init.cfg as it is.
    devlink::Task<bool> load(SplashWindow& splash, bool demoOnly = false);

    editor::ParameterEditor& editor() { return *editor_; }
    void checkChannelsDiffer();
    void showPresetTitle();
    bool quitWithoutConfirm() const { return quitWithoutConfirm_; }
    bool quitRequested() const { return quitRequested_; }
    // Its Exit questions are open or answered: nothing more may start on
    // the device (the pages are refused), or it would run past CloseLink.
    bool closing() const { return exitAsked_ || quitRequested_; }
    const QTimer& channelCompareTimer() const { return channelCompareTimer_; }

    // Takes waiting device reports while a search runs; drops what arrives
    // while none does; takes the answer to a reconnecting probe.
    void pollSearchReports();

    // The link was lost: the editor stays, any search is over, and the
    // window tries the port again every two seconds.
    // The link was lost (`why`, as the link says it): the editor goes on
    // offline, its search stopped and locked until the device answers.
    void goOffline(const QString& why = {});
    // "Connected: port 5 (/dev/ttyUSB0)", "Offline: ...", "Demo mode".
    QString connectionStatus() const;
    // "Remote: 1 phone" in the status bar while the web remote is on.
    void showRemoteStatus(bool on, int pages);
    const QTimer& reconnectTimer() const { return reconnectTimer_; }
    // The banner's words while offline; empty while it is hidden.
    QString offlineBannerText() const;
    // One reconnect attempt: takes a late answer to the last probe, or
    // probes again.
    void tryReconnect();
    // Device > Connect...: leaves demo mode, or the lost device, when a
    // device answers.
    void connectToDevice();
    // Ctrl+L opens the device log through this.
    void setDeviceLogOpener(std::function<void()> open) { openDeviceLog_ = std::move(open); }

    const MainActions& actions() const { return actions_; }
    const MainMenus& menus() const { return menus_; }
    // Toolbar1's buttons by index (0..3, 7, 8).
    QToolButton* toolbarButton(int index) const;
    void onToolbarButton(int index);
    // Opens a preset file as the load command does (drop, command line).
    void openPresetFile(const QString& path);
    // What a drop would open: one local file, and only while loading is
    // allowed (not during a search). Empty otherwise.
    QString droppablePresetFile(const QMimeData* mime) const;
    // What the searches found, kept from the start of the run.
    FoundNotchesWindow& foundNotches() const { return *foundNotches_; }
    // Null when the session keeps no settings file.
    SettingsAutosave* autosave() const { return autosave_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Asked when the editor is to end while a job runs.
    void askToWaitOrCancel();
    // The title stays the caption as written (" *" added while unsaved);
    // a new palette repaints the toolbar's icons.
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void enterDemoMode(SplashWindow& splash);
    devlink::Task<void> dumpDeviceMemory(SplashWindow& splash);
    devlink::Task<void> reportPermissionProblems(connection::PortSearchResult search);
    void buildToolbar();
    std::vector<ToolbarEntry> toolbarEntries() const;
    // Drawn in the palette's colours: again whenever the palette changes.
    void paintToolbarIcons();
    void connectActions();
    void showKeyboardShortcuts();
    void showAbout();
    void exportGraph();
    void exportResponses();
    void backUpDevice();
    void restoreDevice();
    void copyChannel(int index);
    void lockToolbar(bool locked);
    // The device actions follow both locks: a running search and a transfer.
    void refreshDeviceActions();
    void onDeviceWork(devlink::DeviceWork::WorkEvent event);
    void showConnectionStatus();
    void setCaption(const char* caption);
    // The caption, with " *" while the settings are not saved.
    QString shownCaption() const;
    void refreshCaption();
    void connectEditHistory();
    // Before the exit question: unsaved settings may be saved first. False
    // when the program is to stay open.
    bool settleUnsavedSettings();
    // The close that waited for device work, once any box saying what the
    // work came to has been answered.
    void closeOnceSaid();
    // Opened from the event loop (never inside device work), deleted on close.
    static void openWindow(QDialog* dialog);
    devlink::Task<void> startEditHistory();
    // The device answers again: its settings are read, and when they differ
    // from the editor's the user chooses which to keep.
    void onReconnected();
    QString initConfigPath() const;

    Session& session_;
    devlink::DeviceLink& link_;
    ui::UserDialogs& dialogs_;
    editor::ParameterEditor* editor_ = nullptr;
    // The editor in the window's centre, hidden while it is filled.
    QWidget* editorWindow_;
    std::unique_ptr<presets::PresetFiles> presetFiles_;
    MainActions actions_;
    MainMenus menus_;
    QPointer<QDialog> shortcutsDialog_;
    std::unique_ptr<SettingsAutosave> autosave_;
    QToolBar* toolbar_ = nullptr;
    std::map<int, QToolButton*> buttons_;
    QTimer channelCompareTimer_;
    QTimer reconnectTimer_;
    QToolButton* remoteStatus_ = nullptr;
    QLabel* connectionStatus_ = nullptr;
    OfflineBanner* offlineBanner_ = nullptr;
    FoundNotchesWindow* foundNotches_ = nullptr;
    QProgressBar* applyProgress_ = nullptr;
    QString caption_;
    // The start-up read reached its end: the editor holds the device's
    // settings. When it did not, a reconnect reads the device anew.
    bool deviceRead_ = false;
    std::function<void()> openDeviceLog_;
    bool quitWithoutConfirm_ = false;
    bool quitRequested_ = false;
    bool exitAsked_ = false;
    QString lossReason_;
    // A search ran when the device went away: it may still run there.
    bool stopSearchOnReturn_ = false;
    bool searchLocked_ = false;
    // Quit was asked while a transfer ran: the window closes once it is over.
    bool closeWhenFree_ = false;
    bool linkClosed_ = false;  // the device was told the editor ends
    bool waitQuestionDue_ = false;
    devlink::DeviceWork::Watch workWatch_;
};

}  // namespace app
