#include "app/remote_dialogs.h"

namespace app {

void RemoteDialogs::beginRemote(std::optional<ui::Answer> answer) {
    remote_ = true;
    answer_ = answer;
    diverted_ = {};
}

RemoteDialogs::Diverted RemoteDialogs::endRemote() {
    remote_ = false;
    answer_.reset();
    return std::exchange(diverted_, {});
}

ui::Answer RemoteDialogs::show(const ui::Message& message, QWidget* parent) {
    if (!remote_) return desktop_.show(message, parent);
    switch (message.buttons) {
    case ui::Buttons::Ok: diverted_.messages.push_back(message.text.trimmed()); return ui::Answer::Ok;
    case ui::Buttons::YesNo:
        if (answer_) return *std::exchange(answer_, std::nullopt);
        if (!diverted_.question) diverted_.question = message;
        return ui::Answer::No;
    case ui::Buttons::SaveDiscardCancel: break;
    }
    return ui::Answer::Cancel;
}

void RemoteDialogs::showThen(const ui::Message& message, QWidget* parent, std::function<void(ui::Answer)> then) {
    if (remote_) {
        then(show(message, parent));
        return;
    }
    desktop_.showThen(message, parent, std::move(then));
}

// A page asks for nothing that opens a file or takes a typed text; were one
// to, it is cancelled rather than left open on a screen nobody watches.
QString RemoteDialogs::openFileName(const ui::FileRequest& request, QWidget* parent) {
    return remote_ ? QString() : desktop_.openFileName(request, parent);
}

QString RemoteDialogs::saveFileName(const ui::FileRequest& request, QWidget* parent) {
    return remote_ ? QString() : desktop_.saveFileName(request, parent);
}

std::optional<QString> RemoteDialogs::askText(const ui::TextPrompt& prompt, QWidget* parent) {
    if (remote_) return std::nullopt;
    return desktop_.askText(prompt, parent);
}

}  // namespace app
