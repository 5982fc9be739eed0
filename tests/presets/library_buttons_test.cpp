// "Rename...", "Clear" and "Copy to..." in both preset dialogs, driven through
// their real buttons offscreen: when they can be pressed, what they ask, what
// reaches the device, and what the lists, the title and the dialog show after.
#include <gtest/gtest.h>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "preset_rig.h"
#include "presets/read_preset_dialog.h"
#include "presets/store_preset_dialog.h"

using namespace presets;
using namespace presets_test;

namespace {

enum class Kind { Read, Store };

// Position 7 holds PARTY and is the editor's title; position 10 holds OTHER.
struct DialogRig {
    explicit DialogRig(Kind kind) : kind(kind) {
        rig.storeInDevice(2, VariedImage(7), "  PARTY ");
        rig.storeInDevice(5, VariedImage(3), " OTHER  ");
        rig.library.presetTitle = U"7:   PARTY ";
        rig.editor.showPresetTitle(QStringLiteral("7:   PARTY "));
        if (kind == Kind::Read)
            dialog =
                std::make_unique<ReadPresetDialog>(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        else
            dialog =
                std::make_unique<StorePresetDialog>(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog->show();
    }
    QListWidget* list() const { return dialog->findChild<QListWidget*>(QStringLiteral("List1")); }
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(QString::fromLatin1(name)); }
    int rowOf(int position) const { return position - (kind == Kind::Read ? 1 : 5); }
    void select(int position) const { list()->setCurrentRow(rowOf(position)); }
    QString listed(int position) const { return list()->item(rowOf(position))->text(); }

    Kind kind;
    PresetRig rig;
    std::unique_ptr<QDialog> dialog;
};

// Where Tab goes from `from`: the next widget in the chain that takes it.
QWidget* NextTabStop(QWidget* from, QWidget* dialog) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(dialog) && w->isEnabled()) return w;
    return nullptr;
}

constexpr const char* kButtons[] = {"RenameButton", "ClearButton", "CopyButton"};

