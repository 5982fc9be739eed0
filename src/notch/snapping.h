#pragma once
// Typed values snapped onto the device's grid. Every search breaks a tie
// towards the lower candidate.
namespace notch {

// The FreqTable entry nearest to x (Hz) and its code 0..729. Below 20 Hz
// gives code 0, above 20000 Hz code 729.
double NearestFreq(double x);
int NearestFreqCode(double x);

// The gain code 0..45 whose gain (code - 45 dB) is nearest to x. Values
// below -45 dB give 0, values above 0 dB give 45.
int NearestGainCode(double x);

// The integer 1..16 nearest to x.
int NearestSensitivity(double x);

}  // namespace notch
