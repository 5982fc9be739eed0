#include "ui/qt_user_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <utility>

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

// A box made for one question and let go from the event loop once it is
// answered. Made on the heap, not on the asker's stack: the asker may not
// return if the program ends while the box is open, and the box's parent
// must still find it to delete it.
template <class Box>
class OneBox {
public:
    template <class... Args>
    explicit OneBox(Args&&... args) : box_(new Box(std::forward<Args>(args)...)) {}
    ~OneBox() {
        if (box_) box_->deleteLater();
    }
    OneBox(const OneBox&) = delete;
    OneBox& operator=(const OneBox&) = delete;
    Box& operator*() const { return *box_; }
    Box* operator->() const { return box_.data(); }
    explicit operator bool() const { return !box_.isNull(); }

private:
    QPointer<Box> box_;
};

// The buttons a message asks for, each saying what it does.
void SetButtons(QMessageBox& box, const Message& message) {
    switch (message.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); return;
    case Buttons::SaveDiscardCancel: {
        // The desktop's own names for these buttons vary ("Close without
        // Saving"); the question promises these three words.
        QPushButton* save = box.addButton(QStringLiteral("Save"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        return;
    }
    case Buttons::YesNo: break;
    }
    if (!message.choices.yes.isEmpty()) {
        QPushButton* yes = box.addButton(message.choices.yes, QMessageBox::AcceptRole);
        QPushButton* no = box.addButton(message.choices.no, QMessageBox::ApplyRole);
        box.setDefaultButton(message.defaultButton == Answer::No ? no : yes);
        return;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(message.defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
}

// The first and second choice of a question: what an answer from
// elsewhere presses.
std::pair<QAbstractButton*, QAbstractButton*> YesAndNo(QMessageBox& box, const Message& message) {
    if (message.buttons != Buttons::YesNo) return {nullptr, nullptr};
    if (message.choices.yes.isEmpty()) return {box.button(QMessageBox::Yes), box.button(QMessageBox::No)};
    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
    for (QAbstractButton* button : box.buttons()) {
        if (box.buttonRole(button) == QMessageBox::AcceptRole) yes = button;
        if (box.buttonRole(button) == QMessageBox::ApplyRole) no = button;
    }
    return {yes, no};
}

// What a box closed without an answer means: the choice that changes nothing.
Answer Unanswered(const Message& message) {
    switch (message.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::SaveDiscardCancel: return Answer::Cancel;
    case Buttons::YesNo: break;
    }
    return Answer::No;
}

Answer AnswerOf(QMessageBox& box, const Message& message, int code) {
    QAbstractButton* clicked = box.clickedButton();
    switch (message.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::SaveDiscardCancel: {
        if (!clicked) return Answer::Cancel;
        const QMessageBox::ButtonRole role = box.buttonRole(clicked);
        if (role == QMessageBox::AcceptRole) return Answer::Save;
        if (role == QMessageBox::DestructiveRole) return Answer::Discard;
        return Answer::Cancel;
    }
    case Buttons::YesNo: break;
    }
    if (!message.choices.yes.isEmpty())
        return clicked && box.buttonRole(clicked) == QMessageBox::AcceptRole ? Answer::Yes
                                                                                                             : Answer::No;
    if (clicked) return box.standardButton(clicked) == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return code == QMessageBox::Yes ? Answer::Yes : Answer::No;
}
// A question device work waits on, open to the mirror for as long as its
// box stands: an answer from there presses the box's own button, so the box
// closes and the asker hears it as if pressed here.
class MirroredQuestion {
public:
    MirroredQuestion(QuestionMirror* mirror, const Message& message, QAbstractButton* yes, QAbstractButton* no)
        : mirror_(message.waitingFor.isEmpty() ? nullptr : mirror) {
        if (!mirror_) return;
        mirror_->opened(message, [yes = QPointer<QAbstractButton>(yes), no = QPointer<QAbstractButton>(no)](Answer a) {
            QAbstractButton* button = a == Answer::Yes ? yes.data() : no.data();
            // Not yet shown, or answered already: nothing to press.
            if (!button || !button->isVisible()) return false;
            button->click();
            return true;
        });
    }
    ~MirroredQuestion() {
        if (mirror_) mirror_->closed();
    }
    MirroredQuestion(const MirroredQuestion&) = delete;
    MirroredQuestion& operator=(const MirroredQuestion&) = delete;

private:
    QuestionMirror* mirror_;
};

// The folder to open in, and the file to offer when a whole path was given.
void StartIn(QFileDialog& dialog, const QString& where) {
    const QFileInfo info(where);
    if (where.isEmpty() || info.isDir()) {
        dialog.setDirectory(where);
        return;
    }
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
}

}  // namespace

int QtUserDialogs::answerOf(QDialog& dialog) const {
    if (!jobRunning_ || !jobRunning_()) return dialog.exec();
    // Never an event loop inside device work: the box is not shown and
    // counts as closed unanswered.
    Q_ASSERT_X(false, "QtUserDialogs", "a box asked for while device work runs");
    qWarning("qrn4480: a box was refused: device work asked for it without awaiting the answer");
    return QDialog::Rejected;
}

Answer QtUserDialogs::show(const Message& message, QWidget* parent) {
    const OneBox<QMessageBox> box(ToQt(message.icon), message.title, message.text, QMessageBox::NoButton, parent);
    SetButtons(*box, message);
    const auto [yes, no] = YesAndNo(*box, message);
    const MirroredQuestion mirrored(mirror_, message, yes, no);
    const int code = answerOf(*box);
    return box ? AnswerOf(*box, message, code) : Unanswered(message);
}

void QtUserDialogs::showThen(const Message& message, QWidget* parent, std::function<void(Answer)> then) {
    auto* box = new QMessageBox(ToQt(message.icon), message.title, message.text, QMessageBox::NoButton, parent);
    SetButtons(*box, message);
    // Open to the mirror for as long as the box stands.
    const auto [yes, no] = YesAndNo(*box, message);
    auto mirrored = std::make_shared<std::unique_ptr<MirroredQuestion>>(
        std::make_unique<MirroredQuestion>(mirror_, message, yes, no));
    // Told once, however the box ends: answered, or deleted with its parent.
    auto told = std::make_shared<bool>(false);
    auto tell = [told, mirrored, then = std::move(then)](Answer answer) {
        if (std::exchange(*told, true)) return;
        mirrored->reset();
        then(answer);
    };
    QObject::connect(box, &QDialog::finished, box, [box, message, tell](int code) {
        tell(AnswerOf(*box, message, code));
        box->deleteLater();
    });
    QObject::connect(box, &QObject::destroyed, [message, tell] { tell(Unanswered(message)); });
    box->open();
}

QString QtUserDialogs::openFileName(const FileRequest& request, QWidget* parent) {
    return fileName(request, parent, QFileDialog::AcceptOpen);
}

QString QtUserDialogs::saveFileName(const FileRequest& request, QWidget* parent) {
    // The dialog asks before an existing file is overwritten.
    return fileName(request, parent, QFileDialog::AcceptSave);
}

QString QtUserDialogs::fileName(const FileRequest& request, QWidget* parent, int acceptMode) const {
    const OneBox<QFileDialog> dialog(parent, request.title, QString(), request.filter);
    StartIn(*dialog, request.folder);
    const bool open = acceptMode == QFileDialog::AcceptOpen;
    dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (answerOf(*dialog) != QDialog::Accepted || !dialog) return {};
    return dialog->selectedFiles().value(0);
}

std::optional<QString> QtUserDialogs::askText(const TextPrompt& prompt, QWidget* parent) {
    const OneBox<QInputDialog> dialog(parent);
    dialog->setWindowTitle(prompt.title);
    dialog->setLabelText(prompt.label);
    if (prompt.choices.isEmpty()) {
        dialog->setInputMode(QInputDialog::TextInput);
        dialog->setTextEchoMode(QLineEdit::Normal);
        dialog->setTextValue(prompt.text);
    } else {
        const int first = std::max(0, static_cast<int>(prompt.choices.indexOf(prompt.text)));
        dialog->setComboBoxItems(prompt.choices);
        dialog->setComboBoxEditable(prompt.typable);
        dialog->setTextValue(prompt.choices.value(first));
    }
    if (answerOf(*dialog) != QDialog::Accepted || !dialog) return std::nullopt;
    return dialog->textValue();
}

void QtUserDialogs::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);  // arrow and hourglass
        return;
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace ui
