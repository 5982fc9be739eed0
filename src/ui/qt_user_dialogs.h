#pragma once
#include <memory>

#include "ui/input_refusal.h"
#include "ui/user_dialogs.h"

namespace ui {

class QtUserDialogs final : public UserDialogs {
public:
    Answer show(const Message& message, QWidget* parent = nullptr) override;
    QString openFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const TextPrompt& prompt, QWidget* parent = nullptr) override;
    // The busy pointer, and the window refuses input while it shows.
    void setBusy(bool busy) override;

private:
    int busyDepth_ = 0;
    std::unique_ptr<InputRefusal> refusal_;
};

}  // namespace ui
