#include "indexedcurve.h"

#include "columnpath.h"
#include "series.h"
#include "toolcolours.h"

#include <algorithm>
#include <bit>

namespace {

const std::vector<std::uint32_t> kNoSteps;

} // namespace

IndexedCurve::IndexedCurve(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data,
                           PlottedSeries::Kind kind, bool oneColour,
                           std::vector<std::uint32_t>* columnEnds)
    : frame_(frame), chart_(chart), data_(data), index_(data.index),
      series_(data, kind, chart.g00Feed), steadyMarked_(kind == PlottedSeries::Kind::OrgFeed),
      distances_(HorizontalOf(chart).sortedValues(data)), blockNos_(data.blockNos.data()),
      firstNaN_(distances_ && !HorizontalOf(chart).isTime()
                    ? data.index.firstNaNDistance(chart.distanceMode)
                    : data.count),
      steps_(oneColour ? kNoSteps : data.index.colourSteps()),
      byTool_(!oneColour && chart.colourByTool), columnEnds_(columnEnds) {}

// The value as the chart plots it; NaN is drawn where 0 is.
float IndexedCurve::value(std::uint64_t i) const {
    return numberOrZero(series_.value(static_cast<std::uint32_t>(i)));
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

template <class Off>
std::uint64_t IndexedCurve::lastOff(std::uint32_t a, std::uint32_t b, Off off) const {
    return index_.series().findLast(a, b, [&](int level, std::uint64_t k) {
        if (level > 0)
            return off(rows(values(level, k)));
        if (skips(static_cast<std::uint32_t>(k)))
            return false;
        const int y = row(k);
        return off(PixelSpan{y, y});
    });
}

std::uint64_t IndexedCurve::lastNotAt(std::uint32_t a, std::uint32_t b, int y) const {
    return lastOff(a, b, [y](const PixelSpan& span) {
        return span.lo <= span.hi && (span.lo != y || span.hi != y);
    });
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

// The pixel rows of records a..b - 1: the whole stretches of the index inside them first; then
// the records at either end, which are looked at one by one only when the stretch around them
// reaches beyond the rows found so far.
IndexedCurve::PixelSpan IndexedCurve::rowsOver(std::uint32_t a, std::uint32_t b) const {
    constexpr std::uint32_t kStretch = MinMaxPyramid<SeriesRanges>::kFanout;
    const std::uint32_t inner = std::min(b, (a + kStretch - 1) / kStretch * kStretch);
    const std::uint32_t outer = std::max(inner, b / kStretch * kStretch);
    ValueRange range;
    index_.series().cover(inner, outer,
                          [&](int level, std::uint64_t k) { range.merge(values(level, k)); });
    PixelSpan span = rows(range);
    addEndRows(span, a, inner);
    addEndRows(span, outer, b);
    return span;
}

// Records a..b - 1 lie in one stretch of the index.
void IndexedCurve::addEndRows(PixelSpan& span, std::uint32_t a, std::uint32_t b) const {
    if (a >= b)
        return;
    if (span.lo <= span.hi && index_.series().levels() > 0) {
        const PixelSpan around = rows(values(1, a / MinMaxPyramid<SeriesRanges>::kFanout));
        if (around.lo >= span.lo && around.hi <= span.hi)
            return;
    }
    for (std::uint32_t k = a; k < b; ++k)
        span.add(row(k));
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
    const std::uint64_t before = lastNotAt(i, end - 1, lastY);
    if (before == end - 1)
        return run;
    const PixelSpan span = rowsOver(i, static_cast<std::uint32_t>(before) + 1);
    run.minY = span.lo;
    run.maxY = span.hi;
    run.single = false;
    return run;
}

// The rows that a stretch between G00 moves paints when it lies whole in a column and no line
// joins it (the line into its first record comes from a G00 move or from the column before): the
// rows of its range, found in the index, or none when all its records share a row. When the last
// record lies at one end of the range, the run reaches that row only if a record before the
// trailing ones at that height does; the pyramid tells, unless the row is painted already and the
// answer cannot show.
IndexedCurve::PixelSpan IndexedCurve::stretchRows(const FeedStretch& stretch) const {
    const FeedValues& feed = series_.values(stretch);
    PixelSpan span = rows(feed.range);
    if (span.lo == span.hi)
        return {};
    const int lastY = frame_.pointY(feed.last);
    if ((lastY != span.lo && lastY != span.hi) || cover_.covers(lastY, lastY))
        return span;
    const std::uint64_t before = lastNotAt(stretch.start, stretch.end - 1, lastY);
    const std::uint64_t reaching = lastOff(stretch.start, before, [lastY](const PixelSpan& found) {
        return found.lo <= lastY && found.hi >= lastY;
    });
    if (reaching == before)
        (lastY == span.hi ? span.hi : span.lo) = lastY == span.hi ? lastY - 1 : lastY + 1;
    return span;
}

ColorRef IndexedCurve::colour(std::ptrdiff_t steps) const {
    if (byTool_)
        return toolPens_[static_cast<std::size_t>(steps)];
    return chart_.colours[static_cast<std::size_t>(steps) % curvex::kCurveColours];
}

ColorRef IndexedCurve::toolPen(std::uint32_t i) const {
    return chart_.colours[static_cast<std::size_t>(ToolColourNumber(data_.records[i].toolNo))];
}

// The records after `first` and before `end` whose tool differs from the record before, and the
// pen from `first` on and from each of them on, for the colours by tool number. Every tool change
// is a colour step but a change away from tool 0; between two colour steps the tool can so change
// only once, from tool 0 at the first step to another: it is found by bisection.
const std::vector<std::uint32_t>& IndexedCurve::toolChanges(std::uint32_t first,
                                                            std::uint32_t end) const {
    toolSteps_.clear();
    toolPens_.assign(1, toolPen(first));
    const std::vector<std::uint32_t>& steps = data_.index.colourSteps();
    auto step = std::upper_bound(steps.begin(), steps.end(), first);
    for (std::uint32_t from = first; from < end;) {
        const std::uint32_t next = step != steps.end() && *step < end ? *step : end;
        if (data_.records[from].toolNo == 0) {
            std::uint32_t low = from + 1;
            std::uint32_t high = next;
            while (low < high) {
                const std::uint32_t middle = low + (high - low) / 2;
                if (data_.records[middle].toolNo == 0)
                    low = middle + 1;
                else
                    high = middle;
            }
            if (low < next) {
                toolSteps_.push_back(low);
                toolPens_.push_back(toolPen(low));
            }
        }
        if (next == end)
            break;
        toolSteps_.push_back(next);
        toolPens_.push_back(toolPen(next));
        from = next;
        ++step;
    }
    return toolSteps_;
}

// Records i..end - 1 of column x, whose colour moves on at each of the colour steps `steps`, all
// after i: one group after the other, each in its colour.
void IndexedCurve::drawGroups(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                              const std::uint32_t* steps, std::ptrdiff_t count,
                              std::ptrdiff_t firstColour) const {
    for (std::ptrdiff_t group = 0; group <= count; ++group) {
        if (group > 0)
            path.selectPen(colour(firstColour + group));
        path.addColumn(
            columnRun(group == 0 ? i : steps[group - 1], group == count ? end : steps[group], x));
    }
}

// Paints records start..end - 1 of column x in `pen` where no later group has painted, with the
// line from the record before when `joined`.
void IndexedCurve::paintGroup(std::uint32_t start, std::uint32_t end, int x, bool joined,
                              ColorRef pen) const {
    const auto paint = [&](int top, int bottom) { pieces_.push_back({top, bottom, pen}); };
    const ColumnRun run = columnRun(start, end, x);
    if (joined) {
        const int previousY = row(start - 1);
        if (previousY < run.firstY)
            cover_.paint(previousY, run.firstY - 1, paint);
        else
            cover_.paint(run.firstY + 1, previousY, paint);
    }
    if (!run.single)
        cover_.paint(run.top(), run.bottom(), paint);
}

void IndexedCurve::paintStretch(const FeedStretch& stretch, ColorRef pen) const {
    const PixelSpan span = stretchRows(stretch);
    cover_.paint(span.lo, span.hi, [&](int top, int bottom) {
        pieces_.push_back({top, bottom, pen});
    });
}

// Records i..end - 1 of column x, whose colour moves on at each of the colour steps `steps`,
// all after i: groups 0..count, group g starting at steps[g - 1]. The groups are taken from the
// last to the first; each paints only the rows no later group has painted, and groups that
// cannot show are passed over.
void IndexedCurve::drawStack(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                             const std::uint32_t* steps, std::ptrdiff_t count,
                             std::ptrdiff_t firstColour) const {
    cover_.clear();
    pieces_.clear();
    for (std::ptrdiff_t group = count; group >= 0;) {
        const std::uint32_t start = group == 0 ? i : steps[group - 1];
        paintGroup(start, group == count ? end : steps[group], x, group > 0,
                   colour(firstColour + group));
        group = group == 0 ? -1 : groupThatMayShow(i, steps, group);
    }
    path.addStack(x, row(i), pieces_, colour(firstColour + count), row(end - 1));
}

// The last group before `done` (> 0) that may paint a row still free, or -1. A group cannot show
// when its points and the point before it all lie in the painted rows, which then are one
// stretch: so the next group to paint holds the last record outside them, or follows it when
// that record is its last one.
std::ptrdiff_t IndexedCurve::groupThatMayShow(std::uint32_t i, const std::uint32_t* steps,
                                              std::ptrdiff_t done) const {
    const ColumnCover::Rows* painted = cover_.oneStretch();
    if (painted == nullptr)
        return done - 1;
    const std::uint32_t start = steps[done - 1];
    const std::uint64_t last = lastOff(i, start, [painted](const PixelSpan& span) {
        return span.lo < painted->top || span.hi > painted->bottom;
    });
    if (last == start)
        return -1;
    const std::ptrdiff_t group = std::upper_bound(steps, steps + done - 1, last) - steps;
    return group + 1 < done && steps[group] == last + 1 ? group + 1 : group;
}

// Whether record i is a G00 move, from the marks, which take less room than the records.
bool IndexedCurve::rapid(std::uint32_t i) const {
    return (index_.marks()[i / 16].rapid >> (i % 16) & 1u) != 0;
}

// The first record in a..b - 1 with its bit set in the leaf marks `bits` (with `set`) or clear,
// or b: leaf by leaf over up to kMarkedLeaves leaves, then `search` from there on.
template <class Search>
std::uint32_t IndexedCurve::firstMarked(std::uint32_t a, std::uint32_t b,
                                        std::uint16_t LeafMarks::*bits, bool set,
                                        Search search) const {
    constexpr std::uint32_t kMarkedLeaves = 64;
    const LoadedArray<LeafMarks>& marks = index_.marks();
    for (std::uint32_t leaf = a / 16, scanned = 0; a < b; ++leaf, ++scanned) {
        if (scanned == kMarkedLeaves)
            return search(a, b);
        const unsigned marked = marks[leaf].*bits;
        const unsigned word = set ? marked : ~marked & 0xFFFFu;
        const unsigned ahead = word >> (a % 16);
        if (ahead != 0)
            return std::min(b, a + static_cast<std::uint32_t>(std::countr_zero(ahead)));
        a = (leaf + 1) * 16;
    }
    return b;
}

// Whether the curve leaves record i out: for the feeds a G00 move, told by the marks; for the feed
// change also a record without a programmed feed.
bool IndexedCurve::leftOut(std::uint32_t i) const {
    return series_.changeIndex() ? skips(i) : rapid(i);
}

// The first record in a..b - 1 whose feed change is `drawn` or not, or b, from the feed change's
// index.
std::uint32_t IndexedCurve::firstChange(std::uint32_t a, std::uint32_t b, bool drawn) const {
    const MinMaxPyramid<FeedChangeRanges>& ranges = series_.changeIndex()->ranges();
    return static_cast<std::uint32_t>(ranges.findFirst(a, b, [&](int level, std::uint64_t k) {
        if (level == 0)
            return skips(static_cast<std::uint32_t>(k)) != drawn;
        const FeedChangeRanges& node = ranges.node(level, k);
        return drawn ? !node.change.empty() : node.leftOut;
    }));
}

std::uint32_t IndexedCurve::firstSkipped(std::uint32_t a, std::uint32_t b) const {
    if (series_.changeIndex())
        return firstChange(a, b, false);
    return firstMarked(a, b, &LeafMarks::rapid, true, [&](std::uint32_t from, std::uint32_t to) {
        return static_cast<std::uint32_t>(
            index_.series().findFirst(from, to, [&](int level, std::uint64_t k) {
                return level == 0 ? rapid(static_cast<std::uint32_t>(k))
                                  : !index_.series().node(level, k).rapidRemoval.empty();
            }));
    });
}

std::uint32_t IndexedCurve::firstDrawn(std::uint32_t a, std::uint32_t b) const {
    if (series_.changeIndex())
        return firstChange(a, b, true);
    return firstMarked(a, b, &LeafMarks::rapid, false, [&](std::uint32_t from, std::uint32_t to) {
        return static_cast<std::uint32_t>(
            index_.series().findFirst(from, to, [&](int level, std::uint64_t k) {
                return level == 0 ? !rapid(static_cast<std::uint32_t>(k))
                                  : !index_.series().node(level, k).orgFeed.empty();
            }));
    });
}

// Whether the value is the same at records a..b - 1, as far as a short look at the marks tells:
// a longer stretch, or a series whose changes are not marked, is taken as changing.
bool IndexedCurve::steady(std::uint32_t a, std::uint32_t b) const {
    return steadyMarked_ &&
           firstMarked(a + 1, b, &LeafMarks::newProgrammed, true,
                       [](std::uint32_t, std::uint32_t to) { return to - 1; }) == b;
}

// The series' stretch without breaks that starts at record `start`, or nullptr. The groups come in
// record order, so the search goes on from the last one.
const FeedStretch* IndexedCurve::stretchAt(std::uint32_t start) const {
    const std::vector<FeedStretch>& stretches = series_.stretches();
    while (stretch_ != stretches.end() && stretch_->start < start)
        ++stretch_;
    return stretch_ != stretches.end() && stretch_->start == start ? &*stretch_ : nullptr;
}

// The groups of column records i..end - 1, in order: the stretches of drawn records, split at
// each of the colour steps `steps` (all after i); the colour of record i is firstColour.
void IndexedCurve::findGroups(std::uint32_t i, std::uint32_t end, const std::uint32_t* steps,
                              std::ptrdiff_t count, std::ptrdiff_t firstColour,
                              std::uint32_t first) const {
    groups_.clear();
    std::ptrdiff_t passed = 0;
    for (std::uint32_t a = firstDrawn(i, end); a < end; a = firstDrawn(a, end)) {
        const FeedStretch* stretch = stretchAt(a);
        const std::uint32_t b = stretch ? std::min(stretch->end, end) : firstSkipped(a + 1, end);
        bool joined = a == first || !leftOut(a - 1);
        while (a < b) {
            while (passed < count && steps[passed] <= a)
                ++passed;
            const std::uint32_t stop = passed < count && steps[passed] < b ? steps[passed] : b;
            const FeedStretch* whole =
                stretch && stretch->start == a && stretch->end == stop ? stretch : nullptr;
            // A group joined inside the column paints the line from the record before, too.
            const bool still = whole == nullptr && steady(joined && a > i ? a - 1 : a, stop);
            groups_.push_back({a, stop, firstColour + passed, joined, still, whole});
            joined = true;
            a = stop;
        }
    }
}

// The groups one after the other, each after a move to its first record unless joined.
void IndexedCurve::drawBroken(ColumnPath& path, int x, std::ptrdiff_t firstColour,
                              std::ptrdiff_t lastColour) const {
    std::ptrdiff_t pen = firstColour;
    for (const Group& group : groups_) {
        if (group.colour != pen)
            path.selectPen(colour(pen = group.colour));
        if (group.joined) {
            path.addColumn(columnRun(group.start, group.end, x));
            continue;
        }
        path.moveTo(x, row(group.start));
        if (group.end - group.start >= 2)
            path.addColumn(columnRun(group.start + 1, group.end, x));
    }
    if (pen != lastColour)
        path.selectPen(colour(lastColour));
}

// The groups as drawStack paints them, from the last to the first, passing over those that cannot
// show. A group that is not joined begins with a move to its first record: only the lines between
// its records paint, and none of a steady group does.
void IndexedCurve::stackBroken(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                               std::ptrdiff_t lastColour) const {
    cover_.clear();
    pieces_.clear();
    for (auto g = static_cast<std::ptrdiff_t>(groups_.size()) - 1; g >= 0;) {
        const Group& group = groups_[static_cast<std::size_t>(g)];
        if (group.whole != nullptr)
            paintStretch(*group.whole, colour(group.colour));
        else if (!group.steady)
            paintGroup(group.start, group.end, x, group.joined && group.start > i,
                       colour(group.colour));
        g = brokenGroupThatMayShow(i, g);
    }
    const int firstY = row(i);
    if (groups_.empty() || groups_.front().start != i || !groups_.front().joined)
        path.moveTo(x, firstY);
    path.addStack(x, firstY, pieces_, colour(lastColour), row(end - 1));
}

// The last group before group `done` that may paint a row still free, or -1, as
// groupThatMayShow: the one that holds the last drawn record outside the painted rows, or the one
// after it when joined to that record.
std::ptrdiff_t IndexedCurve::brokenGroupThatMayShow(std::uint32_t i, std::ptrdiff_t done) const {
    const ColumnCover::Rows* painted = cover_.oneStretch();
    if (done == 0 || painted == nullptr)
        return done - 1;
    const auto outside = [&](const PixelSpan& span) {
        return span.lo < painted->top || span.hi > painted->bottom;
    };
    // Whole stretches between G00 moves are passed over by their ranges, the rest searched.
    std::ptrdiff_t passed = done - 1;
    for (; passed >= 0; --passed) {
        const FeedStretch* whole = groups_[static_cast<std::size_t>(passed)].whole;
        if (whole == nullptr || outside(rows(series_.values(*whole).range)))
            break;
    }
    if (passed < 0)
        return -1;
    const std::uint32_t searched = groups_[static_cast<std::size_t>(passed)].end;
    const std::uint64_t last = lastOff(i, searched, outside);
    if (last == searched)
        return -1;
    const auto after = std::upper_bound(
        groups_.begin(), groups_.begin() + done, last,
        [](std::uint64_t record, const Group& group) { return record < group.start; });
    const std::ptrdiff_t group = after - groups_.begin() - 1;
    return group + 1 < done && after->joined && after->start == last + 1 ? group + 1 : group;
}

void IndexedCurve::draw(ColumnPath& path) const {
    const HorizontalAxis axis = HorizontalOf(chart_);
    const HorizontalArray xs(data_, axis);
    const std::uint32_t first = firstShownRecord(data_, xs, axis, frame_.xLo);
    const std::uint32_t end = endOfShownRecords(data_, xs, axis, first, frame_.xHi);
    const std::vector<std::uint32_t>& steps = byTool_ ? toolChanges(first, end) : steps_;
    auto step = std::lower_bound(steps.begin(), steps.end(), first);
    path.selectPen(colour(step - steps.begin()));
    if (!skips(first))
        path.moveTo(column(first), row(first));
    const bool breaks = series_.breaks();
    stretch_ =
        std::partition_point(series_.stretches().begin(), series_.stretches().end(),
                             [&](const FeedStretch& stretch) { return stretch.start < first; });
    // The columns' ends from the curve drawn before in the same frame, or kept for the next.
    const bool reuse = columnEnds_ != nullptr && !columnEnds_->empty();
    std::size_t kept = 0;
    for (std::uint32_t i = first; i < end;) {
        if (step != steps.end() && *step == i)
            path.selectPen(colour(++step - steps.begin()));
        const int x = column(i);
        const std::uint32_t next = columnEnds_ == nullptr ? columnEnd(i, end, x)
                                   : reuse                ? (*columnEnds_)[kept++]
                                           : columnEnds_->emplace_back(columnEnd(i, end, x));
        const auto stop = std::lower_bound(step, steps.end(), next);
        const std::ptrdiff_t firstColour = step - steps.begin();
        const std::ptrdiff_t lastColour = stop - steps.begin();
        if (breaks && ((i > first && leftOut(i - 1)) || firstSkipped(i, next) < next)) {
            findGroups(i, next, steps.data() + firstColour, lastColour - firstColour, firstColour,
                       first);
            if (path.pixels())
                stackBroken(path, i, next, x, lastColour);
            else
                drawBroken(path, x, firstColour, lastColour);
        } else if (step == stop) {
            path.addColumn(columnRun(i, next, x));
        } else if (path.pixels()) {
            drawStack(path, i, next, x, &*step, stop - step, firstColour);
        } else {
            drawGroups(path, i, next, x, &*step, stop - step, firstColour);
        }
        step = stop;
        i = next;
    }
    path.finish();
}
