#pragma once
#include <functional>
#include <memory>

#include "ui/user_dialogs.h"

namespace ui {

class QtUserDialogs final : public UserDialogs {
public:
    // Held while a box or a file chooser is open, whose loop runs the rest
    // of the program meanwhile (the device work's runner steps aside).
    using ModalScope = std::function<std::shared_ptr<void>()>;
    void setModalScope(ModalScope scope) { modalScope_ = std::move(scope); }

    Answer show(const Message& message, QWidget* parent = nullptr) override;
    QString openFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    std::optional<QString> askText(const TextPrompt& prompt, QWidget* parent = nullptr) override;
    // The busy pointer (an arrow with an hourglass: the window still works).
    void setBusy(bool busy) override;

private:
    std::shared_ptr<void> enterModal() const { return modalScope_ ? modalScope_() : nullptr; }

    ModalScope modalScope_;
};

}  // namespace ui
