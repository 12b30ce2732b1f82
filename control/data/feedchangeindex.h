#pragma once

#include "cutdataset.h"
#include "cutindex.h"
#include "minmaxpyramid.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

// Whether a record has a feed change: it is no G00 move and its programmed feed is above 0. The
// feed-change chart breaks at every other record.
inline bool HasFeedChange(const CutRecord& record) {
    return record.motionCode != 0 && record.orgFeed > 0;
}

// How much the optimisation changed a record's feed, in percent of the programmed feed:
// (optimised - programmed) / programmed x 100; NaN for a record without a feed change.
inline float FeedChangePercent(const CutRecord& record) {
    if (!HasFeedChange(record))
        return std::numeric_limits<float>::quiet_NaN();
    const double programmed = record.orgFeed;
    return static_cast<float>((record.optFeed - programmed) / programmed * 100.0);
}

// The feed changes over some records, and whether any of them has none.
struct FeedChangeRanges {
    ValueRange change;
    bool leftOut = false;

    void merge(const FeedChangeRanges& other) {
        change.merge(other.change);
        leftOut = leftOut || other.leftOut;
    }
};

// The ranges of the feed change over every 16, 256, 4096, ... records, laid out as the drawing
// index's series, so that the chart, the peaks and the toolpath read the change of any stretch of
// records as they read the other series, and the stretches of at least FeedStretch::kLeast records
// between records without a change, as the drawing index lists the feeds' stretches between G00
// moves (the change as the values of both feeds). Built when a view first asks for it: under a
// byte a record, and at most 32 bytes per 65 records for the stretches.
class FeedChangeIndex {
public:
    explicit FeedChangeIndex(const CutDataSet& data);

    // The index of a data set, kept for the data set's drawing index (built again only when its
    // serial changes); built anew each time for a data set without a drawing index.
    static std::shared_ptr<const FeedChangeIndex> of(const CutDataSet& data);

    const MinMaxPyramid<FeedChangeRanges>& ranges() const { return ranges_; }
    // The smallest and largest change of the whole data set; empty when no record has one.
    const ValueRange& extremes() const { return extremes_; }
    // Ascending: every stretch of at least FeedStretch::kLeast records with a change, from a
    // record after one without (or record 0) to the next record without one (or the count).
    const std::vector<FeedStretch>& stretches() const { return stretches_; }
    // The changes of records a..b - 1 of the data set the index was built for.
    ValueRange over(const CutDataSet& data, std::uint32_t a, std::uint32_t b) const;
    std::uint64_t serial() const { return serial_; }

private:
    void findStretches(const CutDataSet& data);

    MinMaxPyramid<FeedChangeRanges> ranges_;
    ValueRange extremes_;
    std::vector<FeedStretch> stretches_;
    std::uint64_t serial_ = 0;
};

// The half height of a signed scale of feed changes: the largest absolute change of `range`, 1
// (percent) when it has none above 0.
float FeedChangeExtent(const ValueRange& range);
