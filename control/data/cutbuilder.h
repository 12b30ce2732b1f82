#pragma once

#include "cutdataset.h"
#include "moveindexbuilder.h"
#include "series.h"

#include <array>
#include <cstddef>

// Builds a new data set record by record: the cumulative distances, the block numbers, the
// maxima of the plotted series and the move index. The arrays are reserved once for the expected
// number of records.
class CutBuilder {
public:
    explicit CutBuilder(std::size_t expectedRecords);

    // A record without a movement of its own (the binary header position): distances stay where
    // they are and no maximum is taken.
    void addStart(const CutRecord& state);

    // A block that moved by (dx, dy, dz).
    void add(const CutRecord& state, float dx, float dy, float dz);

    // A running distance and the next step. The sum is kept in double and each stored value is
    // it rounded to float: float sums would lose the short steps of a long file. Once NaN, the
    // distance keeps that NaN, bit for bit, whatever order the compiler gives the addition.
    static double addStep(double distance, float step) {
        return distance != distance ? distance : distance + static_cast<double>(step);
    }
    static void raiseMaximum(float& maximum, float value) {
        if (value > maximum)
            maximum = value;
    }
    // Raises the maxima of the plotted series to a block's values where they are higher.
    static void raiseMaxima(std::array<float, kMaximaCount>& maxima, const CutRecord& state) {
        raiseMaximum(maxima[0], state.removal);
        if (state.motionCode != 0) {
            raiseMaximum(maxima[1], static_cast<float>(state.orgFeed) * state.removal * kPerSecond);
            raiseMaximum(maxima[2], static_cast<float>(state.optFeed) * state.removal * kPerSecond);
        }
    }

    // The finished data set, its arrays trimmed to the exact count, with its index.
    CutDataSet take();

private:
    void store(const CutRecord& state, float step);

    CutDataSet data_;
    double totalDistance_ = 0.0;
    double cutDistance_ = 0.0;
    MoveIndexBuilder moves_;
};
