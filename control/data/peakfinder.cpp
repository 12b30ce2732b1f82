#include "peakfinder.h"

#include "plottedrange.h"
#include "series.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr std::uint64_t kFanout = MinMaxPyramid<SeriesRanges>::kFanout;

// How many records an entry of `level` spans.
std::uint64_t spanOf(int level) {
    std::uint64_t items = 1;
    for (int i = 0; i < level; ++i)
        items *= kFanout;
    return items;
}

// Beyond this many peaks one sort of the records costs less than a search for each peak: with the
// index a search looks at a few hundred entries, without it at every record of its stretch.
constexpr std::uint64_t kMostSearchedWithIndex = 512;
constexpr std::uint64_t kMostSearchedWithoutIndex = 8;

// A key whose order is that of the peaks, smallest first: the higher value first, of equal
// values the earlier record. The value's bits are turned so that they order as the value does,
// -0 as 0, then inverted for the highest first; the record's index is the low half.
std::uint64_t peakKey(float value, std::uint32_t index) {
    std::uint32_t bits = std::bit_cast<std::uint32_t>(value + 0.0f);
    bits = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return (std::uint64_t{~bits} << 32) | index;
}

std::uint32_t indexOfKey(std::uint64_t key) {
    return static_cast<std::uint32_t>(key);
}

float valueOfKey(std::uint64_t key) {
    const std::uint32_t bits = ~static_cast<std::uint32_t>(key >> 32);
    return std::bit_cast<float>((bits & 0x80000000u) != 0 ? bits & 0x7FFFFFFFu : ~bits);
}

// Sorts keys made in the order of their records by their upper half, a byte at a time from the
// lowest: each pass keeps the order of equal bytes, so that equal values keep their records'
// order. Four passes over the keys, where a comparison sort takes some twenty.
void sortByValue(std::vector<std::uint64_t>& keys) {
    std::vector<std::uint64_t> other(keys.size());
    for (int shift = 32; shift < 64; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const std::uint64_t key : keys)
            ++starts[((key >> shift) & 0xFF) + 1];
        if (std::find(starts.begin(), starts.end(), keys.size()) != starts.end())
            continue;
        for (std::size_t b = 1; b < starts.size(); ++b)
            starts[b] += starts[b - 1];
        for (const std::uint64_t key : keys)
            other[starts[(key >> shift) & 0xFF]++] = key;
        keys.swap(other);
    }
}

// The absolute values of a range: from 0 when it holds 0, else between its ends' magnitudes.
ValueRange absoluteRange(const ValueRange& range) {
    ValueRange absolute;
    if (range.empty())
        return absolute;
    absolute.add(std::fabs(range.lo));
    absolute.add(std::fabs(range.hi));
    if (range.lo <= 0.0f && range.hi >= 0.0f)
        absolute.add(0.0f);
    return absolute;
}

} // namespace

void PeakFinder::Best::offer(std::uint32_t index, float value) {
    if (!found || value > peak.value || (value == peak.value && index < peak.index)) {
        found = true;
        peak = {index, value};
    }
}

bool PeakFinder::Best::beats(const Best& other) const {
    if (!found)
        return false;
    return !other.found || peak.value > other.peak.value ||
           (peak.value == other.peak.value && peak.index < other.peak.index);
}

PeakFinder::PeakFinder(const CutDataSet& data, std::uint8_t drawMode, float g00Feed)
    : data_(data), drawMode_(drawMode), g00Feed_(g00Feed), rapidFactor_(g00Feed * kPerSecond),
      indexed_(data.index.covers(data) && data.index.series().levels() > 0) {}

PeakFinder PeakFinder::ofOptimisedFeed(const CutDataSet& data) {
    PeakFinder finder(data, 0, 0.0f);
    finder.optimisedFeed_ = true;
    return finder;
}

PeakFinder PeakFinder::ofAbsoluteFeedChange(const CutDataSet& data) {
    PeakFinder finder(data, 0, 0.0f);
    finder.change_ = FeedChangeIndex::of(data);
    return finder;
}

bool PeakFinder::skips(std::uint32_t i) const {
    if (change_)
        return !HasFeedChange(data_.records[i]);
    return optimisedFeed_ && data_.records[i].motionCode == 0;
}

