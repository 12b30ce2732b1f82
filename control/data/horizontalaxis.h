#pragma once

#include "cutdataset.h"
#include "timeaxisvalues.h"

#include <cstdint>

// The horizontal quantity a chart places its records by: a distance mode (0 distance, 1 distance
// without G00 moves, 2 block number; any other draws the axes without a curve), or the machining
// times of a time axis, which take the distance mode's place while they are given. The drawing,
// the pick, the shown records, the zoom's limits and the ticks all read the horizontal values
// through it.
class HorizontalAxis {
public:
    // Not explicit: a distance mode alone is the quantity of a chart without a time axis. The
    // times, when given, are built for the data set the axis is used with.
    HorizontalAxis(std::int32_t distanceMode, const TimeAxisValues* times = nullptr)
        : distanceMode_(distanceMode), times_(times) {}

    std::int32_t distanceMode() const { return distanceMode_; }
    const TimeAxisValues* times() const { return times_; }
    bool isTime() const { return times_ != nullptr; }
    bool drawsCurve() const {
        return times_ != nullptr || (distanceMode_ >= 0 && distanceMode_ <= 2);
    }

    // The values that never decrease before their first NaN: the distances of mode 0 or 1, or the
    // times; nullptr for block numbers and quantities without a curve.
    const float* sortedValues(const CutDataSet& data) const;
    // The value of record i (block numbers as unsigned 32-bit values); 0 without a curve.
    float valueAt(const CutDataSet& data, std::uint32_t i) const;

private:
    std::int32_t distanceMode_;
    const TimeAxisValues* times_;
};
