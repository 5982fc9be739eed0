#include "ui/qt_user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace ui {
namespace {

QMessageBox::Icon ToQt(Icon icon) {
    switch (icon) {
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The desktop's own names for these buttons vary ("Close without Saving");
// the question promises these three words.
Answer AskSaveDiscardCancel(QMessageBox& box) {
    QPushButton* save = box.addButton(QStringLiteral("Save"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return Answer::Save;
    if (box.clickedButton() == discard) return Answer::Discard;
    return Answer::Cancel;
}

Answer AskChoice(QMessageBox& box, const Message& message) {
    QPushButton* yes = box.addButton(message.choices.yes, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(message.choices.no, QMessageBox::ApplyRole);
    box.setDefaultButton(message.defaultButton == Answer::No ? no : yes);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

}  // namespace

Answer QtUserDialogs::show(const Message& message, QWidget* parent) {
    const auto modal = enterModal();
    QMessageBox box(ToQt(message.icon), message.title, message.text, QMessageBox::NoButton, parent);
    if (message.buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    if (message.buttons == Buttons::SaveDiscardCancel) return AskSaveDiscardCancel(box);
    if (!message.choices.yes.isEmpty()) return AskChoice(box, message);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(message.defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtUserDialogs::openFileName(const FileRequest& request, QWidget* parent) {
    const auto modal = enterModal();
    return QFileDialog::getOpenFileName(parent, request.title, request.folder, request.filter);
}

QString QtUserDialogs::saveFileName(const FileRequest& request, QWidget* parent) {
    // The dialog asks before an existing file is overwritten.
    const auto modal = enterModal();
    return QFileDialog::getSaveFileName(parent, request.title, request.folder, request.filter);
}

std::optional<QString> QtUserDialogs::askText(const TextPrompt& prompt, QWidget* parent) {
    const auto modal = enterModal();
    bool ok = false;
    QString answer;
    if (prompt.choices.isEmpty()) {
        answer = QInputDialog::getText(parent, prompt.title, prompt.label, QLineEdit::Normal, prompt.text, &ok);
    } else {
        const int first = std::max(0, static_cast<int>(prompt.choices.indexOf(prompt.text)));
        answer = QInputDialog::getItem(parent, prompt.title, prompt.label, prompt.choices, first, false, &ok);
    }
    if (!ok) return std::nullopt;
    return answer;
}

void QtUserDialogs::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);  // arrow and hourglass
        return;
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace ui
