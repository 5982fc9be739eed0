#include "app/main_actions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace app {
namespace {

QAction* MakeAction(QObject* owner, const char* objectName, const QString& text, const QKeySequence& shortcut = {},
                    const QString& toolTip = {}) {
    auto* action = new QAction(text, owner);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    if (!toolTip.isEmpty()) action->setToolTip(toolTip);
    return action;
}

QMenu* AddMenu(QMenuBar& bar, const char* objectName, const QString& title, const QList<QAction*>& actions) {
    QMenu* menu = bar.addMenu(title);
    menu->setObjectName(objectName);
    for (QAction* action : actions) {
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
    }
    return menu;
}

}  // namespace

QList<QAction*> MainActions::lockedBySearch() const {
    return {loadPreset,   savePreset,    storePreset,     readPreset,
            backUpDevice, restoreDevice, copyLeftToRight, copyRightToLeft};
}

MainActions CreateMainActions(QObject* owner) {
    MainActions a;
    // The tool tips are the toolbar's own texts; the menu texts add the
    // mnemonic and the dots of a command that asks before it acts.
    a.loadPreset =
        MakeAction(owner, "LoadPresetAction", "&Load Preset from PC...", QKeySequence::Open, "Load Preset from PC");
    a.savePreset =
        MakeAction(owner, "SavePresetAction", "&Save Preset to PC...", QKeySequence::Save, "Save Preset to PC");
    a.exportGraph = MakeAction(owner, "ExportGraphAction", "Export &Graph as PNG...");
    a.exportResponses = MakeAction(owner, "ExportResponsesAction", "Export &Responses as CSV...");
    a.quit = MakeAction(owner, "QuitAction", "&Quit", QKeySequence("Ctrl+Q"));
    a.storePreset = MakeAction(owner, "StorePresetAction", "&Store Preset to device...", QKeySequence("Ctrl+D"),
                               "Store Preset to device");
    a.readPreset = MakeAction(owner, "ReadPresetAction", "&Read Preset from device...", QKeySequence("Ctrl+R"),
                              "Read Preset from device");
    a.backUpDevice = MakeAction(owner, "BackUpDeviceAction", "&Back up device...", QKeySequence("Ctrl+Shift+B"));
    a.restoreDevice = MakeAction(owner, "RestoreDeviceAction", "Res&tore device...");
    // The controls' own captions (a doubled ampersand shows as one). Keys
    // a number box does not take for itself, so they work wherever the
    // focus is.
    a.search[0] = MakeAction(owner, "SearchBothAction", "Search Feedback L&&R", QKeySequence("F5"));
    a.search[1] = MakeAction(owner, "SearchLeftAction", "Search Feedback L", QKeySequence("F6"));
    a.search[2] = MakeAction(owner, "SearchRightAction", "Search Feedback R", QKeySequence("F7"));
    a.linkChannels = MakeAction(owner, "LinkChannelsAction", "Link channel Left && Right", QKeySequence("F8"));
    for (QAction* toggle : {a.search[0], a.search[1], a.search[2], a.linkChannels}) toggle->setCheckable(true);
    a.connectDevice = MakeAction(owner, "ConnectDeviceAction", "&Connect...");
    a.remoteControl = MakeAction(owner, "RemoteControlAction", "Re&mote control...");
    a.copyLeftToRight = MakeAction(owner, "CopyLeftToRightAction", "Copy &Left to Right...",
                                   QKeySequence("Ctrl+Shift+R"), "Copy Left to Right");
    a.copyRightToLeft = MakeAction(owner, "CopyRightToLeftAction", "Copy &Right to Left...",
                                   QKeySequence("Ctrl+Shift+L"), "Copy Right to Left");
    a.deviceLog = MakeAction(owner, "DeviceLogAction", "Device &log", QKeySequence("Ctrl+L"));
    a.foundNotches = MakeAction(owner, "FoundNotchesAction", "&Found notches");
    a.keyboardShortcuts = MakeAction(owner, "KeyboardShortcutsAction", "&Keyboard shortcuts", QKeySequence("F1"));
    a.userGuide = MakeAction(owner, "UserGuideAction", "&User guide");
    a.about = MakeAction(owner, "AboutAction", "&About");
    return a;
}

MainMenus BuildMenuBar(QMenuBar& bar, const MainActions& a) {
    MainMenus menus;
    menus.file = AddMenu(bar, "FileMenu", "&File",
                         {a.loadPreset, a.savePreset, nullptr, a.exportGraph, a.exportResponses, nullptr, a.quit});
    menus.device = AddMenu(bar, "DeviceMenu", "&Device",
                           {a.storePreset, a.readPreset, nullptr, a.search[0], a.search[1], a.search[2],
                            a.linkChannels, nullptr, a.backUpDevice, a.restoreDevice, nullptr, a.connectDevice,
                            a.remoteControl});
    menus.edit = AddMenu(bar, "EditMenu", "&Edit", {a.copyLeftToRight, a.copyRightToLeft});
    menus.view = AddMenu(bar, "ViewMenu", "&View", {a.deviceLog, a.foundNotches});
    menus.help = AddMenu(bar, "HelpMenu", "&Help", {a.keyboardShortcuts, a.userGuide, nullptr, a.about});
    return menus;
}

}  // namespace app
