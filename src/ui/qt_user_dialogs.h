#pragma once
#include <functional>

#include "ui/user_dialogs.h"

class QDialog;

namespace ui {

// Someone elsewhere who may answer a question device work waits on
// (Message::waitingFor set): told while its box is open. The first answer,
// from the box or from there, is the one taken.
class QuestionMirror {
public:
    virtual ~QuestionMirror() = default;
    // `answer` presses the box's first (Yes) or second (No) button: false,
    // pressing nothing, once the box is no longer open.
    virtual void opened(const Message& message, std::function<bool(Answer)> answer) = 0;
    virtual void closed() = 0;
};

class QtUserDialogs final : public UserDialogs {
public:
    // Device work asks through showThen and awaits the answer like the
    // device. A box whose loop would start while a job's code runs (it
    // would run the event loop inside device work) is refused instead.
    void setJobRunning(std::function<bool()> running) { jobRunning_ = std::move(running); }
    void setQuestionMirror(QuestionMirror* mirror) { mirror_ = mirror; }

    Answer show(const Message& message, QWidget* parent = nullptr) override;
    void showThen(const Message& message, QWidget* parent, std::function<void(Answer)> then) override;
    QString openFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const TextPrompt& prompt, QWidget* parent = nullptr) override;
    // The busy pointer (an arrow with an hourglass: the window still works).
    void setBusy(bool busy) override;

private:
    // Shows `dialog` until it is answered and gives its result; its loop
    // nests in the caller's. Refused (Rejected) while a job's code runs.
    int answerOf(QDialog& dialog) const;
    // A path to open (QFileDialog::AcceptOpen) or to save to.
    QString fileName(const FileRequest& request, QWidget* parent, int acceptMode) const;

    std::function<bool()> jobRunning_;
    QuestionMirror* mirror_ = nullptr;
};

}  // namespace ui
