#pragma once
// The approximate response of each channel's notches, in dB at the 730
// frequencies of FreqTable. A notch change recomputes its own column and its
// channel's sums; the other notches' columns are reused.
#include <vector>

#include "model/value_tables.h"
#include "notch/notch_arrays.h"

namespace notch {

// The contribution in dB at f of a notch at f0 with gain (dB) and Q: gain
// at f0, half of it where Q * |f0/f - f/f0| = 1, towards 0 far away.
double NotchContribution(double f, double f0, double gain, double q);

class ResponseTables {
public:
    ResponseTables();

    // Recomputes the column of notch n from what was last sent for it and
    // the sums of its channel.
    void computeNotch(int n, const NotchArrays& arrays);

    // i: graph point 0..729 (FreqTable code); n: notch 0..23; c: channel.
    double NotchResponse(int i, int n) const { return notch_[Index(i, model::kNotches, n)]; }
    double ChannelResponse(int i, int c) const { return channel_[Index(i, model::kChannels, c)]; }

private:
    static std::size_t Index(int i, int columns, int column);

    std::vector<double> notch_;    // [i][n]
    std::vector<double> channel_;  // [i][c]
};

}  // namespace notch
