#pragma once

#include "curvexids.h"
#include "cutdataset.h"

#include <cstdint>
#include <vector>

// The horizontal values of a time axis: for every record the machining time in seconds from the
// start of the data to the end of its block, programmed or optimised, by the machining-time rules
// (G00 moves at the G00 feed, moves without a feed count 0). Summed in double precision, each
// stored value the sum rounded to float, as the distances are: 4 bytes a record, one array at a
// time, built for one data set, mode and G00 feed.
class TimeAxisValues {
public:
    TimeAxisValues(const CutDataSet& data, curvex::TimeAxisMode mode, double g00Feed);

    curvex::TimeAxisMode mode() const { return mode_; }
    // True when built for this data set's records (its drawing index's serial), mode and G00 feed.
    bool builtFor(const CutDataSet& data, curvex::TimeAxisMode mode, double g00Feed) const;

    std::uint32_t count() const { return static_cast<std::uint32_t>(seconds_.size()); }
    const float* seconds() const { return seconds_.data(); }
    float operator[](std::uint32_t i) const { return seconds_[i]; }
    // The time up to the end of the last record; 0 without records.
    float total() const { return seconds_.empty() ? 0.0f : seconds_.back(); }

private:
    const CutDataSet* data_;
    std::uint64_t serial_;
    curvex::TimeAxisMode mode_;
    double g00Feed_;
    LoadedArray<float> seconds_;
};
