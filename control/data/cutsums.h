#pragma once

#include "cutdataset.h"
#include "series.h"

#include <array>

// The sums every load takes the same way, so that loads on any number of threads give the same
// data set to the bit.
namespace cutsums {

// A running distance and the next step. The sum is kept in double and each stored value is it
// rounded to float: float sums would lose the short steps of a long file. Once NaN, the distance
// keeps that NaN, bit for bit, whatever order the compiler gives the addition.
inline double addStep(double distance, float step) {
    return distance != distance ? distance : distance + static_cast<double>(step);
}

inline void raiseMaximum(float& maximum, float value) {
    if (value > maximum)
        maximum = value;
}

// Raises the maxima of the plotted series to a block's values where they are higher.
inline void raiseMaxima(std::array<float, kMaximaCount>& maxima, const CutRecord& state) {
    raiseMaximum(maxima[0], state.removal);
    if (state.motionCode != 0) {
        raiseMaximum(maxima[1], static_cast<float>(state.orgFeed) * state.removal * kPerSecond);
        raiseMaximum(maxima[2], static_cast<float>(state.optFeed) * state.removal * kPerSecond);
    }
}

} // namespace cutsums
