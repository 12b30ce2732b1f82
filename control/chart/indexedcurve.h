#pragma once

#include "chartframe.h"
#include "columncover.h"
#include "columnpath.h"
#include "cutdataset.h"

#include <climits>
#include <cstdint>

#include <vector>

// The curve drawn from the data set's index: each pixel column's records go to the column path as
// one group, their lowest and highest point read from the index, so a render costs a few searches
// per column instead of a visit to every shown record. The column path receives the same groups
// as from a line to every record.
class IndexedCurve {
public:
    // With `oneColour` the curve is drawn in chart.colours[0] throughout, without colour steps.
    IndexedCurve(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data,
                 bool oneColour = false);

    void draw(ColumnPath& path) const;

private:
    // The pixel rows of a stretch of records; lo > hi when empty.
    struct PixelSpan {
        int lo = INT_MAX;
        int hi = INT_MIN;
        void add(int y) {
            lo = y < lo ? y : lo;
            hi = y > hi ? y : hi;
        }
    };

    float horizontal(std::uint64_t i) const {
        return distances_ ? distances_[i]
                          : static_cast<float>(static_cast<std::uint32_t>(blockNos_[i]));
    }
    int column(std::uint64_t i) const { return frame_.pointX(horizontal(i)); }
    float value(std::uint64_t i) const;
    int row(std::uint64_t i) const { return frame_.pointY(value(i)); }
    // The plotted values of entry k of the pyramid's level (a record on level 0), NaN as 0.
    ValueRange values(int level, std::uint64_t k) const;
    PixelSpan rows(const ValueRange& range) const;

    std::uint32_t columnEnd(std::uint32_t i, std::uint32_t stop, int x) const;
    std::uint32_t distanceColumnEnd(std::uint32_t i, std::uint32_t stop, int x) const;
    PixelSpan rowsOver(std::uint32_t a, std::uint32_t b) const;
    void addEndRows(PixelSpan& span, std::uint32_t a, std::uint32_t b) const;
    ColumnRun columnRun(std::uint32_t i, std::uint32_t end, int x) const;
    // The pen after `steps` colour steps.
    ColorRef colour(std::ptrdiff_t steps) const;
    void drawGroups(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                    const std::uint32_t* steps, std::ptrdiff_t count,
                    std::ptrdiff_t firstColour) const;
    void drawStack(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                   const std::uint32_t* steps, std::ptrdiff_t count,
                   std::ptrdiff_t firstColour) const;
    std::ptrdiff_t groupThatMayShow(std::uint32_t i, const std::uint32_t* steps,
                                    std::ptrdiff_t done) const;

    const ChartFrame& frame_;
    const ChartState& chart_;
    const CutDataSet& data_;
    const CutIndex& index_;
    const std::uint8_t drawMode_;
    const float rapidFactor_;
    // Distances for modes 0 and 1, nullptr for block numbers.
    const float* distances_;
    const std::int32_t* blockNos_;
    std::uint32_t firstNaN_;
    const std::vector<std::uint32_t>& steps_;
    // Scratch of drawStack, kept for the next column.
    mutable ColumnCover cover_;
    mutable std::vector<ColumnPiece> pieces_;
};
