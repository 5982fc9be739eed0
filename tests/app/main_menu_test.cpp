// The menu bar: its menus, the actions the toolbar shares, the keys, and
// the Help menu's windows.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

#include "app/help_windows.h"
#include "editor/parameter_editor.h"
#include "main_window_fixture.h"

using namespace testing_support;

namespace {

QStringList MenuTitles(const QMenuBar& bar) {
    QStringList titles;
    for (QAction* action : bar.actions()) titles << action->text().remove('&');
    return titles;
}

TEST_F(MainWindowTest, EveryCommandSitsInItsMenuWithItsKeyAndTheToolbarSharesIt) {
    start();
    EXPECT_EQ(MenuTitles(*window->menuBar()), QStringList({"File", "Device", "Edit", "View", "Help"}));
    const app::MainMenus& menus = window->menus();
    const app::MainActions& a = window->actions();
    struct Case {
        QAction* action;
        QMenu* menu;
        const char* key;
        int toolbarIndex;  // -1: not on the toolbar
    };
    const Case cases[] = {
        {a.loadPreset, menus.file, "Ctrl+O", app::kLoadPreset},
        {a.savePreset, menus.file, "Ctrl+S", app::kSavePreset},
        {a.exportGraph, menus.file, "", -1},
        {a.exportResponses, menus.file, "", -1},
        {a.quit, menus.file, "Ctrl+Q", -1},
        {a.storePreset, menus.device, "Ctrl+D", app::kStorePreset},
        {a.readPreset, menus.device, "Ctrl+R", app::kReadPreset},
        {a.search[0], menus.device, "F5", -1},
        {a.search[1], menus.device, "F6", -1},
        {a.search[2], menus.device, "F7", -1},
        {a.linkChannels, menus.device, "F8", -1},
        {a.copyLeftToRight, menus.edit, "Ctrl+Shift+R", app::kCopyLeftToRight},
        {a.copyRightToLeft, menus.edit, "Ctrl+Shift+L", app::kCopyRightToLeft},
        {a.deviceLog, menus.view, "Ctrl+L", -1},
        {a.foundNotches, menus.view, "", -1},
        {a.keyboardShortcuts, menus.help, "F1", -1},
        {a.userGuide, menus.help, "", -1},
        {a.about, menus.help, "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action->objectName().toStdString());
        EXPECT_TRUE(c.menu->actions().contains(c.action));
        EXPECT_EQ(c.action->shortcut().toString(), c.key);
        if (c.toolbarIndex >= 0) {
            EXPECT_EQ(window->toolbarButton(c.toolbarIndex)->defaultAction(), c.action);
        }
    }

    QTest::mouseClick(window->editor().controls().searchButtons[0], Qt::LeftButton);
    for (QAction* locked : a.lockedBySearch()) EXPECT_FALSE(locked->isEnabled()) << locked->objectName().toStdString();
    for (QAction* free : {a.exportGraph, a.deviceLog, a.foundNotches, a.keyboardShortcuts, a.about})
        EXPECT_TRUE(free->isEnabled());
}

// The Device menu's search and link commands click the editor's own
// controls: the same frames, the same lock, the same question; they show
// the controls' check and are disabled while the controls are.
TEST_F(MainWindowTest, SearchAndLinkCommandsDriveTheEditorsOwnControls) {
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const app::MainActions& a = window->actions();
    const editor::EditorControls& c = window->editor().controls();
    // From a number box too: its key filter never sees the key.
    c.rows[11].gainBox->setFocus();
    QTest::keyClick(c.rows[11].gainBox, Qt::Key_F6);
    EXPECT_TRUE(rig.dialogs.shown.empty()) << "no warning";
    EXPECT_TRUE(c.searchButtons[1]->isChecked());
    EXPECT_TRUE(window->editor().searchRunning());
    EXPECT_EQ(rig.takeWrites().size(), 1u) << "the start frame";
    struct State {
        QAction* action;
        bool checked, enabled;
    };
    for (const State& s : {State{a.search[0], false, false}, State{a.search[1], true, true},
                           State{a.search[2], false, false}, State{a.linkChannels, false, false}}) {
        EXPECT_EQ(s.action->isChecked(), s.checked) << s.action->objectName().toStdString();
        EXPECT_EQ(s.action->isEnabled(), s.enabled) << s.action->objectName().toStdString();
    }
    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_FALSE(c.searchButtons[2]->isChecked()) << "a disabled control takes no command";
    a.search[1]->trigger();
    EXPECT_FALSE(window->editor().searchRunning());
    EXPECT_FALSE(a.search[1]->isChecked());
    EXPECT_EQ(rig.takeWrites().size(), 4u) << "the stop frames of a Left search";
    EXPECT_TRUE(a.linkChannels->isEnabled());

    window->editor().controls().rows[23].gainBar->setValue(3);  // the halves differ
    window->checkChannelsDiffer();
    rig.takeWrites();
    rig.dialogs.answers = {ui::Answer::No};
    QTest::keyClick(window.get(), Qt::Key_F8);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].title, "Link Left & Right");
    EXPECT_FALSE(a.linkChannels->isChecked());
    EXPECT_FALSE(c.linkBox->isChecked());
    EXPECT_TRUE(rig.takeWrites().empty());
}

