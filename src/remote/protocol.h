#pragma once
// What a page may ask for, one message at a time, as the editor's controls
// would do it. Messages come from the network: every field is checked, and a
// message with a field unknown to its type, of the wrong type or out of its
// range is refused whole with the reason, so nothing half-checked reaches
// the device.
#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

#include "model/value_tables.h"
#include "notch/auto_settings.h"

namespace remote {

// The largest message taken; a longer one is refused unread.
inline constexpr int kMaxMessageBytes = 2048;

enum class NotchField { Frequency, Gain, Width };

// One field of one notch row, as its control takes it: frequency code
// 0..729, gain in dB -45..0, width code 0..3. row is 0..11.
struct NotchRequest {
    int channel = 0;
    int row = 0;
    NotchField field = NotchField::Gain;
    int value = 0;

    // The code the row's control and the image take: the gain as 0..45.
    int code() const { return field == NotchField::Gain ? value + model::kMaxGainCode : value; }
};

// One automatic setting, as the device keeps it (a state, not a control
// position): count 1..12, width 0..3, sensitivity 0..15, the others 0..1.
struct SettingRequest {
    int channel = 0;
    notch::AutoSetting setting = notch::AutoSetting::NumNotchAuto;
    int value = 0;
};

// A search button pressed (on) or released; selector 0 both, 1 Left, 2 Right.
struct SearchRequest {
    int selector = 0;
    bool on = false;
};

struct LinkRequest {
    bool on = false;
};

// "Reset Notch Automatic" (automaticRows) or "Reset Notch Manual".
struct ResetRequest {
    int channel = 0;
    bool automaticRows = false;
};

// The page's answer to a question it was asked.
struct AnswerRequest {
    int id = 0;
    bool yes = false;
};

using Request = std::variant<NotchRequest, SettingRequest, SearchRequest, LinkRequest, ResetRequest, AnswerRequest>;

struct Parsed {
    std::optional<Request> request;
    QString error;  // why it was refused, when request is empty
};

Parsed ParseRequest(const QByteArray& message);

// The name a setting has in messages: "count", "width", "depth",
// "sensitivity", "release", "mode".
const char* SettingKey(notch::AutoSetting setting);

}  // namespace remote
