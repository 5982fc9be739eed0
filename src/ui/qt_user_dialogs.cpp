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
// answered. Made on the heap, not on the asker's stack: a job's stack may
// never be returned to if the program ends while the box is open, and the
// box's parent must still find it to delete it.
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
    if (!jobWaits_.onJobStack || !jobWaits_.onJobStack()) return dialog.exec();
    int result = QDialog::Rejected;
    QPointer<QDialog> box(&dialog);
    const bool waited = jobWaits_.awaitFromLoop && jobWaits_.awaitFromLoop([box, &result](const std::function<void()>& done) {
        if (!box) {
            done();
            return;
        }
        QObject::connect(box, &QDialog::finished, box, [&result, done](int code) {
            result = code;
            done();
        });
        box->open();
    });
    if (!waited) {
        // Never an event loop on a job's stack: the box is not shown and
        // counts as closed unanswered.
        Q_ASSERT_X(false, "QtUserDialogs", "a box asked for on a job's stack that cannot wait for it");
        qWarning("qrn4480: a box was refused: device work asked for it where it cannot wait for the answer");
    }
    return result;
}

Answer QtUserDialogs::show(const Message& message, QWidget* parent) {
    const OneBox<QMessageBox> box(ToQt(message.icon), message.title, message.text, QMessageBox::NoButton, parent);
    if (message.buttons == Buttons::Ok) {
        box->setStandardButtons(QMessageBox::Ok);
        answerOf(*box);
        return Answer::Ok;
    }
    if (message.buttons == Buttons::SaveDiscardCancel) {
        // The desktop's own names for these buttons vary ("Close without
        // Saving"); the question promises these three words.
        QPushButton* save = box->addButton(QStringLiteral("Save"), QMessageBox::AcceptRole);
        QPushButton* discard = box->addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
        box->setDefaultButton(save);
        box->setEscapeButton(cancel);
        answerOf(*box);
        if (!box) return Answer::Cancel;
        if (box->clickedButton() == save) return Answer::Save;
        if (box->clickedButton() == discard) return Answer::Discard;
        return Answer::Cancel;
    }
    if (!message.choices.yes.isEmpty()) {
        QPushButton* yes = box->addButton(message.choices.yes, QMessageBox::AcceptRole);
        QPushButton* no = box->addButton(message.choices.no, QMessageBox::ApplyRole);
        box->setDefaultButton(message.defaultButton == Answer::No ? no : yes);
        const MirroredQuestion mirrored(mirror_, message, yes, no);
        answerOf(*box);
        return box && box->clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(message.defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    const MirroredQuestion mirrored(mirror_, message, box->button(QMessageBox::Yes), box->button(QMessageBox::No));
    return answerOf(*box) == QMessageBox::Yes ? Answer::Yes : Answer::No;
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
