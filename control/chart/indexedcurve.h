#pragma once

#include "chartframe.h"
#include "columncover.h"
#include "columnpath.h"
#include "cutdataset.h"
#include "plottedseries.h"

#include <climits>
#include <cstdint>

#include <vector>

// The curve drawn from the data set's index: each pixel column's records go to the column path as
// one group, their lowest and highest point read from the index, so a render costs a few searches
// per column instead of a visit to every shown record. The column path receives the same groups
// as from a line to every record. A series that leaves records out (the feeds at G00 records) is
// broken there: a column with breaks goes to the path as its stretches of drawn records, each
// joined to the record before it unless that one is left out.
class IndexedCurve {
public:
    // With `oneColour` the curve is drawn in chart.colours[0] throughout, without colour steps;
    // else with chart.colourByTool in colour t & 15 for tool t, else stepping on at tool changes.
    // `columnEnds`, when given, keeps the end of every column group for the next curve of the
    // same frame, or holds them from the curve before.
    IndexedCurve(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data,
                 PlottedSeries::Kind kind, bool oneColour = false,
                 std::vector<std::uint32_t>* columnEnds = nullptr);

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
    // The plotted values of entry k of the pyramid's level (a record on level 0), NaN as 0;
    // empty when the series leaves out all of its records.
    ValueRange values(int level, std::uint64_t k) const { return series_.range(level, k); }
    PixelSpan rows(const ValueRange& range) const;
    // The last drawn record in a..b - 1 whose row `off` takes, or b: off(span) tells whether the
    // rows `span` of an entry of the index (lo > hi when none is drawn) hold such a row.
    template <class Off> std::uint64_t lastOff(std::uint32_t a, std::uint32_t b, Off off) const;
    std::uint64_t lastNotAt(std::uint32_t a, std::uint32_t b, int y) const;
    bool skips(std::uint32_t i) const { return series_.skips(i); }
    // The first record in a..b - 1 that the series leaves out, or draws; b when there is none.
    std::uint32_t firstSkipped(std::uint32_t a, std::uint32_t b) const;
    std::uint32_t firstDrawn(std::uint32_t a, std::uint32_t b) const;
    bool rapid(std::uint32_t i) const;
    bool leftOut(std::uint32_t i) const;
    std::uint32_t firstChange(std::uint32_t a, std::uint32_t b, bool drawn) const;
    template <class Search>
    std::uint32_t firstMarked(std::uint32_t a, std::uint32_t b, std::uint16_t LeafMarks::*bits,
                              bool set, Search search) const;
    bool steady(std::uint32_t a, std::uint32_t b) const;

    std::uint32_t columnEnd(std::uint32_t i, std::uint32_t stop, int x) const;
    std::uint32_t distanceColumnEnd(std::uint32_t i, std::uint32_t stop, int x) const;
    PixelSpan rowsOver(std::uint32_t a, std::uint32_t b) const;
    void addEndRows(PixelSpan& span, std::uint32_t a, std::uint32_t b) const;
    ColumnRun columnRun(std::uint32_t i, std::uint32_t end, int x) const;
    PixelSpan stretchRows(const FeedStretch& stretch) const;
    // The pen after `steps` colour steps.
    ColorRef colour(std::ptrdiff_t steps) const;
    ColorRef toolPen(std::uint32_t i) const;
    const std::vector<std::uint32_t>& toolChanges(std::uint32_t first, std::uint32_t end) const;
    void drawGroups(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                    const std::uint32_t* steps, std::ptrdiff_t count,
                    std::ptrdiff_t firstColour) const;
    void paintGroup(std::uint32_t start, std::uint32_t end, int x, bool joined, ColorRef pen) const;
    // Paints a stretch between G00 moves that lies whole in the column where no later group has.
    void paintStretch(const FeedStretch& stretch, ColorRef pen) const;
    void drawStack(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                   const std::uint32_t* steps, std::ptrdiff_t count,
                   std::ptrdiff_t firstColour) const;
    std::ptrdiff_t groupThatMayShow(std::uint32_t i, const std::uint32_t* steps,
                                    std::ptrdiff_t done) const;

    // Drawn records start..end - 1 of one colour; `joined` when a line comes into start from the
    // record before it (or start is the first shown record, where the curve begins); `steady`
    // when its records are known to share one value, so that no line of the group paints; `whole`
    // when it is a stretch between G00 moves that the index holds (then never `steady`).
    struct Group {
        std::uint32_t start;
        std::uint32_t end;
        std::ptrdiff_t colour;
        bool joined;
        bool steady;
        const FeedStretch* whole;
    };
    const FeedStretch* stretchAt(std::uint32_t start) const;
    void findGroups(std::uint32_t i, std::uint32_t end, const std::uint32_t* steps,
                    std::ptrdiff_t count, std::ptrdiff_t firstColour, std::uint32_t first) const;
    void drawBroken(ColumnPath& path, int x, std::ptrdiff_t firstColour,
                    std::ptrdiff_t lastColour) const;
    void stackBroken(ColumnPath& path, std::uint32_t i, std::uint32_t end, int x,
                     std::ptrdiff_t lastColour) const;
    std::ptrdiff_t brokenGroupThatMayShow(std::uint32_t i, std::ptrdiff_t done) const;

    const ChartFrame& frame_;
    const ChartState& chart_;
    const CutDataSet& data_;
    const CutIndex& index_;
    const PlottedSeries series_;
    // Whether the index marks the records where the value changes: the programmed feed.
    const bool steadyMarked_;
    // Distances for modes 0 and 1, nullptr for block numbers.
    const float* distances_;
    const std::int32_t* blockNos_;
    std::uint32_t firstNaN_;
    const std::vector<std::uint32_t>& steps_;
    const bool byTool_;
    // With colours by tool: the shown records where the tool changes, and the pen before the
    // first of them and from each on.
    mutable std::vector<std::uint32_t> toolSteps_;
    mutable std::vector<ColorRef> toolPens_;
    std::vector<std::uint32_t>* const columnEnds_;
    // Scratch of drawStack, kept for the next column.
    mutable ColumnCover cover_;
    mutable std::vector<ColumnPiece> pieces_;
    mutable std::vector<Group> groups_;
    // The first of the series' stretches without breaks that may start at or after the next group.
    mutable std::vector<FeedStretch>::const_iterator stretch_;
};
