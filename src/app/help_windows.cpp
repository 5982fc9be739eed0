#include "app/help_windows.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/window_fit.h"

namespace app {
namespace {

// Each action once, under the command's own name: iconText drops the
// mnemonic and the dots, and a changing text (Undo's step) keeps a fixed
// one there. A second key for the same command joins the first.
void AddMenuRows(const QMenu& menu, QList<ShortcutRow>& rows) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            AddMenuRows(*action->menu(), rows);
            continue;
        }
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts()) keys << key.toString(QKeySequence::NativeText);
        if (!keys.isEmpty()) rows.append(ShortcutRow(action->iconText(), keys.join(QStringLiteral(" or "))));
    }
}

}  // namespace

QList<ShortcutRow> ShortcutRows(const QMenuBar& menus) {
    QList<ShortcutRow> rows;
    for (QAction* top : menus.actions())
        if (top->menu()) AddMenuRows(*top->menu(), rows);
    // The bars and number boxes are no actions; their keys are the same for
    // every one of them.
    const ShortcutRow editorKeys[] = {
        {"Raise or lower the focused value", "Right / Left, Up / Down"},
        {"Coarse step", "Page Up / Page Down"},
        {"One step of the bar under the pointer", "Mouse wheel, one notch"},
        {"Single steps while dragging a bar", "Shift+drag"},
        {"Lowest or highest value", "Home / End"},
        {"Send a typed number", "Enter"},
        {"Next or previous control", "Tab / Shift+Tab"},
    };
    for (const ShortcutRow& row : editorKeys) rows.append(row);
    return rows;
}

KeyboardShortcutsDialog::KeyboardShortcutsDialog(const QList<ShortcutRow>& rows, QWidget* parent) : QDialog(parent) {
    setObjectName("KeyboardShortcuts");
    setWindowTitle("Keyboard shortcuts");
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, this);
    table->setObjectName("ShortcutTable");
    table->setAccessibleName("Keyboard shortcuts");
    table->setHorizontalHeaderLabels({"Command", "Keys"});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (int r = 0; r < rows.size(); ++r) {
        table->setItem(r, 0, new QTableWidgetItem(rows[r].first));
        table->setItem(r, 1, new QTableWidgetItem(rows[r].second));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    ui::ResizeWithinScreen(*this, QSize(520, 600));
}

QString AboutText(const AboutFacts& facts) {
    QString text = "QRN4480 editor " + facts.version + "\n";
    text += "Editor and remote control for the QRN4480 feedback eliminator.\n\n";
    text += "Qt " + facts.qtVersion + "\n";
    text += "Device program: " + (facts.deviceProgram.isEmpty() ? QString("none") : facts.deviceProgram) + "\n";
    text += facts.connection + "\n\n";
    // As packaging/copyright and the AppStream metadata have it.
    text += "Copyright (C) 2026 the QRN4480 editor developers.\n";
    text += "Licence: proprietary; all rights reserved.";
    return text;
}

}  // namespace app
