#include "notch/snapping.h"

#include "model/value_tables.h"

namespace notch {
namespace {

// Candidates value(0) < value(1) < ... < value(last): the first one not
// below x decides; on a tie with the one below it the lower one wins. A NaN
// is below nothing and ends at the first candidate.
template <typename Value>
int NearestIndex(double x, int last, Value value) {
    int below = 0;
    for (int i = 0; i <= last; ++i) {
        const double v = value(i);
        if (v < x) {
            below = i;
            continue;
        }
        if (v == x) return i;
        if (i == 0) return 0;
        return (v - x) < (x - value(below)) ? i : below;
    }
    return last;
}

}  // namespace

int NearestFreqCode(double x) {
    return NearestIndex(x, model::kMaxFreqCode, [](int i) { return model::FreqTable[i]; });
}

double NearestFreq(double x) { return model::FreqTable[NearestFreqCode(x)]; }

int NearestGainCode(double x) {
    return NearestIndex(x, model::kMaxGainCode, [](int c) { return static_cast<double>(c - model::kMaxGainCode); });
}

int NearestSensitivity(double x) {
    return 1 + NearestIndex(x, 15, [](int i) { return static_cast<double>(i + 1); });
}

}  // namespace notch
