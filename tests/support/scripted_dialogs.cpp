#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QStringList>

namespace testing_support {

ui::Answer ScriptedDialogs::show(const ui::Message& message, QWidget*) {
    shown.push_back(message);
    if (onShow) onShow(message);
    if (message.buttons == ui::Buttons::Ok) return ui::Answer::Ok;
    const bool labelled = !message.choices.yes.isEmpty() || !message.choices.no.isEmpty();
    if (labelled && (message.choices.yes.isEmpty() || message.choices.no.isEmpty() ||
                     message.choices.yes == message.choices.no || message.buttons != ui::Buttons::YesNo))
        ADD_FAILURE() << "two choices need two different texts: " << message.text.toStdString();
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << message.text.toStdString();
        return message.buttons == ui::Buttons::SaveDiscardCancel ? ui::Answer::Cancel : ui::Answer::No;
    }
    const ui::Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::openFileName(const ui::FileRequest& request, QWidget*) {
    fileRequests.push_back(request);
    if (fileNames.empty()) return {};
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedDialogs::saveFileName(const ui::FileRequest& request, QWidget* parent) {
    return openFileName(request, parent);
}

std::optional<QString> ScriptedDialogs::askText(const ui::TextPrompt& prompt, QWidget*) {
    prompts.push_back(prompt);
    if (typed.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << prompt.label.toStdString();
        return std::nullopt;
    }
    std::optional<QString> answer = typed.front();
    typed.pop_front();
    if (answer && !prompt.choices.isEmpty() && !prompt.typable && !prompt.choices.contains(*answer))
        ADD_FAILURE() << "not one of the choices: " << answer->toStdString();
    return answer;
}

void ScriptedDialogs::setBusy(bool busy) {
    busyDepth += busy ? 1 : -1;
    if (busy) ++busyCount;
}

QStringList ScriptedDialogs::texts() const {
    QStringList list;
    for (const auto& m : shown) list << m.text;
    return list;
}

}  // namespace testing_support
