#include "notch/response.h"

#include <algorithm>
#include <stdexcept>

#include "model/preset_image.h"

namespace notch {

double NotchContribution(double f, double f0, double gain, double q) {
    const double detune = f0 / f - f / f0;
    return gain / (q * q * detune * detune + 1.0);
}

ResponseTables::ResponseTables()
    : notch_(static_cast<std::size_t>(model::kFreqCodes) * model::kNotches, 0.0),
      channel_(static_cast<std::size_t>(model::kFreqCodes) * model::kChannels, 0.0) {}

std::size_t ResponseTables::Index(int i, int columns, int column) {
    if (i < 0 || i >= model::kFreqCodes || column < 0 || column >= columns)
        throw std::out_of_range("graph point or column out of range");
    return static_cast<std::size_t>(i) * columns + column;
}

void ResponseTables::computeNotch(int n, const NotchArrays& arrays) {
    const int channel = model::ChannelOfNotch(n);
    const int width = std::clamp(static_cast<int>(arrays.widthCode.at(n)), 0, model::kMaxWidthCode);
    const double q = model::BandwidthQ[width];
    const double f0 = arrays.freqHz[n];
    const double gain = arrays.gainDb[n];
    const int first = channel * model::kRowsPerChannel;
    for (int i = 0; i < model::kFreqCodes; ++i) {
        double* row = &notch_[static_cast<std::size_t>(i) * model::kNotches];
        row[n] = NotchContribution(model::FreqTable[i], f0, gain, q);
        double sum = 0;
        for (int k = 0; k < model::kRowsPerChannel; ++k) sum += row[first + k];
        channel_[static_cast<std::size_t>(i) * model::kChannels + channel] = sum;
    }
}

}  // namespace notch
