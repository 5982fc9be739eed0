#pragma once
#include <functional>

#include "ui/user_dialogs.h"

class QDialog;

namespace ui {

// Device work's side of the boxes. A box asked for from inside a job opens
// from the event loop and the job waits for its answer as it waits for the
// device: no event loop ever runs on a job's stack, where loops could no
// longer nest last in, first out.
struct JobWaits {
    // The caller runs on a job's own stack.
    std::function<bool()> onJobStack;
    // From a job's stack: runs `open` from the event loop and steps out
    // until the done it was handed is called; false when it cannot.
    std::function<bool(std::function<void(std::function<void()> done)> open)> awaitFromLoop;
};

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
    void setJobWaits(JobWaits waits) { jobWaits_ = std::move(waits); }
    void setQuestionMirror(QuestionMirror* mirror) { mirror_ = mirror; }

    Answer show(const Message& message, QWidget* parent = nullptr) override;
    QString openFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const TextPrompt& prompt, QWidget* parent = nullptr) override;
    // The busy pointer (an arrow with an hourglass: the window still works).
    void setBusy(bool busy) override;

private:
    // Shows `dialog` until it is answered and gives its result. Outside a
    // job its loop nests in the caller's (on the event loop's own stack);
    // inside one it opens from the event loop while the job waits.
    int answerOf(QDialog& dialog) const;
    // A path to open (QFileDialog::AcceptOpen) or to save to.
    QString fileName(const FileRequest& request, QWidget* parent, int acceptMode) const;

    JobWaits jobWaits_;
    QuestionMirror* mirror_ = nullptr;
};

}  // namespace ui
