#include "notch/graph_export.h"

#include <cmath>
#include <cstdio>

#include "model/number_text.h"

namespace notch {
namespace {

std::string Level(double dB) {
    char text[32];
    if (std::abs(dB) < 0.005) dB = 0.0;  // no "-0.00"
    std::snprintf(text, sizeof text, "%.2f", dB);
    return text;
}

}  // namespace

std::string ResponsesCsv(const ResponseTables& tables) {
    std::string csv = "Frequency (Hz),Left (dB),Right (dB)\n";
    for (int i = 0; i < model::kFreqCodes; ++i)
        csv += model::FormatNumber(model::FreqTable[i]) + ',' + Level(tables.ChannelResponse(i, 0)) + ',' +
               Level(tables.ChannelResponse(i, 1)) + '\n';
    return csv;
}

}  // namespace notch