TEST_F(MainWindowTest, CtrlQAsksTheExitQuestionAndF1ListsEveryShortcut) {
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    rig.dialogs.answers.push_back(ui::Answer::No);
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].title, "Exit");
    EXPECT_TRUE(window->isVisible());

    QTest::keyClick(window.get(), Qt::Key_F1);
    auto* table = window->findChild<QTableWidget*>("ShortcutTable");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->window()->windowTitle(), "Keyboard shortcuts");
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) rows << table->item(r, 0)->text() + " = " + table->item(r, 1)->text();
    for (const char* row :
         {"Load Preset from PC = Ctrl+O", "Quit = Ctrl+Q", "Copy Right to Left = Ctrl+Shift+L", "Device log = Ctrl+L",
          "Keyboard shortcuts = F1", "Coarse step = Page Up / Page Down", "Search Feedback L&R = F5",
          "Search Feedback L = F6", "Search Feedback R = F7", "Link channel Left & Right = F8",
          "Single steps while dragging a bar = Shift+drag"})
        EXPECT_TRUE(rows.contains(row)) << row;
}

// The list names a command once, whatever its text says now and however
// many keys it has; a literal "&" stays.
TEST(ShortcutRows, EachCommandOnceUnderItsOwnName) {
    struct Case {
        const char* text;
        const char* iconText;  // null: as the text gives it
        QList<QKeySequence> keys;
        const char* row;  // null: not listed
    };
    const Case cases[] = {
        {"Undo Load show2.Fbk", "Undo", {QKeySequence("Ctrl+Z")}, "Undo = Ctrl+Z"},
        {"Redo Link Left && Right",
         "Redo",
         {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")},
         "Redo = Ctrl+Shift+Z or Ctrl+Y"},
        {"Copy &Left to Right...", nullptr, {QKeySequence("Ctrl+Shift+R")}, "Copy Left to Right = Ctrl+Shift+R"},
        {"Save && &send", nullptr, {QKeySequence("Ctrl+S")}, "Save & send = Ctrl+S"},
        {"&About", nullptr, {}, nullptr},
    };
    QMenuBar bar;
    QMenu* menu = bar.addMenu("&Edit");
    QStringList expected;
    for (const Case& c : cases) {
        QAction* action = menu->addAction(c.text);
        if (c.iconText) action->setIconText(c.iconText);
        action->setShortcuts(c.keys);
        if (c.row) expected << c.row;
    }
    QStringList rows;
    for (const app::ShortcutRow& row : app::ShortcutRows(bar)) rows << row.first + " = " + row.second;
    EXPECT_EQ(rows.mid(0, static_cast<int>(expected.size())), expected);
}

TEST(AboutText, VersionQtDeviceAndConnection) {
    struct Case {
        app::AboutFacts facts;
        const char* text;
    };
    const Case cases[] = {
        {{"1.2.0", "6.4.2", "FBK V2.1", "Connected: port 5 (/dev/ttyUSB0)"},
         "QRN4480 editor 1.2.0\nEditor and remote control for the QRN4480 feedback eliminator.\n\nQt 6.4.2\n"
         "Device program: FBK V2.1\nConnected: port 5 (/dev/ttyUSB0)\n\n"
         "Copyright (C) 2026 the QRN4480 editor developers.\nLicence: proprietary; all rights reserved."},
        {{"1.2.0", "6.4.2", "", "Demo mode"},
         "QRN4480 editor 1.2.0\nEditor and remote control for the QRN4480 feedback eliminator.\n\nQt 6.4.2\n"
         "Device program: none\nDemo mode\n\n"
         "Copyright (C) 2026 the QRN4480 editor developers.\nLicence: proprietary; all rights reserved."},
    };
    for (const Case& c : cases) EXPECT_EQ(app::AboutText(c.facts), c.text);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TabCyclesFromTheToolbarThroughTheEditorAndBackWithNoNamelessStop) {
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* first = window->toolbarButton(app::kLoadPreset);
    first->setFocus();
    QStringList stops;
    for (int i = 0; i < 200 && (stops.isEmpty() || QApplication::focusWidget() != first); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        stops << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), first) << "Tab leaves the editor for the toolbar";
    EXPECT_FALSE(stops.contains(QString()));
    EXPECT_FALSE(stops.contains("EditorScrollArea"));
    // The toolbar, then the editor from its top row to the Right sensitivity box.
    EXPECT_EQ(stops.mid(0, 7), QStringList({"Command1_0", "Command1_1", "Command1_2", "Command1_3", "Command1_7",
                                            "Command1_8", "Check2"}));
    EXPECT_EQ(stops.last(), "Text4_1");
    QTest::keyClick(first, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text4_1") << "Shift+Tab walks back the same way";
    window->findChild<QWidget*>("Check2")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->toolbarButton(app::kCopyRightToLeft));
}

}  // namespace
