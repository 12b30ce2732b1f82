#include "cutindex.h"

#include "cutdataset.h"
#include "series.h"

#include <atomic>
#include <cmath>

namespace {

float numberOrZero(float value) {
    return std::isnan(value) ? 0.0f : value;
}

SeriesRanges seriesRanges(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    SeriesRanges ranges;
    for (std::uint32_t i = first; i < last; ++i) {
        const float removal = numberOrZero(data.records[i].removal);
        ranges.removal.add(removal);
        if (data.records[i].motionCode == 0) {
            ranges.rapidRemoval.add(removal);
            continue;
        }
        ranges.orgRate.add(numberOrZero(seriesValue(data, i, 1, 0.0f)));
        ranges.optRate.add(numberOrZero(seriesValue(data, i, 2, 0.0f)));
    }
    return ranges;
}

ValueRange blockNumberRange(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    ValueRange range;
    for (std::uint32_t i = first; i < last; ++i)
        range.add(horizontalValue(data, i, 2));
    return range;
}

// The tool rule of the chart: a record whose tool differs from the one before moves the colour
// on, unless the one before is tool 0.
std::vector<std::uint32_t> findColourSteps(const CutDataSet& data) {
    std::vector<std::uint32_t> steps;
    for (std::uint32_t i = 1; i < data.count; ++i) {
        const std::int16_t before = data.records[i - 1].toolNo;
        if (data.records[i].toolNo != before && before != 0)
            steps.push_back(i);
    }
    steps.shrink_to_fit();
    return steps;
}

// A running sum of lengths never decreases, and once NaN stays NaN: bisection finds the first NaN.
std::uint32_t firstNaN(const LoadedArray<float>& distances, std::uint32_t count) {
    std::uint32_t low = 0;
    std::uint32_t high = count;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (std::isnan(distances[middle]))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

CutIndex CutIndex::build(const CutDataSet& data) {
    CutIndex index;
    index.count_ = data.count;
    index.series_.build(data.count, [&](std::uint32_t first, std::uint32_t last) {
        return seriesRanges(data, first, last);
    });
    index.blockNumbers_.build(data.count, [&](std::uint32_t first, std::uint32_t last) {
        return blockNumberRange(data, first, last);
    });
    index.colourSteps_ = findColourSteps(data);
    index.firstNaN_[0] = firstNaN(data.totalDistance, data.count);
    index.firstNaN_[1] = firstNaN(data.cutDistance, data.count);
    static std::atomic<std::uint64_t> builds{0};
    index.serial_ = ++builds;
    return index;
}

bool CutIndex::covers(const CutDataSet& data) const {
    return data.count == count_ && data.records.size() == count_ && series_.count() == count_ &&
           blockNumbers_.count() == count_;
}

std::uint64_t CutIndex::bytes() const {
    return series_.bytes() + blockNumbers_.bytes() +
           colourSteps_.capacity() * sizeof(std::uint32_t);
}
