#pragma once
#include <functional>

#include "ui/user_dialogs.h"

class QDialog;

namespace ui {

class QtUserDialogs final : public UserDialogs {
public:
    // Device work asks through showThen and awaits the answer like the
    // device. A box whose loop would start while a job's code runs (it
    // would run the event loop inside device work) is refused instead.
    void setJobRunning(std::function<bool()> running) { jobRunning_ = std::move(running); }

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
};

}  // namespace ui
