#pragma once
#include "ui/user_dialogs.h"

namespace ui {

class QtUserDialogs final : public UserDialogs {
public:
    Answer show(const Message& message, QWidget* parent = nullptr) override;
    QString openFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const TextPrompt& prompt, QWidget* parent = nullptr) override;
    // The busy pointer (an arrow with an hourglass: the window still works).
    void setBusy(bool busy) override;
};

}  // namespace ui