float PeakFinder::value(std::uint32_t i) const {
    if (change_)
        return std::fabs(FeedChangePercent(data_.records[i]));
    if (optimisedFeed_)
        return static_cast<float>(data_.records[i].optFeed);
    return numberOrZero(seriesValue(data_, i, drawMode_, g00Feed_));
}

ValueRange PeakFinder::range(int level, std::uint64_t k) const {
    if (change_)
        return absoluteRange(change_->ranges().node(level, k).change);
    const SeriesRanges& ranges = data_.index.series().node(level, k);
    return optimisedFeed_ ? ranges.optFeed : PlottedRange(ranges, drawMode_, rapidFactor_);
}

void PeakFinder::offer(Best& best, std::uint32_t i) const {
    if (!skips(i))
        best.offer(i, value(i));
}

// Whether an entry whose records start at `k * span` could hold a value that beats `best`: its
// highest value is no lower, and on a tie it starts before the best record.
bool PeakFinder::mayBeat(const Best& best, int level, std::uint64_t k) const {
    const ValueRange values = range(level, k);
    if (values.empty())
        return false;
    if (!best.found)
        return true;
    const float hi = values.hi;
    return hi > best.peak.value || (hi == best.peak.value && k * spanOf(level) < best.peak.index);
}

// Entry k of `level` (1 or above), records first..end - 1 of it only. Records come in as the
// children of level 1. The children are tried highest first,
// so that the best found soon rules out the rest.
void PeakFinder::search(int level, std::uint64_t k, std::uint32_t first, std::uint32_t end,
                        Best& best) const {
    if (!mayBeat(best, level, k))
        return;
    const std::uint64_t childSpan = spanOf(level - 1);
    const std::uint64_t lo = std::max<std::uint64_t>(k * kFanout, first / childSpan);
    const std::uint64_t hi = std::min<std::uint64_t>(
        (k + 1) * kFanout, (std::uint64_t{end} + childSpan - 1) / childSpan);
    if (level == 1) {
        for (std::uint64_t i = lo; i < hi; ++i)
            offer(best, static_cast<std::uint32_t>(i));
        return;
    }
    struct Child {
        float bound;
        std::uint64_t k;
    };
    std::array<Child, kFanout> children{};
    std::size_t count = 0;
    for (std::uint64_t child = lo; child < hi; ++child)
        children[count++] = {range(level - 1, child).hi, child};
    std::stable_sort(children.begin(), children.begin() + count,
                     [](const Child& a, const Child& b) { return a.bound > b.bound; });
    for (std::size_t c = 0; c < count; ++c)
        search(level - 1, children[c].k, first, end, best);
}

PeakFinder::Best PeakFinder::highest(std::uint32_t first, std::uint32_t end) const {
    Best best;
    if (first >= end)
        return best;
    if (!indexed_) {
        for (std::uint32_t i = first; i < end; ++i)
            offer(best, i);
        return best;
    }
    search(data_.index.series().levels(), 0, first, end, best);
    return best;
}

PeakFinder::Segment PeakFinder::segment(std::uint32_t first, std::uint32_t end) const {
    return {first, end, highest(first, end)};
}

// Takes records lo..hi - 1 out of the segments; a segment cut in two looks for its best again.
void PeakFinder::cut(std::vector<Segment>& segments, std::uint32_t lo, std::uint32_t hi) const {
    std::vector<Segment> kept;
    for (const Segment& s : segments) {
        if (s.end <= lo || s.first >= hi) {
            kept.push_back(s);
            continue;
        }
        if (s.first < lo)
            kept.push_back(segment(s.first, lo));
        if (hi < s.end)
            kept.push_back(segment(hi, s.end));
    }
    segments = std::move(kept);
}

std::vector<Peak> PeakFinder::find(RecordRange range, std::uint32_t top, std::uint32_t gap) const {
    const std::uint32_t end = std::min(range.end, data_.count);
    if (range.first >= end || !data_.hasData())
        return {};
    gap = std::max(gap, 1u);
    return sortsFor(range.first, end, top, gap) ? sorted(range.first, end, top, gap)
                                                : searched(range.first, end, top, gap);
}

