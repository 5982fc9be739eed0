#pragma once
// Answers questions from a script and records everything asked. A question
// with no scripted answer fails the test and is answered No.
#include <deque>
#include <functional>
#include <vector>

#include "ui/user_dialogs.h"

namespace testing_support {

class ScriptedDialogs final : public ui::UserDialogs {
public:
    std::deque<ui::Answer> answers;
    std::deque<QString> fileNames;  // an empty entry is a cancel
    std::vector<ui::Message> shown;
    std::vector<ui::FileRequest> fileRequests;
    std::deque<std::optional<QString>> typed;  // nothing is a cancel
    std::vector<ui::TextPrompt> prompts;
    int busyDepth = 0;
    int busyCount = 0;
    // Runs when a box is shown, before it is answered.
    std::function<void(const ui::Message&)> onShow;

    ui::Answer show(const ui::Message& message, QWidget* parent = nullptr) override;
    QString openFileName(const ui::FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const ui::FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const ui::TextPrompt& prompt, QWidget* parent = nullptr) override;
    void setBusy(bool busy) override;

    QStringList texts() const;
};

}  // namespace testing_support