TEST(LibraryButtons, PressableOnlyForAWritablePosition) {
    struct Case {
        const char* what;
        Kind kind;
        int row;
        bool enabled;
    };
    const Case cases[] = {
        {"read: position 1", Kind::Read, 0, false},        {"read: position 4", Kind::Read, 3, false},
        {"read: position 5", Kind::Read, 4, true},         {"read: position 20", Kind::Read, 19, true},
        {"read: nothing selected", Kind::Read, -1, false}, {"store: position 5", Kind::Store, 0, true},
        {"store: position 20", Kind::Store, 15, true},     {"store: nothing selected", Kind::Store, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogRig d(c.kind);
        d.list()->setCurrentRow(c.row);
        for (const char* name : kButtons) {
            ASSERT_NE(d.button(name), nullptr) << name;
            EXPECT_EQ(d.button(name)->isEnabled(), c.enabled) << name;
        }
        EXPECT_EQ(d.button("RenameButton")->text(), QStringLiteral("Rename..."));
        EXPECT_EQ(d.button("ClearButton")->text(), QStringLiteral("Clear"));
        EXPECT_EQ(d.button("CopyButton")->text(), QStringLiteral("Copy to..."));
        // Tab goes on from Cancel to the library buttons.
        if (c.enabled) {
            EXPECT_EQ(NextTabStop(d.button("Command1_0"), d.dialog.get()), d.button("RenameButton"));
            EXPECT_EQ(NextTabStop(d.button("RenameButton"), d.dialog.get()), d.button("ClearButton"));
            EXPECT_EQ(NextTabStop(d.button("ClearButton"), d.dialog.get()), d.button("CopyButton"));
        }
        EXPECT_TRUE(d.rig.sim.takeWrites().empty());
    }
}

TEST(LibraryButtons, RestWhileFramesGoOut) {
    struct Case {
        const char* what;
        Kind kind;
        const char* button;
        std::deque<std::optional<QString>> typed;
        std::deque<ui::Answer> answers;
        bool barShown;  // the copy's progress in the dialog's bar
    };
    const std::vector<Case> cases = {
        {"read", Kind::Read, "Command1_1", {}, {ui::Answer::Yes}, false},
        {"store", Kind::Store, "Command1_1", {}, {ui::Answer::Yes}, true},
        {"copy from the read dialog", Kind::Read, "CopyButton", {"09:  Empty  ", "PARTY"}, {}, true},
        {"copy from the store dialog", Kind::Store, "CopyButton", {"09:  Empty  ", "PARTY"}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogRig d(c.kind);
        d.select(7);
        d.rig.sim.dialogs.typed = c.typed;
        d.rig.sim.dialogs.answers = c.answers;
        auto* bar = d.dialog->findChild<QProgressBar*>();
        int frames = 0, enabledAtFrame = 0, barAtFrame = 0;
        d.rig.sim.device.setFrameObserver([&](sim::Direction dir, std::span<const std::uint8_t>) {
            if (dir != sim::Direction::In) return;
            ++frames;
            for (const char* name : kButtons) enabledAtFrame += d.button(name)->isEnabled() ? 1 : 0;
            barAtFrame += bar->isVisible() ? 1 : 0;
        });
        d.button(c.button)->click();
        EXPECT_GT(frames, 0);
        EXPECT_EQ(enabledAtFrame, 0);
        EXPECT_EQ(barAtFrame, c.barShown ? frames : 0);
        EXPECT_FALSE(bar->isVisible());
    }
}

TEST(LibraryButtons, ActionsAskWriteAndRefresh) {
    struct Case {
        std::string what;
        Kind kind;
        int position;  // selected
        const char* button;
        std::deque<std::optional<QString>> typed;
        std::deque<ui::Answer> answers;
        std::optional<int> muteAfterWriteTo;
        QStringList prompts;  // label and first text of each prompt
        QStringList shown;    // boxes, in order
        std::size_t frames;
        int checked;  // the position whose list line is checked
        QString listed;
        QString editorTitle;
        bool stillOpen;
    };
    const QString party = QStringLiteral("  PARTY "), title = QStringLiteral("7:   PARTY ");
    const std::vector<Case> cases = {
        {"rename 7",
         Kind::Read,
         7,
         "RenameButton",
         {"NEW"},
         {},
         {},
         {"New name for position 07:", party},
         {},
         8,
         7,
         "NEW",
         "7: NEW",
         true},
        {"rename cancelled",
         Kind::Store,
         7,
         "RenameButton",
         {std::nullopt},
         {},
         {},
         {"New name for position 07:", party},
         {},
         0,
         7,
         party,
         title,
         true},
        {"a name the device cannot store",
         Kind::Store,
         7,
         "RenameButton",
         {QString::fromUtf8("\u03A9")},
         {},
         {},
         {"New name for position 07:", party},
         {"The name holds a character the device cannot store. Use letters, digits, blanks and punctuation of the "
          "Latin-1 set."},
         0,
         7,
         party,
         title,
         true},
        {"rename an empty position",
         Kind::Store,
         9,
         "RenameButton",
         {},
         {},
         {},
         {},
         {"Preset empty"},
         0,
         9,
         " Empty  ",
         title,
         true},
        {"clear 7",
         Kind::Store,
         7,
         "ClearButton",
         {},
         {ui::Answer::Yes},
         {},
         {},
         {"Clear position 07? The preset stored there will be lost."},
         1,
         7,
         " Empty  ",
         "",
         true},
        {"clear answered No",
         Kind::Read,
         7,
         "ClearButton",
         {},
         {ui::Answer::No},
         {},
         {},
         {"Clear position 07? The preset stored there will be lost."},
         0,
         7,
         party,
         title,
         true},
        {"copy 7 to 9 under its name",
         Kind::Read,
         7,
         "CopyButton",
         {"09:  Empty  ", party},
         {},
         {},
         {"Copy position 07 to:", "05:  Empty  ", "Name at position 09:", party},
         {},
         2 + 168 + 1 + 1 + 8,  // both blocks, every byte differs, the marker, the read back
         9,
         party,
         title,
         true},
        {"copy 7 over 10 answered No",
         Kind::Store,
         7,
         "CopyButton",
         {"10:  OTHER  ", "COPY"},
         {ui::Answer::No},
         {},
         {"Copy position 07 to:", "05:  Empty  ", "Name at position 10:", party},
         {"Position 10 already holds a preset. Overwrite it?"},
         0,
         10,
         " OTHER  ",
         title,
         true},
        {"copy 7 over 10 under a new name",
         Kind::Store,
         7,
         "CopyButton",
         {"10:  OTHER  ", "COPY"},
         {ui::Answer::Yes},
         {},
         {"Copy position 07 to:", "05:  Empty  ", "Name at position 10:", party},
         {"Position 10 already holds a preset. Overwrite it?"},
         130,  // the bytes of PARTY and OTHER that differ, between both blocks and the read back
         10,
         "COPY",
         title,
         true},
        {"copy cut short by a lost device",
         Kind::Store,
         7,
         "CopyButton",
         {"09:  Empty  ", "COPY"},
         {},
         0x03A0 + 40,
         {"Copy position 07 to:", "05:  Empty  ", "Name at position 09:", party},
         {"Position 09 was not written."},
         2 + 41 + 6,
         9,
         " Empty  ",
         title,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogRig d(c.kind);
        d.select(c.position);
        d.rig.sim.takeWrites();
        d.rig.sim.dialogs.typed = c.typed;
        d.rig.sim.dialogs.answers = c.answers;
        if (c.muteAfterWriteTo)
            d.rig.sim.device.setMemoryWriteObserver([&d, address = *c.muteAfterWriteTo](int written) {
                if (written == address) d.rig.sim.device.setMuted(true);
            });

        d.button(c.button)->click();

        QStringList prompts;
        for (const ui::TextPrompt& p : d.rig.sim.dialogs.prompts) prompts << p.label << p.text;
        EXPECT_EQ(prompts, c.prompts);
        EXPECT_EQ(d.rig.sim.dialogs.texts(), c.shown);
        EXPECT_TRUE(d.rig.sim.dialogs.typed.empty() && d.rig.sim.dialogs.answers.empty()) << "all answers used";
        EXPECT_EQ(d.rig.sim.takeWrites().size(), c.frames);
        EXPECT_EQ(d.listed(c.checked), c.listed);
        EXPECT_EQ(d.rig.editor.presetTitle(), c.editorTitle);
        EXPECT_EQ(d.dialog->isVisible(), c.stillOpen);
        EXPECT_EQ(d.list()->currentRow(), d.rowOf(c.position)) << "the selection stays";
        EXPECT_EQ(d.rig.sim.dialogs.busyDepth, 0);
    }
}

}  // namespace
