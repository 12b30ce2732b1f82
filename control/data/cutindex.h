#pragma once

#include "minmaxpyramid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

struct CutDataSet;

// The smallest and largest of a value over some records; lo > hi when it has none.
struct ValueRange {
    float lo = 1.0f;
    float hi = 0.0f;

    bool empty() const { return lo > hi; }
    bool operator==(const ValueRange&) const = default;
    void add(float value) {
        if (empty()) {
            lo = hi = value;
            return;
        }
        lo = std::min(lo, value);
        hi = std::max(hi, value);
    }
    void merge(const ValueRange& other) {
        if (!other.empty()) {
            add(other.lo);
            add(other.hi);
        }
    }
};

// A plotted value as the chart places it: NaN is drawn where 0 is.
inline float numberOrZero(float value) {
    return std::isnan(value) ? 0.0f : value;
}

// The plotted series over some records, NaN counted as 0 (the chart draws both on the
// axis). G00 records are plotted per second with a feed the chart chooses at drawing time, so
// their removal is kept apart and the rates cover the other records only.
struct SeriesRanges {
    ValueRange removal;      // every record
    ValueRange rapidRemoval; // G00 records
    ValueRange orgRate;      // removal per second with the programmed feed, other records
    ValueRange optRate;      // the same with the optimised feed
    ValueRange orgFeed;      // programmed feed, other records
    ValueRange optFeed;      // optimised feed, other records

    void merge(const SeriesRanges& other) {
        removal.merge(other.removal);
        rapidRemoval.merge(other.rapidRemoval);
        orgRate.merge(other.orgRate);
        optRate.merge(other.optRate);
        orgFeed.merge(other.orgFeed);
        optFeed.merge(other.optFeed);
    }
};

// Bit k of each mark is record 16 x leaf + k of a leaf of 16 records: whether it is a G00 move, and
// whether its programmed feed differs from that of the record before (never for record 0). The
// programmed feed stays the same over long stretches, the optimised one hardly ever: its changes
// are not marked. 4 bytes a leaf.
struct LeafMarks {
    std::uint16_t rapid = 0;
    std::uint16_t newProgrammed = 0;
};

// A feed over a stretch of records: its range and its last value.
struct FeedValues {
    ValueRange range;
    float last = 0.0f;

    bool operator==(const FeedValues&) const = default;
};

// A stretch of records between G00 moves, where the feeds' curves break, with each feed's values
// over it. A pixel column that holds such a stretch whole draws it from here instead of from the
// records at its two ends, which mostly share their leaves with the G00 moves and the next
// stretch. Only stretches of at least kLeast records get one: shorter ones span a few leaves,
// cheap to summarise, and the list stays at most 32 bytes per 65 records.
struct FeedStretch {
    static constexpr std::uint32_t kLeast = 64;

    std::uint32_t start = 0; // the first record, or one after a G00 move
    std::uint32_t end = 0;   // the G00 move after its last record, or the count
    FeedValues orgFeed;
    FeedValues optFeed;

    bool operator==(const FeedStretch&) const = default;
};

// What the chart needs to draw a pixel column without visiting the records inside it, built once
// per load: the ranges of the series and of the block numbers over every leaf of 16 records and
// every node of 256, 4096, ... records above them, the records where the curve colour moves on, per
// leaf which records are G00 moves (where the feeds break) and which change the programmed feed,
// the feeds' ranges over the long stretches between G00 moves, and where the distances stop being
// numbers. A few bytes per record.
class CutIndex {
public:
    // Builds the index of `data`, whose arrays are complete, on `threads` threads (0: as many as
    // the records are worth); the index is the same on any number.
    static CutIndex build(const CutDataSet& data, unsigned threads = 0);

    // The leaves of 16 records and the colour steps, filled part by part by whoever has the
    // records at hand: addRecords() for parts of whole leaves, in any order and on any thread,
    // each part's colour steps in a list of its own.
    struct Parts {
        MinMaxPyramid<SeriesRanges>::Level series;
        MinMaxPyramid<ValueRange>::Level blockNumbers;
        std::vector<std::vector<std::uint32_t>> colourSteps;
        LoadedArray<LeafMarks> marks;
        // Per part: whether a record's block number (unsigned) is below the one before it.
        std::vector<std::uint8_t> blockNumberDrops;
    };
    static Parts partsFor(const CutDataSet& data, std::size_t parts);
    // Records first..last - 1 of part `part`: `first` a multiple of 16, `last` too or the count.
    // The calls of one part come in record order.
    static void addRecords(const CutDataSet& data, std::uint32_t first, std::uint32_t last,
                           Parts& parts, std::size_t part);
    // The index from every part; the distances may still be summed meanwhile, and noteDistances()
    // takes them once they are.
    static CutIndex build(const CutDataSet& data, Parts parts);
    void noteDistances(const CutDataSet& data);

    // Whether the index was built for these records.
    bool covers(const CutDataSet& data) const;
    std::uint64_t bytes() const;
    // Different for every build of an index in the process, 0 for none: a data set whose index
    // keeps its serial has kept its records.
    std::uint64_t serial() const { return serial_; }

    const MinMaxPyramid<SeriesRanges>& series() const { return series_; }
    const MinMaxPyramid<ValueRange>& blockNumbers() const { return blockNumbers_; }
    // Ascending: the records whose tool change moves the curve colour on.
    const std::vector<std::uint32_t>& colourSteps() const { return colourSteps_; }
    // The marks of every leaf of 16 records, the last one what is left.
    const LoadedArray<LeafMarks>& marks() const { return marks_; }
    // Ascending: every stretch of at least FeedStretch::kLeast records between G00 moves.
    const std::vector<FeedStretch>& feedStretches() const { return feedStretches_; }
    // Whether the block numbers, taken as unsigned values, never decrease.
    bool blockNumbersAscend() const { return blockNumbersAscend_; }
    // The first record whose distance (0 total, 1 cutting) is NaN, or the count. Before it the
    // distances never decrease; from it on all are NaN.
    std::uint32_t firstNaNDistance(int distanceMode) const { return firstNaN_[distanceMode]; }

private:
    std::uint32_t count_ = 0;
    MinMaxPyramid<SeriesRanges> series_;
    MinMaxPyramid<ValueRange> blockNumbers_;
    std::vector<std::uint32_t> colourSteps_;
    LoadedArray<LeafMarks> marks_;
    std::vector<FeedStretch> feedStretches_;
    std::uint32_t firstNaN_[2] = {0, 0};
    bool blockNumbersAscend_ = true;
    std::uint64_t serial_ = 0;
};
