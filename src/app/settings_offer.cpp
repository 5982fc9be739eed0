#include "app/settings_offer.h"

#include <algorithm>

#include "devlink/commands.h"
#include "devlink/memory_dump.h"
#include "devlink/preset_block.h"
#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"
#include "notch/settings_differences.h"

namespace app {
namespace {

constexpr char kUseDeviceStep[] = "Use the device's settings";

// Into copies: until the user has chosen, the editor shows what it had.
devlink::Task<bool> ReadDevice(const SettingsOffer& offer, DeviceRead read, model::PresetImage& device) {
    const auto transfer = editor::DeviceTransfer::Begin(offer.link, offer.dialogs, "reading the device");
    if (!transfer) co_return false;
    if (read == DeviceRead::CurrentSettings)
        co_return co_await devlink::ReadPresetBlockInto(offer.link, devlink::kCurrentSettingsBlock, device);
    model::PresetLibrary library = offer.session.library;
    const devlink::DumpHooks quiet;
    const bool dumped = co_await devlink::DumpDeviceMemory(offer.link, device, library, quiet);
    if (!dumped) co_return false;
    offer.session.library = library;
    co_return true;
}

}  // namespace

devlink::Task<OfferOutcome> ReadDeviceAndOfferSettings(SettingsOffer offer, DeviceRead read, QString question,
                                                       QString title) {
    model::PresetImage device = offer.session.image;
    const bool wasRead = co_await ReadDevice(offer, read, device);
    if (!wasRead) co_return OfferOutcome::NotRead;
    model::PresetImage& image = offer.session.image;
    if (std::equal(device.begin(), device.begin() + model::kBlockSize, image.begin())) co_return OfferOutcome::Same;
    // The device waits for the answer: whoever holds a remote may give it.
    ui::Message choice{WithDifferences(question, image, device), title,    ui::Icon::Exclamation,
                       ui::Buttons::YesNo,                       ui::Answer::Yes, {kSendMySettings, kUseDeviceSettings}};
    choice.waitingFor = kWaitingForSettingsChoice;
    const ui::Answer answer = co_await editor::Asked(offer.link, offer.dialogs, choice, offer.parent);
    if (answer == ui::Answer::Yes) {
        const auto transfer = editor::DeviceTransfer::Begin(offer.link, offer.dialogs, "sending the editor's settings");
        if (!transfer) co_return OfferOutcome::NotRead;
        co_await offer.editor.applyPresetToEditor();
        co_return OfferOutcome::SentEditors;
    }
    offer.editor.beginStep();
    std::copy_n(device.begin(), model::kBlockSize, image.begin());
    offer.editor.fillFromImage();
    offer.editor.endStep(kUseDeviceStep);
    co_return OfferOutcome::TookDevices;
}

QString WithDifferences(const QString& question, const model::PresetImage& editor, const model::PresetImage& device,
                        const char* editorWord, const char* deviceWord) {
    const std::vector<std::string> lines =
        notch::ListedDifferences(notch::SettingsDifferences(editor, device, editorWord, deviceWord));
    if (lines.empty()) return question;
    QString list = "What differs:";
    for (const std::string& line : lines) list += "\n" + QString::fromStdString(line);
    // Before the question itself when it ends the text: it is read last.
    const qsizetype last = question.lastIndexOf("\n\n");
    if (last >= 0 && question.endsWith('?'))
        return question.left(last) + "\n\n" + list + question.mid(last);
    return question + "\n\n" + list;
}

QString ReconnectQuestion(const QString& where) {
    return "The device on " + where +
           " answers again, but its settings differ from the editor's.\n\n"
           "The editor kept every edit made while the device was away.";
}

QString ConnectQuestion(const QString& where) {
    return "A device answers on " + where + ". Its settings differ from the editor's demo-mode settings.";
}

}  // namespace app