// Whether more peaks can be found than searches for them would cost: peaks lie `gap` apart, so a
// stretch holds no more than its length over the gap, whatever `top` asks for.
bool PeakFinder::sortsFor(std::uint32_t first, std::uint32_t end, std::uint32_t top,
                          std::uint32_t gap) const {
    const std::uint64_t most =
        std::min<std::uint64_t>(top, (std::uint64_t{end} - first + gap - 1) / gap);
    return most > (indexed_ ? kMostSearchedWithIndex : kMostSearchedWithoutIndex);
}

// The peaks one at a time, each the best of the stretches that the peaks before left.
std::vector<Peak> PeakFinder::searched(std::uint32_t first, std::uint32_t end, std::uint32_t top,
                                       std::uint32_t gap) const {
    std::vector<Peak> peaks;
    std::vector<Segment> segments{segment(first, end)};
    while (peaks.size() < top) {
        const auto best = std::max_element(
            segments.begin(), segments.end(),
            [](const Segment& a, const Segment& b) { return b.best.beats(a.best); });
        if (best == segments.end() || !best->best.found)
            break;
        const Peak peak = best->best.peak;
        peaks.push_back(peak);
        const std::uint32_t lo = peak.index >= gap - 1 ? peak.index - (gap - 1) : 0;
        const std::uint64_t hi = std::uint64_t{peak.index} + gap;
        cut(segments, lo, static_cast<std::uint32_t>(std::min<std::uint64_t>(hi, end)));
    }
    return peaks;
}

// The peaks in one go: every drawn record by its key, each taken unless a peak taken before lies
// within the gap. Peaks lie `gap` apart, so that no record is marked as near more than twice.
std::vector<Peak> PeakFinder::sorted(std::uint32_t first, std::uint32_t end, std::uint32_t top,
                                     std::uint32_t gap) const {
    std::vector<std::uint64_t> keys;
    keys.reserve(end - first);
    for (std::uint32_t i = first; i < end; ++i)
        if (!skips(i))
            keys.push_back(peakKey(value(i), i));
    sortByValue(keys);
    std::vector<bool> near(end - first);
    std::vector<Peak> peaks;
    peaks.reserve(std::min<std::size_t>(top, (std::size_t{end} - first + gap - 1) / gap));
    for (const std::uint64_t key : keys) {
        if (peaks.size() >= top)
            break;
        const std::uint32_t i = indexOfKey(key);
        if (near[i - first])
            continue;
        const float found = valueOfKey(key);
        peaks.push_back({i, found == 0.0f ? value(i) : found});
        const std::uint32_t lo = i - std::min(i - first, gap - 1);
        const std::uint32_t hi =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{i} + gap, end));
        std::fill(near.begin() + (lo - first), near.begin() + (hi - first), true);
    }
    return peaks;
}

std::vector<Peak> PeakFinder::findPerTool(RecordRange range, std::uint32_t top,
                                          std::uint32_t gap) const {
    const std::uint32_t end = std::min(range.end, data_.count);
    gap = std::max(gap, 1u);
    std::map<std::int16_t, std::size_t> slots;
    std::vector<std::vector<std::uint64_t>> keys; // per tool in the order of first use
    for (std::uint32_t i = range.first; i < end; ++i) {
        if (skips(i))
            continue;
        const auto [slot, added] = slots.emplace(data_.records[i].toolNo, keys.size());
        if (added)
            keys.emplace_back();
        keys[slot->second].push_back(peakKey(value(i), i));
    }
    std::vector<Peak> peaks;
    for (std::vector<std::uint64_t>& tool : keys) {
        sortByValue(tool);
        std::set<std::uint32_t> taken;
        for (const std::uint64_t key : tool) {
            if (taken.size() >= top)
                break;
            const std::uint32_t i = indexOfKey(key);
            const auto after = taken.lower_bound(i);
            if (after != taken.end() && *after - i < gap)
                continue;
            if (after != taken.begin() && i - *std::prev(after) < gap)
                continue;
            taken.insert(i);
            peaks.push_back({i, value(i)});
        }
    }
    return peaks;
}
