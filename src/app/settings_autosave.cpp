#include "app/settings_autosave.h"
#include "app/settings_offer.h"

#include <QDir>
#include <QFile>

#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"
#include "presets/autosave_file.h"

namespace app {
namespace {

constexpr char kWaitingForRecovery[] = "Waiting for an answer: use the settings kept from the last run?";

QString RecoverQuestion(bool demo) {
    const QString offer =
        demo ? QStringLiteral("Open them in the editor?") : QStringLiteral("Send them to the device?");
    return QStringLiteral(
               "The editor did not end normally last time. The settings it held then were kept, and they differ "
               "from the settings now in the editor.\n\n") +
           offer;
}

}  // namespace

SettingsAutosave::SettingsAutosave(const model::PresetImage& image, QString path, int delayMs, QObject* parent)
    : QObject(parent), image_(image), path_(std::move(path)) {
    timer_.setObjectName(QStringLiteral("AutosaveTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    connect(&timer_, &QTimer::timeout, this, &SettingsAutosave::flush);
}

void SettingsAutosave::watch(editor::ParameterEditor& editor) {
    connect(&editor.history(), &editor::EditHistory::settingsChanged, this, &SettingsAutosave::schedule,
            Qt::UniqueConnection);
}

void SettingsAutosave::schedule() {
    due_ = true;
    timer_.start();
}

bool SettingsAutosave::flush() {
    if (!due_) return true;
    due_ = false;
    timer_.stop();
    const bool written = presets::WriteAutosave(path_, image_);
    if (!written && !failing_)
        emit keepFailed(
            QStringLiteral("The settings could not be kept in %1; they are safe only while the editor runs.")
                .arg(QDir::toNativeSeparators(path_)));
    failing_ = !written;
    return written;
}

void SettingsAutosave::discard() {
    due_ = false;
    timer_.stop();
    QFile::remove(path_);
}

devlink::Task<void> SettingsAutosave::offerRecovery(editor::ParameterEditor& editor, devlink::DeviceLink& link,
                                                    model::PresetImage& image, ui::UserDialogs& dialogs, bool demo,
                                                    QWidget* parent) {
    const auto kept = presets::ReadAutosave(path_);
    if (!kept) co_return;
    QFile::remove(path_);
    if (const auto* refusal = std::get_if<presets::AutosaveRefusal>(&*kept)) {
        const ui::Message unusable{QStringLiteral("%1: the settings kept from the last run cannot be used: %2.")
                                       .arg(QDir::toNativeSeparators(path_), presets::AutosaveRefusalText(*refusal)),
                                   QString::fromLatin1(kRecoverTitle), ui::Icon::Exclamation};
        co_await editor::Asked(link, dialogs, unusable, parent);
        co_return;
    }
    const model::PresetImage settings = std::get<model::PresetImage>(*kept);
    if (settings == image) co_return;
    // What taking the kept settings would change.
    const QString question = WithDifferences(RecoverQuestion(demo), settings, image, "kept", "now");
    // Asked at start-up, before the editor goes on: on the remote's pages too.
    ui::Message offer{question, QString::fromLatin1(kRecoverTitle), ui::Icon::Exclamation, ui::Buttons::YesNo,
                      ui::Answer::Yes};
    offer.waitingFor = QString::fromLatin1(kWaitingForRecovery);
    const ui::Answer answer = co_await editor::Asked(link, dialogs, offer, parent);
    if (answer != ui::Answer::Yes) co_return;
    editor.beginStep();
    image = settings;
    {
        const ui::BusyPointer busy(dialogs);
        co_await editor.applyPresetToEditor();
    }
    editor.endStep(QString::fromLatin1(kRecoverStepText));
}

}  // namespace app
