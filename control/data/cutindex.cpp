#include "cutindex.h"

#include "cutdataset.h"
#include "runeach.h"
#include "series.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>

namespace {

// A range built without a branch on its values: it starts beyond every number and is the empty
// ValueRange when nothing was added. It takes each value as ValueRange::add does, so the range is
// the same to the bit.
struct RunningRange {
    float lo = std::numeric_limits<float>::infinity();
    float hi = -std::numeric_limits<float>::infinity();

    void add(float value) {
        lo = std::min(lo, value);
        hi = std::max(hi, value);
    }
    void addIf(bool taken, float value) {
        lo = taken ? std::min(lo, value) : lo;
        hi = taken ? std::max(hi, value) : hi;
    }
    ValueRange range() const { return lo > hi ? ValueRange{} : ValueRange{lo, hi}; }
};

SeriesRanges seriesRanges(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    RunningRange removal;
    RunningRange rapidRemoval;
    RunningRange orgRate;
    RunningRange optRate;
    RunningRange orgFeed;
    RunningRange optFeed;
    for (std::uint32_t i = first; i < last; ++i) {
        const float value = numberOrZero(data.records[i].removal);
        const bool rapid = data.records[i].motionCode == 0;
        removal.add(value);
        rapidRemoval.addIf(rapid, value);
        orgRate.addIf(!rapid, numberOrZero(seriesValue(data, i, 1, 0.0f)));
        optRate.addIf(!rapid, numberOrZero(seriesValue(data, i, 2, 0.0f)));
        orgFeed.addIf(!rapid, static_cast<float>(data.records[i].orgFeed));
        optFeed.addIf(!rapid, static_cast<float>(data.records[i].optFeed));
    }
    return {removal.range(), rapidRemoval.range(), orgRate.range(),
            optRate.range(), orgFeed.range(),      optFeed.range()};
}

ValueRange blockNumberRange(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    RunningRange range;
    for (std::uint32_t i = first; i < last; ++i)
        range.add(blockNumberValue(data, i));
    return range.range();
}

// The tool rule of the chart: a record whose tool differs from the one before moves the colour
// on, unless the one before is tool 0. Appends those of records first..last - 1.
void findColourSteps(const CutDataSet& data, std::uint32_t first, std::uint32_t last,
                     std::vector<std::uint32_t>& steps) {
    for (std::uint32_t i = std::max(first, 1u); i < last; ++i) {
        const std::int16_t before = data.records[i - 1].toolNo;
        if (data.records[i].toolNo != before && before != 0)
            steps.push_back(i);
    }
}

// The marks of records first..last - 1, at most 16 from the start of a leaf.
LeafMarks leafMarks(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    LeafMarks marks;
    for (std::uint32_t i = first; i < last; ++i) {
        const CutRecord& record = data.records[i];
        const auto bit = static_cast<std::uint16_t>(1u << (i - first));
        if (record.motionCode == 0)
            marks.rapid |= bit;
        if (i == 0)
            continue;
        if (record.orgFeed != data.records[i - 1].orgFeed)
            marks.newProgrammed |= bit;
    }
    return marks;
}

// Whether a record of first..last - 1 has a block number below the record before it, both taken
// as unsigned values; read from the records, which are complete while the arrays are filled.
bool dropsBlockNumber(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    for (std::uint32_t i = std::max(first, 1u); i < last; ++i)
        if (static_cast<std::uint32_t>(data.records[i].blockNo) <
            static_cast<std::uint32_t>(data.records[i - 1].blockNo))
            return true;
    return false;
}

// Below this many records a thread more costs more than it saves.
constexpr std::uint32_t kRecordsPerThread = 1u << 20;

unsigned threadsFor(std::uint32_t count) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return std::max(1u, std::min({cores, 8u, count / kRecordsPerThread}));
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

// The stretch of records start..end - 1, none of them a G00 move, with its feeds' ranges from the
// whole leaves inside it and the records at its ends.
FeedStretch feedStretch(const CutDataSet& data, const MinMaxPyramid<SeriesRanges>& series,
                        std::uint32_t start, std::uint32_t end) {
    const auto org = [&](std::uint64_t i) { return static_cast<float>(data.records[i].orgFeed); };
    const auto opt = [&](std::uint64_t i) { return static_cast<float>(data.records[i].optFeed); };
    FeedStretch stretch{start, end, {{}, org(end - 1)}, {{}, opt(end - 1)}};
    series.cover(start, end, [&](int level, std::uint64_t k) {
        if (level > 0) {
            stretch.orgFeed.range.merge(series.node(level, k).orgFeed);
            stretch.optFeed.range.merge(series.node(level, k).optFeed);
            return;
        }
        stretch.orgFeed.range.add(org(k));
        stretch.optFeed.range.add(opt(k));
    });
    return stretch;
}

// The long stretches between G00 moves, found from the leaves' marks of G00 moves.
std::vector<FeedStretch> findFeedStretches(const CutDataSet& data,
                                           const MinMaxPyramid<SeriesRanges>& series,
                                           const LoadedArray<LeafMarks>& marks) {
    std::vector<FeedStretch> stretches;
    std::uint32_t start = 0;
    const auto close = [&](std::uint32_t end) {
        if (end - start >= FeedStretch::kLeast)
            stretches.push_back(feedStretch(data, series, start, end));
        start = end + 1;
    };
    for (std::uint64_t leaf = 0; leaf < marks.size(); ++leaf)
        for (unsigned rapid = marks[leaf].rapid; rapid != 0; rapid &= rapid - 1)
            close(static_cast<std::uint32_t>(leaf * 16 + std::countr_zero(rapid)));
    if (start < data.count)
        close(data.count);
    return stretches;
}

} // namespace

