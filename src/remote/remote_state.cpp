#include "remote/remote_state.h"

#include <QJsonArray>
#include <algorithm>

#include "notch/auto_settings.h"
#include "notch/channel_edits.h"
#include "notch/unit_text.h"
#include "remote/protocol.h"

namespace remote {

QJsonObject StateMessage(const model::PresetImage& image, const Activity& activity) {
    QJsonArray channels;
    for (int c = 0; c < model::kChannels; ++c) {
        const int automatic = notch::AutomaticRowCount(image, c);
        QJsonArray rows;
        for (int k = 0; k < model::kRowsPerChannel; ++k) {
            const model::NotchCodes codes = model::ReadNotchRecord(image, model::NotchIndex(c, k));
            rows.append(QJsonObject{{"frequency", std::clamp<int>(codes.freq, 0, model::kMaxFreqCode)},
                                    {"gain", std::clamp<int>(codes.gain, 0, model::kMaxGainCode) - model::kMaxGainCode},
                                    {"width", std::clamp<int>(codes.width, 0, model::kMaxWidthCode)},
                                    {"automatic", k < automatic}});
        }
        QJsonObject settings;
        for (const notch::AutoSetting s : notch::kAutoSettings) {
            const int high = notch::StateFromControl(s, notch::ControlMaximum(s));
            const int low = notch::StateFromControl(s, 0);
            settings.insert(QLatin1String(SettingKey(s)),
                            std::clamp(static_cast<int>(image[notch::ImageOffset(s, c)]), low, high));
        }
        channels.append(QJsonObject{{"rows", rows}, {"settings", settings}});
    }
    QJsonArray found;
    if (activity.found) {
        const auto& entries = activity.found->newestFirst();
        const auto shown = std::min<std::size_t>(entries.size(), kFoundInState);
        for (std::size_t i = 0; i < shown; ++i)
            found.append(QJsonObject{{"id", entries[i].id},
                                     {"channel", entries[i].channel},
                                     {"row", entries[i].row},
                                     {"text", QString::fromStdString(notch::FoundNotchText(entries[i]))}});
    }
    QJsonValue question = QJsonValue::Null;
    QString status = activity.status;
    if (const HeldQuestion* held = activity.question) {
        const bool worded = !held->yes.isEmpty() && !held->no.isEmpty();
        question = QJsonObject{{"id", held->id},
                               {"title", held->title},
                               {"text", held->text},
                               {"yes", worded ? held->yes : QStringLiteral("Yes")},
                               {"no", worded ? held->no : QStringLiteral("No")}};
        if (!held->waitingFor.isEmpty()) status = held->waitingFor;
    }
    return {{"type", "state"},           {"channels", channels},      {"linked", activity.linked},
            {"search", activity.search}, {"online", activity.online}, {"demo", activity.demo},
            {"busy", activity.busy},     {"status", status},          {"found", found},
            {"question", question}};
}

QJsonObject TablesMessage() {
    QJsonArray freqs;
    QJsonArray freqTexts;  // as the editor writes them: "1003 Hz"
    for (const double f : model::FreqTable) {
        freqs.append(f);
        freqTexts.append(QString::fromStdString(notch::FreqWithUnit(f)));
    }
    QJsonArray widths;
    QJsonArray q;
    for (int w = 0; w <= model::kMaxWidthCode; ++w) {
        widths.append(
            QString::fromUtf8(model::BandwidthName[w].data(), static_cast<int>(model::BandwidthName[w].size())));
        q.append(model::BandwidthQ[w]);
    }
    QJsonArray settings;
    for (const notch::AutoSetting s : notch::kAutoSettings) {
        const int low = notch::StateFromControl(s, 0);
        const int high = notch::StateFromControl(s, notch::ControlMaximum(s));
        QJsonArray texts;
        for (int v = low; v <= high; ++v) texts.append(QString::fromStdString(notch::ValueText(s, v)));
        settings.append(QJsonObject{{"key", SettingKey(s)},
                                    {"caption", QString::fromStdString(notch::Caption(s)).trimmed()},
                                    {"min", low},
                                    {"max", high},
                                    {"texts", texts}});
    }
    return {{"type", "tables"}, {"frequencies", freqs}, {"frequencyTexts", freqTexts}, {"widths", widths},
            {"q", q},           {"settings", settings}};
}

QJsonObject ErrorMessage(const QString& text) { return {{"type", "error"}, {"text", text}}; }

QJsonObject AskMessage(int id, const QString& title, const QString& text) {
    return {{"type", "ask"}, {"id", id}, {"title", title}, {"text", text}};
}

}  // namespace remote
