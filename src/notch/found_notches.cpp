#include "notch/found_notches.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/number_text.h"
#include "model/value_tables.h"

namespace notch {
namespace {

const char* ChannelName(int channel) { return channel == 0 ? "Left" : "Right"; }

std::string Clock(int secondsOfDay) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondsOfDay / 3600 % 24, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    return text;
}

// Rounded to three significant figures first, so that 999.6 Hz reads
// "1.00 kHz" rather than "1000 Hz".
std::string ShortFrequency(double hz) {
    const double scale = std::pow(10.0, std::floor(std::log10(hz)) - 2);
    const double rounded = std::round(hz / scale) * scale;
    const bool kilo = rounded >= 1000;
    const double shown = kilo ? rounded / 1000 : rounded;
    const int decimals = std::max(0, 2 - static_cast<int>(std::floor(std::log10(shown) + 1e-9)));
    char text[32];
    std::snprintf(text, sizeof text, "%.*f %s", decimals, shown, kilo ? "kHz" : "Hz");
    return text;
}

}  // namespace

std::string FoundNotchText(const FoundNotch& found) {
    const std::string gain = found.gainDb < 0 ? "\u2212" + std::to_string(-found.gainDb) : std::to_string(found.gainDb);
    return Clock(found.secondsOfDay) + " " + ChannelName(found.channel) + " " + std::to_string(found.row + 1) + " " +
           ShortFrequency(found.hz) + " " + gain + " dB";
}

std::string FoundNotchesCsv(const std::deque<FoundNotch>& newestFirst) {
    std::string csv = "Time,Channel,Notch,Frequency (Hz),Gain (dB)\n";
    for (std::size_t i = newestFirst.size(); i-- > 0;) {
        const FoundNotch& f = newestFirst[i];
        csv += Clock(f.secondsOfDay) + "," + ChannelName(f.channel) + "," + std::to_string(f.row + 1) + "," +
               model::FormatNumber(f.hz) + "," + std::to_string(f.gainDb) + "\n";
    }
    return csv;
}

void FoundNotches::add(const model::PresetImage& image, int n, int secondsOfDay) {
    const model::NotchCodes codes = model::ReadNotchRecord(image, n);
    FoundNotch found;
    found.id = nextId_++;
    found.secondsOfDay = secondsOfDay;
    found.channel = model::ChannelOfNotch(n);
    found.row = model::RowOfNotch(n);
    found.hz = model::FreqTable[static_cast<std::size_t>(std::clamp(codes.freq, 0, model::kMaxFreqCode))];
    found.gainDb = std::clamp(codes.gain, 0, model::kMaxGainCode) - model::kMaxGainCode;
    entries_.push_front(found);
    if (entries_.size() > kMaxEntries) entries_.pop_back();
}

}  // namespace notch
