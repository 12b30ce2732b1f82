#pragma once

#include "chartframe.h"
#include "cutdataset.h"
#include "seriesmaxindex.h"

#include <cstdint>
#include <optional>

// The record the read-out shows for one pixel column, with the pixel of its point.
struct PickedRecord {
    std::uint32_t index = 0;
    int x = 0;
    int y = 0;
    float value = 0.0f; // the plotted value
};

// Picks the record under a pixel column of the chart of one data set: among the records whose
// point the chart draws in that column (from the first shown record up to the last one not
// beyond the upper end of the shown range), the one with the largest plotted value, the first of
// equals; when none falls into that column, the same in the nearest column that has one (the
// left one on a tie). Horizontal values that never decrease are searched by bisection, others
// walked as the renderer walks them; the maximum of a long run of records comes from a block
// index of the series.
class RecordPicker {
public:
    // The data set must outlive the picker and stay unchanged.
    explicit RecordPicker(const CutDataSet& data);

    // Whether the picker was made for these very records: the same data set with the same index.
    bool serves(const CutDataSet& data) const;

    // Nothing when the chart `view` draws no record at all, as for a range beyond the last
    // record.
    std::optional<PickedRecord> pick(const ChartState& view, int column) const;

private:
    bool isSorted(HorizontalAxis axis) const;

    const CutDataSet& data_;
    const std::uint64_t serial_;
    // Whether the block numbers never decrease, from the data set's index, or without one looked
    // at once when first needed.
    mutable std::optional<bool> blockNosAscend_;
    // Built at the first long column of a plotted series, kept while the series stays.
    mutable SeriesMaxIndex maxima_;
};

// The record the read-out marks at pixel column `column` of the chart `view`, as the picker picks
// it; a compare chart's records are picked by the optimised removal per second. The value is that
// of the series the read-out follows: the chart's own, of a compare chart the optimised series or
// the feed change.
std::optional<PickedRecord> PickReadOut(const RecordPicker& picker, const CutDataSet& data,
                                        const ChartState& view, int column);
