#pragma once

#include "cutdataset.h"
#include "feedchangeindex.h"
#include "machiningtime.h"

#include <cstdint>
#include <memory>
#include <vector>

// One of the highest values of a plotted series.
struct Peak {
    std::uint32_t index = 0;
    float value = 0.0f; // as the chart plots it: NaN as 0
};

// The highest peaks of one plotted series (draw mode and G00 feed as the chart's) over a range of
// records: the largest value first, then each time the largest value whose record lies `gap` or
// more records away from every peak already found; of equal values the earlier record. The
// data set's index leads the search to the few records that can beat the best found so far, so
// that millions of records cost a few thousand looks; without an index every record is looked at.
// Many peaks are found in one sort of the records by value instead of one search each, so that
// no count of peaks or gap costs more than that sort.
class PeakFinder {
public:
    // The data set must outlive the finder and stay unchanged.
    PeakFinder(const CutDataSet& data, std::uint8_t drawMode, float g00Feed);
    // The optimised feed (mm/min) over the records that are no G00 move, as the feeds compare
    // chart draws it.
    static PeakFinder ofOptimisedFeed(const CutDataSet& data);
    // The absolute feed change (percent) over the records that have one, as the feed-change chart
    // draws them: its peaks are the largest slowdowns and speed-ups alike.
    static PeakFinder ofAbsoluteFeedChange(const CutDataSet& data);

    // At most `top` peaks, the highest first; a gap below 1 counts as 1.
    std::vector<Peak> find(RecordRange range, std::uint32_t top, std::uint32_t gap) const;
    // At most `top` peaks of each tool over the records of that tool alone, by the same rule
    // (each peak `gap` or more records away from the tool's peaks found before it): the tools in
    // the order they are first used in the range, each tool's peaks the highest first.
    std::vector<Peak> findPerTool(RecordRange range, std::uint32_t top, std::uint32_t gap) const;

private:
    struct Best {
        bool found = false;
        Peak peak;
        void offer(std::uint32_t index, float value);
        bool beats(const Best& other) const;
    };
    struct Segment {
        std::uint32_t first = 0;
        std::uint32_t end = 0;
        Best best;
    };

    bool skips(std::uint32_t i) const;
    float value(std::uint32_t i) const;
    void offer(Best& best, std::uint32_t i) const;
    // The values of entry k of `level` of the index; empty when none is drawn.
    ValueRange range(int level, std::uint64_t k) const;
    bool mayBeat(const Best& best, int level, std::uint64_t k) const;
    Best highest(std::uint32_t first, std::uint32_t end) const;
    void search(int level, std::uint64_t k, std::uint32_t first, std::uint32_t end,
                Best& best) const;
    Segment segment(std::uint32_t first, std::uint32_t end) const;
    void cut(std::vector<Segment>& segments, std::uint32_t lo, std::uint32_t hi) const;
    bool sortsFor(std::uint32_t first, std::uint32_t end, std::uint32_t top,
                  std::uint32_t gap) const;
    std::vector<Peak> searched(std::uint32_t first, std::uint32_t end, std::uint32_t top,
                               std::uint32_t gap) const;
    std::vector<Peak> sorted(std::uint32_t first, std::uint32_t end, std::uint32_t top,
                             std::uint32_t gap) const;

    const CutDataSet& data_;
    std::uint8_t drawMode_;
    float g00Feed_;
    float rapidFactor_;
    bool indexed_;
    bool optimisedFeed_ = false;
    std::shared_ptr<const FeedChangeIndex> change_;
};