CutIndex::Parts CutIndex::partsFor(const CutDataSet& data, std::size_t parts) {
    const std::uint64_t leaves =
        data.count <= 1 ? 0 : MinMaxPyramid<ValueRange>::firstLevelSize(data.count);
    return {MinMaxPyramid<SeriesRanges>::Level(leaves), MinMaxPyramid<ValueRange>::Level(leaves),
            std::vector<std::vector<std::uint32_t>>(parts),
            LoadedArray<LeafMarks>(MinMaxPyramid<ValueRange>::firstLevelSize(data.count)),
            std::vector<std::uint8_t>(parts, 0)};
}

void CutIndex::addRecords(const CutDataSet& data, std::uint32_t first, std::uint32_t last,
                          Parts& parts, std::size_t part) {
    for (std::uint64_t leaf = first / 16; leaf < parts.series.size() && leaf * 16 < last; ++leaf) {
        const auto from = static_cast<std::uint32_t>(leaf * 16);
        const auto to = static_cast<std::uint32_t>(std::min<std::uint64_t>(from + 16, last));
        parts.series[leaf] = seriesRanges(data, from, to);
        parts.blockNumbers[leaf] = blockNumberRange(data, from, to);
    }
    for (std::uint64_t leaf = first / 16; leaf < parts.marks.size() && leaf * 16 < last; ++leaf)
        parts.marks[leaf] =
            leafMarks(data, static_cast<std::uint32_t>(leaf * 16),
                      static_cast<std::uint32_t>(std::min<std::uint64_t>(leaf * 16 + 16, last)));
    findColourSteps(data, first, last, parts.colourSteps[part]);
    if (!parts.blockNumberDrops[part] && dropsBlockNumber(data, first, last))
        parts.blockNumberDrops[part] = 1;
}

// The leaves of 16 records and the colour steps, in parts of whole leaves on as many threads as
// the records are worth.
CutIndex CutIndex::build(const CutDataSet& data, unsigned threads) {
    const unsigned partCount = threads > 0 ? threads : threadsFor(data.count);
    Parts parts = partsFor(data, partCount);
    const std::uint64_t leaves = parts.series.size();
    runEach(partCount, [&](std::size_t k) {
        const auto first = static_cast<std::uint32_t>(leaves * k / partCount * 16);
        const auto last = k + 1 == partCount
                              ? data.count
                              : static_cast<std::uint32_t>(leaves * (k + 1) / partCount * 16);
        addRecords(data, first, last, parts, k);
    });
    CutIndex index = build(data, std::move(parts));
    index.noteDistances(data);
    return index;
}

CutIndex CutIndex::build(const CutDataSet& data, Parts parts) {
    CutIndex index;
    index.count_ = data.count;
    index.series_.build(data.count, std::move(parts.series));
    index.blockNumbers_.build(data.count, std::move(parts.blockNumbers));
    std::size_t stepCount = 0;
    for (const std::vector<std::uint32_t>& part : parts.colourSteps)
        stepCount += part.size();
    index.colourSteps_.reserve(stepCount);
    for (const std::vector<std::uint32_t>& part : parts.colourSteps)
        index.colourSteps_.insert(index.colourSteps_.end(), part.begin(), part.end());
    index.marks_ = std::move(parts.marks);
    index.feedStretches_ = findFeedStretches(data, index.series_, index.marks_);
    index.blockNumbersAscend_ =
        std::none_of(parts.blockNumberDrops.begin(), parts.blockNumberDrops.end(),
                     [](std::uint8_t drops) { return drops != 0; });
    static std::atomic<std::uint64_t> builds{0};
    index.serial_ = ++builds;
    return index;
}

void CutIndex::noteDistances(const CutDataSet& data) {
    firstNaN_[0] = firstNaN(data.totalDistance, data.count);
    firstNaN_[1] = firstNaN(data.cutDistance, data.count);
}

bool CutIndex::covers(const CutDataSet& data) const {
    return data.count == count_ && data.records.size() == count_ && series_.count() == count_ &&
           blockNumbers_.count() == count_ &&
           marks_.size() == MinMaxPyramid<ValueRange>::firstLevelSize(count_);
}

std::uint64_t CutIndex::bytes() const {
    return series_.bytes() + blockNumbers_.bytes() +
           colourSteps_.capacity() * sizeof(std::uint32_t) + marks_.capacity() * sizeof(LeafMarks) +
           feedStretches_.capacity() * sizeof(FeedStretch);
}
