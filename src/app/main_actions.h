#pragma once
// Every command of the main window as one QAction: the menu bar and the
// toolbar show the same objects, so a text, a shortcut or a lock is set in
// one place and cannot differ between the two.
#include <QList>
#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace app {

struct MainActions {
    // File
    QAction* loadPreset = nullptr;
    QAction* savePreset = nullptr;
    QAction* exportGraph = nullptr;
    QAction* exportResponses = nullptr;
    QAction* quit = nullptr;
    // Device
    QAction* storePreset = nullptr;
    QAction* readPreset = nullptr;
    QAction* backUpDevice = nullptr;
    QAction* restoreDevice = nullptr;
    // The editor's three search buttons and its link box, checkable; each
    // clicks its control (ControlAction), so the frames, the locks and the
    // refusals are the editor's.
    std::array<QAction*, 3> search{};
    QAction* linkChannels = nullptr;
    QAction* connectDevice = nullptr;  // from demo mode or offline to a device
    QAction* remoteControl = nullptr;  // the web remote's window; main() connects it
    // Edit
    QAction* copyLeftToRight = nullptr;
    QAction* copyRightToLeft = nullptr;
    // View
    QAction* deviceLog = nullptr;
    QAction* foundNotches = nullptr;  // the searches' ring-out log
    // Help
    QAction* keyboardShortcuts = nullptr;
    QAction* userGuide = nullptr;
    QAction* about = nullptr;

    // What a running search locks: everything that would change the
    // settings under it or send frames between its reports.
    QList<QAction*> lockedBySearch() const;
};

struct MainMenus {
    QMenu* file = nullptr;
    QMenu* device = nullptr;
    QMenu* edit = nullptr;
    QMenu* view = nullptr;
    QMenu* help = nullptr;
};

// The actions, owned by `owner`; nothing is connected yet.
MainActions CreateMainActions(QObject* owner);
// Exactly File, Device, Edit, View and Help, in that order.
MainMenus BuildMenuBar(QMenuBar& bar, const MainActions& actions);

}  // namespace app
