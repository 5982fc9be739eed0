#include "remote/protocol.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>

#include "model/value_tables.h"

namespace remote {
namespace {

using notch::AutoSetting;

// Reads the fields of one message; the first fault is the one reported.
class Fields {
public:
    explicit Fields(const QJsonObject& object) : object_(object) {}

    int integer(const char* key, int low, int high) {
        if (!error_.isEmpty()) return low;
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) return fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(key))), low;
        const double number = value.toDouble(std::nan(""));
        if (!value.isDouble() || std::floor(number) != number)
            return fail(QStringLiteral("\"%1\" must be a whole number").arg(QLatin1String(key))), low;
        if (number < low || number > high)
            return fail(QStringLiteral("\"%1\" must be %2..%3").arg(QLatin1String(key)).arg(low).arg(high)), low;
        return static_cast<int>(number);
    }

    bool boolean(const char* key) {
        if (!error_.isEmpty()) return false;
        const QJsonValue value = object_.value(QLatin1String(key));
        if (!value.isBool()) return fail(QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(key))), false;
        return value.toBool();
    }

    QString text(const char* key, const QStringList& allowed) {
        if (!error_.isEmpty()) return {};
        const QJsonValue value = object_.value(QLatin1String(key));
        if (!value.isString() || !allowed.contains(value.toString()))
            return fail(QStringLiteral("\"%1\" must be one of %2")
                            .arg(QLatin1String(key), allowed.join(QStringLiteral(", ")))),
                   QString();
        return value.toString();
    }

    // Every key of the message must be one its type knows.
    void only(const QStringList& keys) {
        if (!error_.isEmpty()) return;
        for (const QString& key : object_.keys())
            if (!keys.contains(key)) {
                fail(QStringLiteral("Unknown field \"%1\"").arg(key.left(40)));
                return;
            }
    }

    const QString& error() const { return error_; }

private:
    void fail(const QString& why) { error_ = why; }

    const QJsonObject& object_;
    QString error_;
};

constexpr AutoSetting kSettings[] = {AutoSetting::NumNotchAuto, AutoSetting::QNotchAuto,   AutoSetting::AttenuationMode,
                                     AutoSetting::Sensitivity,  AutoSetting::ReleaseSpeed, AutoSetting::SearchMode};

std::optional<Request> Read(const QString& type, Fields& f) {
    if (type == QLatin1String("notch")) {
        f.only({"type", "channel", "row", "field", "value"});
        NotchRequest r;
        r.channel = f.integer("channel", 0, model::kChannels - 1);
        r.row = f.integer("row", 0, model::kRowsPerChannel - 1);
        const QString field = f.text("field", {"frequency", "gain", "width"});
        if (field == QLatin1String("frequency")) {
            r.field = NotchField::Frequency;
            r.value = f.integer("value", 0, model::kMaxFreqCode);
        } else if (field == QLatin1String("gain")) {
            r.field = NotchField::Gain;
            r.value = f.integer("value", -model::kMaxGainCode, 0);
        } else {
            r.field = NotchField::Width;
            r.value = f.integer("value", 0, model::kMaxWidthCode);
        }
        return r;
    }
    if (type == QLatin1String("setting")) {
        f.only({"type", "channel", "setting", "value"});
        SettingRequest r;
        r.channel = f.integer("channel", 0, model::kChannels - 1);
        QStringList keys;
        for (const AutoSetting s : kSettings) keys << QLatin1String(SettingKey(s));
        const QString key = f.text("setting", keys);
        for (const AutoSetting s : kSettings)
            if (key == QLatin1String(SettingKey(s))) r.setting = s;
        const int low = notch::StateFromControl(r.setting, 0);
        r.value = f.integer("value", low, notch::StateFromControl(r.setting, notch::ControlMaximum(r.setting)));
        return r;
    }
    if (type == QLatin1String("search")) {
        f.only({"type", "selector", "on"});
        SearchRequest r;
        r.selector = f.integer("selector", 0, 2);
        r.on = f.boolean("on");
        return r;
    }
    if (type == QLatin1String("link")) {
        f.only({"type", "on"});
        return LinkRequest{f.boolean("on")};
    }
    if (type == QLatin1String("reset")) {
        f.only({"type", "channel", "rows"});
        ResetRequest r;
        r.channel = f.integer("channel", 0, model::kChannels - 1);
        r.automaticRows = f.text("rows", {"automatic", "manual"}) == QLatin1String("automatic");
        return r;
    }
    if (type == QLatin1String("answer")) {
        f.only({"type", "id", "yes"});
        AnswerRequest r;
        r.id = f.integer("id", 1, 1'000'000'000);
        r.yes = f.boolean("yes");
        return r;
    }
    return std::nullopt;
}

}  // namespace

const char* SettingKey(AutoSetting setting) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return "count";
    case AutoSetting::QNotchAuto: return "width";
    case AutoSetting::AttenuationMode: return "depth";
    case AutoSetting::Sensitivity: return "sensitivity";
    case AutoSetting::ReleaseSpeed: return "release";
    case AutoSetting::SearchMode: return "mode";
    }
    return "";
}

Parsed ParseRequest(const QByteArray& message) {
    if (message.size() > kMaxMessageBytes) return {std::nullopt, QStringLiteral("Message too long")};
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(message, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return {std::nullopt, QStringLiteral("Not a JSON object")};
    const QJsonObject object = document.object();
    const QJsonValue type = object.value(QLatin1String("type"));
    if (!type.isString()) return {std::nullopt, QStringLiteral("\"type\" is missing")};
    Fields fields(object);
    std::optional<Request> request = Read(type.toString(), fields);
    if (!request) return {std::nullopt, QStringLiteral("Unknown type \"%1\"").arg(type.toString().left(40))};
    if (!fields.error().isEmpty()) return {std::nullopt, fields.error()};
    return {request, {}};
}

}  // namespace remote
