#include "notch/settings_differences.h"

#include <algorithm>

#include "notch/auto_settings.h"
#include "notch/unit_text.h"

namespace notch {
namespace {

std::string ChannelName(int channel) { return channel == 0 ? "Left" : "Right"; }

// The window's caption without the blanks that align it there.
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string FreqText(int code) {
    return FreqWithUnit(model::FreqTable[static_cast<std::size_t>(std::clamp(code, 0, model::kMaxFreqCode))]);
}

// The fields of a notch that differ, as they read on one side.
std::string NotchSide(const model::NotchCodes& side, const model::NotchCodes& other) {
    std::vector<std::string> parts;
    if (side.gain != other.gain) parts.push_back(GainWithUnit(side.gain));
    if (side.freq != other.freq) parts.push_back(FreqText(side.freq));
    if (side.width != other.width) parts.push_back(WidthWithUnit(side.width));
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

// "SUBJECT: MINE HERE, THEIRS THERE".
std::string DifferenceLine(const std::string& subject, const std::string& mine, const std::string& hereWord,
                           const std::string& theirs, const std::string& deviceWord) {
    std::string line = subject;
    for (const std::string* part : {&mine, &hereWord, &theirs, &deviceWord}) {
        line += part == &mine ? ": " : part == &theirs ? ", " : " ";
        line += *part;
    }
    return line;
}

}  // namespace

std::vector<std::string> SettingsDifferences(const model::PresetImage& here, const model::PresetImage& device,
                                             const std::string& hereWord, const std::string& deviceWord) {
    std::vector<std::string> lines;
    for (int n = 0; n < model::kNotches; ++n) {
        const model::NotchCodes mine = model::ReadNotchRecord(here, n);
        const model::NotchCodes theirs = model::ReadNotchRecord(device, n);
        if (mine == theirs) continue;
        std::string subject = ChannelName(model::ChannelOfNotch(n));
        subject += " notch ";
        subject += std::to_string(model::RowOfNotch(n) + 1);
        lines.push_back(DifferenceLine(subject, NotchSide(mine, theirs), hereWord, NotchSide(theirs, mine), deviceWord));
    }
    AutoSettings mine, theirs;
    for (int channel = 0; channel < model::kChannels; ++channel) {
        LoadAutoSettings(mine, here, channel);
        LoadAutoSettings(theirs, device, channel);
        for (const AutoSetting setting : kAutoSettings) {
            const int a = mine(setting, channel);
            const int b = theirs(setting, channel);
            if (a == b) continue;
            std::string subject = ChannelName(channel);
            subject += ' ';
            subject += Trimmed(Caption(setting));
            lines.push_back(DifferenceLine(subject, SpokenSetting(setting, a), hereWord, SpokenSetting(setting, b),
                                           deviceWord));
        }
    }
    return lines;
}

std::vector<std::string> ListedDifferences(const std::vector<std::string>& all, std::size_t shown) {
    if (all.size() <= shown) return all;
    std::vector<std::string> listed(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(shown));
    listed.push_back("and " + std::to_string(all.size() - shown) + " more");
    return listed;
}

}  // namespace notch
