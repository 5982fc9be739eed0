#pragma once
// The device answers after a time without it: a lost link that came back,
// or demo mode left through Device > Connect. The editor's settings were
// made without it, so they are never overwritten unasked: the device is
// read, and when the two differ the user chooses which both then hold.
#include <QString>

#include "app/session.h"
#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace editor {
class ParameterEditor;
}

namespace app {

inline constexpr char kSendMySettings[] = "Send my settings to the device";
inline constexpr char kUseDeviceSettings[] = "Use the device's settings";
// What the pages of the remote say while the question is open.
inline constexpr char kWaitingForSettingsChoice[] =
    "Waiting for an answer: keep the editor's settings or the device's?";

struct SettingsOffer {
    Session& session;
    devlink::DeviceLink& link;
    editor::ParameterEditor& editor;
    ui::UserDialogs& dialogs;
    QWidget* parent = nullptr;
};

enum class DeviceRead {
    CurrentSettings,  // the editor already knows the device's preset list
    Everything,       // as at start-up: the list, the names and the settings
};

enum class OfferOutcome { NotRead, Same, SentEditors, TookDevices };

// Reads the device under the device lock, then asks `question` when its
// settings differ from the editor's. Taking the device's settings is one
// undo step, so even that choice keeps the editor's within reach.
devlink::Task<OfferOutcome> ReadDeviceAndOfferSettings(SettingsOffer offer, DeviceRead read, QString question,
                                                       QString title);

// The two questions, naming the device's port.
QString ReconnectQuestion(const QString& where);
// The question, then what differs, a line each ("Left notch 3: -9 dB here,
// 0 dB on the device"), at most eight and then how many more.
// `editorWord` and `deviceWord` name the two sides.
QString WithDifferences(const QString& question, const model::PresetImage& editor, const model::PresetImage& device,
                        const char* editorWord = "here", const char* deviceWord = "on the device");
QString ConnectQuestion(const QString& where);

}  // namespace app
