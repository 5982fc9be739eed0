#include "cli/channel_text.h"

#include <algorithm>

#include "model/number_text.h"
#include "notch/auto_settings.h"
#include "notch/channel_edits.h"

namespace cli {
namespace {

using notch::AutoSetting;

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The image was brought into range when it was read; a code is still
// clamped before it indexes a table, whatever the image holds.
model::NotchCodes SafeCodes(const model::PresetImage& image, int n) {
    model::NotchCodes codes = model::ReadNotchRecord(image, n);
    codes.freq = std::clamp(codes.freq, 0, model::kMaxFreqCode);
    codes.gain = std::clamp(codes.gain, 0, model::kMaxGainCode);
    codes.width = std::clamp(codes.width, 0, model::kMaxWidthCode);
    return codes;
}

}  // namespace

QString ChannelName(int channel) { return channel == 0 ? "left" : "right"; }

PrintedLine NotchLine(const model::PresetImage& image, int n) {
    const int channel = model::ChannelOfNotch(n);
    const int row = model::RowOfNotch(n) + 1;
    const model::NotchCodes codes = SafeCodes(image, n);
    const std::string freq = model::FormatNumber(model::FreqTable[codes.freq]);
    const int gainDb = codes.gain - model::kMaxGainCode;
    const QString width = Text(std::string(model::BandwidthName[codes.width]));
    const bool automatic = row <= notch::AutomaticRowCount(image, channel);
    PrintedLine line;
    line.text = QString("%1 %2: %3 Hz %4 dB %5%6")
                    .arg(ChannelName(channel))
                    .arg(row)
                    .arg(Text(freq))
                    .arg(gainDb)
                    .arg(width, automatic ? " automatic" : "");
    line.json.add("channel", ChannelName(channel))
        .add("row", row)
        .addNumberText("freq", freq)
        .add("gain", gainDb)
        .add("width", width)
        .add("automatic", automatic);
    return line;
}

PrintedLine ChannelSettingsLine(const model::PresetImage& image, int channel) {
    struct Field {
        AutoSetting setting;
        const char* key;     // the JSON field
        const char* option;  // the word of `set`
    };
    static constexpr Field kFields[] = {{AutoSetting::NumNotchAuto, "auto_count", "auto-count"},
                                        {AutoSetting::QNotchAuto, "auto_width", "auto-width"},
                                        {AutoSetting::AttenuationMode, "depth", "depth"},
                                        {AutoSetting::ReleaseSpeed, "release", "release"},
                                        {AutoSetting::SearchMode, "mode", "mode"},
                                        {AutoSetting::Sensitivity, "sensitivity", "sensitivity"}};
    PrintedLine line;
    line.text = ChannelName(channel);
    line.json.add("channel", ChannelName(channel));
    for (const Field& field : kFields) {
        const int state = image[notch::ImageOffset(field.setting, channel)];
        const QString value = Text(notch::ValueText(field.setting, state));
        line.text += QString("  %1 %2").arg(field.option, value);
        const bool number = field.setting == AutoSetting::NumNotchAuto || field.setting == AutoSetting::Sensitivity;
        if (number)
            line.json.addNumberText(field.key, value.toStdString());
        else
            line.json.add(field.key, field.setting == AutoSetting::QNotchAuto ? value : value.toLower());
    }
    return line;
}

}  // namespace cli
