#pragma once
// The program's dialogs, with one difference: while a page's request is
// carried out, its questions are not shown on this machine, where nobody
// may be looking. The first question is kept for the page and answered with
// the answer the page already gave, or else with the one that changes
// nothing (No, Cancel); a message is kept for the page too.
#include <functional>
#include <optional>
#include <vector>

#include "ui/user_dialogs.h"

namespace app {

class RemoteDialogs final : public ui::UserDialogs {
public:
    explicit RemoteDialogs(ui::UserDialogs& desktop) : desktop_(desktop) {}

    ui::Answer show(const ui::Message& message, QWidget* parent = nullptr) override;
    void showThen(const ui::Message& message, QWidget* parent, std::function<void(ui::Answer)> then) override;
    QString openFileName(const ui::FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const ui::FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const ui::TextPrompt& prompt, QWidget* parent = nullptr) override;
    void setBusy(bool busy) override { desktop_.setBusy(busy); }

    struct Diverted {
        std::optional<ui::Message> question;  // the first question not answered yet
        std::vector<QString> messages;        // what would have been shown in a box
    };
    // From here to endRemote, questions go to the page; `answer` answers
    // the first question (the page's answer to it, asked before).
    void beginRemote(std::optional<ui::Answer> answer);
    Diverted endRemote();

private:
    ui::UserDialogs& desktop_;
    bool remote_ = false;
    std::optional<ui::Answer> answer_;
    Diverted diverted_;
};

}  // namespace app
