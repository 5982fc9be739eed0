#include "app/editor_remote_target.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "app/found_notches_window.h"
#include "app/main_window.h"
#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"
#include "remote/refusals.h"
#include "remote/remote_state.h"

namespace app {
namespace {

const QString kSearchOwns = QString::fromLatin1(remote::kSearchRunning);

QString RowRefusal(int channel, int row, bool searching) {
    return searching ? kSearchOwns : remote::AutomaticRowRefusal(channel, row);
}

}  // namespace

EditorRemoteTarget::EditorRemoteTarget(MainWindow& window, const model::PresetImage& image, devlink::DeviceLink& link,
                                       RemoteDialogs& dialogs)
    : window_(window),
      image_(image),
      link_(link),
      dialogs_(dialogs),
      busyWatch_(link.work().watch([this](devlink::DeviceWork::WorkEvent) { emit changed(); })) {
    editor::ParameterEditor& editor = window_.editor();
    connect(&editor.history(), &editor::EditHistory::settingsChanged, this, &EditorRemoteTarget::changed);
    const editor::EditorControls& c = editor.controls();
    connect(c.linkBox, &QCheckBox::toggled, this, &EditorRemoteTarget::changed);
    for (QPushButton* button : c.searchButtons)
        connect(button, &QPushButton::toggled, this, &EditorRemoteTarget::changed);
    connect(&window_, &MainWindow::connectionStatusChanged, this, &EditorRemoteTarget::changed);
    // A report that repeats a notch's values changes no setting, but it is
    // still an entry of the pages' log.
    connect(&window_.foundNotches(), &FoundNotchesWindow::added, this, &EditorRemoteTarget::changed);
}

QJsonObject EditorRemoteTarget::state() const {
    editor::ParameterEditor& editor = window_.editor();
    remote::Activity activity;
    activity.linked = editor.flags().channelsLinked;
    if (editor.searchRunning())
        for (int k = 0; k < static_cast<int>(editor.controls().searchButtons.size()); ++k)
            if (editor.controls().searchButtons[k]->isChecked()) activity.search = k;
    activity.demo = link_.flags().demoMode;
    activity.online = !link_.lost() || activity.demo;
    activity.busy = link_.work().busy();
    activity.status = window_.connectionStatus();
    activity.found = &window_.foundNotches().log();
    activity.question = questions_.held();
    return remote::StateMessage(image_, activity);
}

QString EditorRemoteTarget::apply(const remote::Request& request, int client) {
    if (const auto* answer = std::get_if<remote::AnswerRequest>(&request)) {
        if (questions_.answerHeld(answer->id, answer->yes)) {
            emit changed();
            return {};
        }
        const std::optional<remote::Request> asked = questions_.take(answer->id, client);
        if (!asked) return QString::fromLatin1(remote::kNoSuchQuestion);
        if (!answer->yes) return {};
        return run(*asked, client, ui::Answer::Yes);
    }
    return run(request, client, std::nullopt);
}

void EditorRemoteTarget::forgetClient(int client) { questions_.forget(client); }

void EditorRemoteTarget::opened(const ui::Message& message, std::function<bool(ui::Answer)> answer) {
    questions_.hold({0, message.title, message.text, message.choices.yes, message.choices.no, message.waitingFor},
                    [answer = std::move(answer)](bool yes) { return answer(yes ? ui::Answer::Yes : ui::Answer::No); });
    emit changed();
}

void EditorRemoteTarget::closed() {
    questions_.release();
    emit changed();
}

QString EditorRemoteTarget::run(const remote::Request& request, int client, std::optional<ui::Answer> answer) {
    if (window_.closing()) return QString::fromLatin1(remote::kProgramClosing);
    // Refused by the editor itself (the control put back, the status bar
    // says why); the page is told the same words.
    const QString busy = link_.work().busy() ? editor::DeviceBusyText(link_.work()) : QString();
    dialogs_.beginRemote(answer);
    const QString refusal = setControl(request);
    const RemoteDialogs::Diverted diverted = dialogs_.endRemote();
    for (const QString& text : diverted.messages) emit notice(client, text);
    if (diverted.question && !answer && refusal.isEmpty() && busy.isEmpty()) {
        emit question(client, questions_.ask(client, request), diverted.question->title, diverted.question->text);
    }
    emit changed();
    return refusal.isEmpty() ? busy : refusal;
}

QString EditorRemoteTarget::setControl(const remote::Request& request) {
    editor::ParameterEditor& editor = window_.editor();
    const editor::EditorControls& c = editor.controls();
    const bool searching = editor.searchRunning();
    if (const auto* r = std::get_if<remote::NotchRequest>(&request)) {
        const editor::NotchRowControls& row = c.rows[static_cast<std::size_t>(model::NotchIndex(r->channel, r->row))];
        QScrollBar* bar = r->field == remote::NotchField::Gain        ? row.gainBar
                          : r->field == remote::NotchField::Frequency ? row.freqBar
                                                                      : row.widthBar;
        if (!bar->isEnabled()) return RowRefusal(r->channel, r->row, searching);
        bar->setValue(r->code());
        return {};
    }
    if (const auto* r = std::get_if<remote::SettingRequest>(&request)) {
        const editor::ChannelSettingsControls& s = c.settings[static_cast<std::size_t>(r->channel)];
        QAbstractSlider* control = r->setting == notch::AutoSetting::Sensitivity
                                       ? static_cast<QAbstractSlider*>(s.sensitivitySlider)
                                       : s.spinOf(r->setting);
        if (!control->isEnabled()) return kSearchOwns;
        control->setValue(notch::ControlFromState(r->setting, r->value));
        return {};
    }
    if (const auto* r = std::get_if<remote::SearchRequest>(&request)) {
        QPushButton* button = c.searchButtons[static_cast<std::size_t>(r->selector)];
        if (!button->isEnabled()) return QString::fromLatin1(remote::kAnotherSearchRunning);
        button->setChecked(r->on);
        return {};
    }
    if (const auto* r = std::get_if<remote::LinkRequest>(&request)) {
        if (!c.linkBox->isEnabled()) return kSearchOwns;
        c.linkBox->setChecked(r->on);
        return {};
    }
    if (const auto* r = std::get_if<remote::ResetRequest>(&request)) {
        QPushButton* button = c.resetButtons[static_cast<std::size_t>(r->channel) + (r->automaticRows ? 0U : 2U)];
        if (!button->isEnabled()) return kSearchOwns;
        button->click();
        return {};
    }
    return {};
}

}  // namespace app
