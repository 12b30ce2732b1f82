#include "indexedcurve.h"

#include "columnpath.h"
#include "series.h"

#include <algorithm>
#include <cmath>

IndexedCurve::IndexedCurve(const ChartFrame& frame, const CCutGraph& graph, const CutDataSet& data,
                           std::uint8_t primaryDrawMode)
    : frame_(frame), graph_(graph), data_(data), index_(data.index), drawMode_(primaryDrawMode),
      rapidFactor_(graph.g00Feed * kPerSecond),
      distances_(graph.distanceMode == 0   ? data.totalDistance.data()
                 : graph.distanceMode == 1 ? data.cutDistance.data()
                                           : nullptr),
      blockNos_(data.blockNos.data()),
      firstNaN_(distances_ ? data.index.firstNaNDistance(graph.distanceMode) : data.count) {}

// The value as the chart plots it; NaN is drawn where 0 is.
float IndexedCurve::value(std::uint64_t i) const {
    const float plotted =
        seriesValue(data_, static_cast<std::uint32_t>(i), drawMode_, graph_.g00Feed);
    return std::isnan(plotted) ? 0.0f : plotted;
}

ValueRange IndexedCurve::values(int level, std::uint64_t k) const {
    ValueRange range;
    if (level == 0) {
        range.add(value(k));
        return range;
    }
    const SeriesRanges& ranges = index_.series().node(level, k);
    if (drawMode_ != 1 && drawMode_ != 2)
        return ranges.removal;
    range = drawMode_ == 1 ? ranges.orgRate : ranges.optRate;
    if (!ranges.rapidRemoval.empty()) {
        for (const float removal : {ranges.rapidRemoval.lo, ranges.rapidRemoval.hi}) {
            const float plotted = removal * rapidFactor_;
            range.add(std::isnan(plotted) ? 0.0f : plotted);
        }
    }
    return range;
}

// Both ends of a value range give the extreme rows, as the mapping keeps or reverses the order.
IndexedCurve::PixelSpan IndexedCurve::rows(const ValueRange& range) const {
    PixelSpan span;
    if (!range.empty()) {
        span.add(frame_.pointY(range.lo));
        span.add(frame_.pointY(range.hi));
    }
    return span;
}

// The first record at or beyond xLo, never past the last one, as the record walk finds it.
std::uint32_t IndexedCurve::firstShown() const {
    const std::uint32_t last = data_.count - 1;
    const float xLo = frame_.xLo;
    if (distances_)
        return static_cast<std::uint32_t>(
            std::lower_bound(distances_, distances_ + std::min(firstNaN_, last), xLo) - distances_);
    return static_cast<std::uint32_t>(
        index_.blockNumbers().findFirst(0, last, [&](int level, std::uint64_t k) {
            return level == 0 ? !(horizontal(k) < xLo)
                              : !(index_.blockNumbers().node(level, k).hi < xLo);
        }));
}

// The first record from `first` on beyond xHi, or the count: where the record walk stops.
std::uint32_t IndexedCurve::endShown(std::uint32_t first) const {
    const float xHi = frame_.xHi;
    if (distances_) {
        if (first >= firstNaN_)
            return data_.count;
        const float* end = std::upper_bound(distances_ + first, distances_ + firstNaN_, xHi);
        return end < distances_ + firstNaN_ ? static_cast<std::uint32_t>(end - distances_)
                                            : data_.count;
    }
    return static_cast<std::uint32_t>(
        index_.blockNumbers().findFirst(first, data_.count, [&](int level, std::uint64_t k) {
            return level == 0 ? horizontal(k) > xHi : index_.blockNumbers().node(level, k).hi > xHi;
        }));
}

// The first record after i and before `stop` outside pixel column x (that of record i), or stop.
std::uint32_t IndexedCurve::columnEnd(std::uint32_t i, std::uint32_t stop, int x) const {
    if (distances_)
        return distanceColumnEnd(i, stop, x);
    return static_cast<std::uint32_t>(
        index_.blockNumbers().findFirst(i + 1, stop, [&](int level, std::uint64_t k) {
            if (level == 0)
                return column(k) != x;
            const ValueRange& range = index_.blockNumbers().node(level, k);
            return frame_.pointX(range.lo) != x || frame_.pointX(range.hi) != x;
        }));
}

// Distances never decrease up to the first NaN, so their columns change in one direction: the
// column's end is found by steps of growing length from i, then by bisection. All NaN distances
// share one column.
std::uint32_t IndexedCurve::distanceColumnEnd(std::uint32_t i, std::uint32_t stop, int x) const {
    if (i >= firstNaN_)
        return stop;
    const std::uint32_t limit = std::min(stop, firstNaN_);
    std::uint32_t low = i + 1; // records before low are in column x
    std::uint32_t high = limit;
    for (std::uint32_t reach = 1; low < high; reach *= 2) {
        const std::uint32_t probe = low + std::min(reach, high - low) - 1;
        if (column(probe) != x) {
            high = probe;
            break;
        }
        low = probe + 1;
    }
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (column(middle) == x)
            low = middle + 1;
        else
            high = middle;
    }
    const bool intoNaN = low == firstNaN_ && low < stop && frame_.pointX(distances_[low]) == x;
    return intoNaN ? stop : low;
}

// Records i..end - 1, all in column x, as the column path would have summarised them point by
// point: the extremes exclude the trailing points at the last point's height.
ColumnRun IndexedCurve::columnRun(std::uint32_t i, std::uint32_t end, int x) const {
    ColumnRun run;
    run.x = x;
    run.firstY = row(i);
    run.lastY = row(end - 1);
    run.minY = run.maxY = run.firstY;
    if (end - i < 2)
        return run;
    const int lastY = run.lastY;
    const auto& series = index_.series();
    const std::uint64_t before = series.findLast(i, end - 1, [&](int level, std::uint64_t k) {
        if (level == 0)
            return row(k) != lastY;
        const PixelSpan span = rows(values(level, k));
        return span.lo != lastY || span.hi != lastY;
    });
    if (before == end - 1)
        return run;
    ValueRange range;
    series.cover(i, before + 1, [&](int level, std::uint64_t k) { range.merge(values(level, k)); });
    const PixelSpan span = rows(range);
    run.minY = span.lo;
    run.maxY = span.hi;
    run.single = false;
    return run;
}

void IndexedCurve::draw(ColumnPath& path) const {
    const std::uint32_t first = firstShown();
    const std::uint32_t end = endShown(first);
    const std::vector<std::uint32_t>& steps = index_.colourSteps();
    auto step = std::lower_bound(steps.begin(), steps.end(), first);
    const auto colour = [&] { return graph_.colours[(step - steps.begin()) % kCurveColours]; };
    path.selectPen(colour());
    path.moveTo(column(first), row(first));
    for (std::uint32_t i = first; i < end;) {
        if (step != steps.end() && *step == i) {
            ++step;
            path.selectPen(colour());
        }
        const std::uint32_t stop = step != steps.end() && *step < end ? *step : end;
        const int x = column(i);
        const std::uint32_t next = columnEnd(i, stop, x);
        path.addColumn(columnRun(i, next, x));
        i = next;
    }
    path.finish();
}
