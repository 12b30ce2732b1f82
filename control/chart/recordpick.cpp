#include "recordpick.h"

#include "plottedseries.h"

#include "series.h"
#include "seriesmaxindex.h"

#include <algorithm>

namespace {

// Runs of records longer than this take their maximum from the index.
constexpr std::uint32_t kIndexedRun = 4 * SeriesMaxIndex::kBlock;

// The best record found so far in one column.
struct ColumnBest {
    bool found = false;
    int column = 0;
    std::uint32_t index = 0;
    float value = 0.0f;

    void take(int newColumn, std::uint32_t i, float v) {
        found = true;
        column = newColumn;
        index = i;
        value = v;
    }
    void offer(std::uint32_t i, float v) {
        if (IsHigherValue(v, value))
            take(column, i, v);
    }
};

// One pick in one view.
class ColumnPick {
public:
    ColumnPick(const CutDataSet& data, const ChartState& view, bool sorted, SeriesMaxIndex& maxima)
        : data_(data), view_(view), frame_(ViewFrame(view, data)), xs_(data, HorizontalOf(view)),
          sorted_(sorted), maxima_(maxima), first_(firstShown()) {}

    // Nothing when the first shown record lies before the left end: the range lies beyond the
    // last record, and the chart draws none.
    std::optional<PickedRecord> pick(int column) const {
        if (xs_[first_] < frame_.xLo)
            return std::nullopt;
        const bool bisect = sorted_ && frame_.sx >= 0.0f;
        return result(bisect ? searchSorted(column) : walkAll(column));
    }

private:
    int columnOf(std::uint32_t i) const { return frame_.pointX(xs_[i]); }
    float valueOf(std::uint32_t i) const {
        return seriesValue(data_, i, view_.drawMode, view_.g00Feed);
    }

    // Every shown record in turn, as the renderer walks them: the target column and the nearest
    // columns on either side of it.
    ColumnBest walkAll(int column) const {
        ColumnBest hit;
        ColumnBest left;
        ColumnBest right;
        for (std::uint32_t i = first_; i < data_.count && !(xs_[i] > frame_.xHi); ++i) {
            const int at = columnOf(i);
            if (at == column)
                offerInColumn(hit, at, i);
            else if (at < column && (!left.found || at >= left.column))
                offerInColumn(left, at, i);
            else if (at > column && (!right.found || at <= right.column))
                offerInColumn(right, at, i);
        }
        return hit.found ? hit : nearer(left, right, column);
    }

    void offerInColumn(ColumnBest& best, int at, std::uint32_t i) const {
        if (best.found && best.column == at)
            best.offer(i, valueOf(i));
        else
            best.take(at, i, valueOf(i));
    }

    static ColumnBest nearer(const ColumnBest& left, const ColumnBest& right, int column) {
        if (!right.found)
            return left;
        if (!left.found)
            return right;
        return column - left.column <= right.column - column ? left : right;
    }

    // Horizontal values that never decrease give columns that never decrease: the records of a
    // column are one run, found by bisection.
    ColumnBest searchSorted(int column) const {
        const std::uint32_t end = shownEnd();
        const std::uint32_t lo = columnBound(first_, end, column, false);
        const std::uint32_t hi = columnBound(lo, end, column, true);
        if (lo < hi)
            return bestIn(lo, hi);
        ColumnBest left;
        ColumnBest right;
        if (lo > first_)
            left = bestIn(columnBound(first_, lo, columnOf(lo - 1), false), lo);
        if (lo < end)
            right = bestIn(lo, columnBound(lo, end, columnOf(lo), true));
        return nearer(left, right, column);
    }

    // The renderer's first shown record; on sorted values the walk's result comes from a
    // bisection.
    std::uint32_t firstShown() const {
        if (!sorted_)
            return firstShownRecord(data_, xs_, HorizontalOf(view_), frame_.xLo);
        std::uint32_t lo = 0;
        std::uint32_t hi = data_.count - 1;
        while (lo < hi) {
            const std::uint32_t middle = lo + (hi - lo) / 2;
            if (xs_[middle] < frame_.xLo)
                lo = middle + 1;
            else
                hi = middle;
        }
        return lo;
    }

