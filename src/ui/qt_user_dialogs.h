#pragma once
#include "ui/user_dialogs.h"

namespace ui {

class QtUserDialogs final : public UserDialogs {
public:
    Answer show(const Message& message, QWidget* parent = nullptr) override;
    QString openFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) override;
    void setBusy(bool busy) override;
};

}  // namespace ui