    // One past the last record not beyond the upper end of the shown range.
    std::uint32_t shownEnd() const {
        std::uint32_t lo = first_;
        std::uint32_t hi = data_.count;
        while (lo < hi) {
            const std::uint32_t middle = lo + (hi - lo) / 2;
            if (xs_[middle] > frame_.xHi)
                hi = middle;
            else
                lo = middle + 1;
        }
        return lo;
    }

    // The first record in [lo, hi) whose column is beyond `column` (or at or beyond it when
    // `inclusive` is false).
    std::uint32_t columnBound(std::uint32_t lo, std::uint32_t hi, int column,
                              bool inclusive) const {
        while (lo < hi) {
            const std::uint32_t middle = lo + (hi - lo) / 2;
            const int at = columnOf(middle);
            if (inclusive ? at <= column : at < column)
                lo = middle + 1;
            else
                hi = middle;
        }
        return lo;
    }

    ColumnBest bestIn(std::uint32_t lo, std::uint32_t hi) const {
        ColumnBest best;
        if (hi - lo > kIndexedRun) {
            if (!maxima_.covers(view_.drawMode, view_.g00Feed))
                maxima_.build(data_, view_.drawMode, view_.g00Feed);
            const SeriesMaxIndex::Highest highest = maxima_.highest(data_, lo, hi);
            best.take(columnOf(lo), highest.index, highest.value);
            return best;
        }
        best.take(columnOf(lo), lo, valueOf(lo));
        for (std::uint32_t i = lo + 1; i < hi; ++i)
            best.offer(i, valueOf(i));
        return best;
    }

    std::optional<PickedRecord> result(const ColumnBest& best) const {
        if (!best.found)
            return std::nullopt;
        return PickedRecord{best.index, best.column, frame_.pointY(best.value), best.value};
    }

    const CutDataSet& data_;
    const ChartState& view_;
    ChartFrame frame_;
    HorizontalArray xs_;
    bool sorted_;
    SeriesMaxIndex& maxima_;
    std::uint32_t first_;
};

} // namespace

RecordPicker::RecordPicker(const CutDataSet& data) : data_(data), serial_(data.index.serial()) {}

bool RecordPicker::serves(const CutDataSet& data) const {
    return &data == &data_ && serial_ != 0 && data.index.serial() == serial_;
}

bool RecordPicker::isSorted(HorizontalAxis axis) const {
    if (axis.isTime() || axis.distanceMode() != 2)
        return IsSortedHorizontally(data_, axis);
    if (data_.index.covers(data_))
        return data_.index.blockNumbersAscend();
    if (!blockNosAscend_)
        blockNosAscend_ = std::is_sorted(
            data_.blockNos.begin(), data_.blockNos.end(), [](std::int32_t a, std::int32_t b) {
                return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b);
            });
    return *blockNosAscend_;
}

std::optional<PickedRecord> RecordPicker::pick(const ChartState& view, int column) const {
    const HorizontalAxis axis = HorizontalOf(view);
    if (!data_.hasData() || data_.count == 0 || !DrawsCurve(axis))
        return std::nullopt;
    return ColumnPick(data_, view, isSorted(axis), maxima_).pick(column);
}

std::optional<PickedRecord> PickReadOut(const RecordPicker& picker, const CutDataSet& data,
                                        const ChartState& view, int column) {
    if (view.compareMode == CompareMode::None)
        return picker.pick(view, column);
    ChartState picked = view;
    picked.drawMode = 2;
    auto record = picker.pick(picked, column);
    if (record)
        record->value =
            PlottedSeries(data, PlottedSeries::ofReadOut(view), view.g00Feed).value(record->index);
    return record;
}
