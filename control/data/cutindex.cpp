#include "cutindex.h"

#include "cutdataset.h"
#include "runeach.h"
#include "series.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    for (std::uint32_t i = first; i < last; ++i) {
        const float value = numberOrZero(data.records[i].removal);
        const bool rapid = data.records[i].motionCode == 0;
        removal.add(value);
        rapidRemoval.addIf(rapid, value);
        orgRate.addIf(!rapid, numberOrZero(seriesValue(data, i, 1, 0.0f)));
        optRate.addIf(!rapid, numberOrZero(seriesValue(data, i, 2, 0.0f)));
    }
    return {removal.range(), rapidRemoval.range(), orgRate.range(), optRate.range()};
}

ValueRange blockNumberRange(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    RunningRange range;
    for (std::uint32_t i = first; i < last; ++i)
        range.add(blockNumberValue(data, i));
    return range.range();
}

#if defined(__SSE2__)

// The ranges of a whole stretch of 16 records, four records at a time. The smallest and largest
// of values that hold no NaN and no -0 do not depend on the order in which they are taken, so the
// lanes give what adding the values one by one gives, to the bit. NaN is plotted as 0 before; a
// stretch with a -0 among its values is left to the loop over its records, where the order
// decides whether 0 or -0 is kept.
class StretchLanes {
public:
    void add(__m128 value) {
        lo_ = _mm_min_ps(value, lo_);
        hi_ = _mm_max_ps(value, hi_);
    }
    void addIf(__m128 taken, __m128 value) {
        const __m128 kept = _mm_and_ps(taken, value);
        lo_ = _mm_min_ps(_mm_or_ps(kept, _mm_andnot_ps(taken, highest())), lo_);
        hi_ = _mm_max_ps(_mm_or_ps(kept, _mm_andnot_ps(taken, lowest())), hi_);
    }
    ValueRange range() const {
        alignas(16) float lo[4];
        alignas(16) float hi[4];
        _mm_store_ps(lo, lo_);
        _mm_store_ps(hi, hi_);
        RunningRange range{std::min({lo[0], lo[1], lo[2], lo[3]}),
                           std::max({hi[0], hi[1], hi[2], hi[3]})};
        return range.range();
    }

private:
    static __m128 highest() { return _mm_set1_ps(std::numeric_limits<float>::infinity()); }
    static __m128 lowest() { return _mm_set1_ps(-std::numeric_limits<float>::infinity()); }

    __m128 lo_ = highest();
    __m128 hi_ = lowest();
};

// NaN as 0, as the chart plots it.
__m128 plotted(__m128 value) {
    return _mm_andnot_ps(_mm_cmpunord_ps(value, value), value);
}

// The lanes that hold -0.
__m128i negativeZeros(__m128 value) {
    return _mm_cmpeq_epi32(_mm_castps_si128(value),
                           _mm_set1_epi32(std::numeric_limits<std::int32_t>::min()));
}

// Unsigned 32-bit numbers as floats, each rounded once as a conversion of one number rounds it:
// the high half times 65536 and the low half are exact, and so is their sum but for its rounding.
__m128 unsignedAsFloat(__m128i value) {
    const __m128i low = _mm_and_si128(value, _mm_set1_epi32(0xFFFF));
    const __m128 high = _mm_cvtepi32_ps(_mm_srli_epi32(value, 16));
    return _mm_add_ps(_mm_mul_ps(high, _mm_set1_ps(65536.0f)), _mm_cvtepi32_ps(low));
}

// The stretch of the 16 records from `first` on; false, leaving the ranges alone, when a value
// is -0.
bool stretchRanges(const CutDataSet& data, std::uint32_t first, SeriesRanges& series,
                   ValueRange& blockNumbers) {
    StretchLanes removal;
    StretchLanes rapidRemoval;
    StretchLanes orgRate;
    StretchLanes optRate;
    StretchLanes numbers;
    __m128i zeros = _mm_setzero_si128();
    const __m128 perSecond = _mm_set1_ps(kPerSecond);
    for (std::uint32_t i = first; i < first + 16; i += 4) {
        const CutRecord* r = &data.records[i];
        const __m128 raw = _mm_setr_ps(r[0].removal, r[1].removal, r[2].removal, r[3].removal);
        const __m128 rapid = _mm_castsi128_ps(_mm_cmpeq_epi32(
            _mm_setr_epi32(r[0].motionCode, r[1].motionCode, r[2].motionCode, r[3].motionCode),
            _mm_setzero_si128()));
        const __m128 org =
            _mm_cvtepi32_ps(_mm_setr_epi32(r[0].orgFeed, r[1].orgFeed, r[2].orgFeed, r[3].orgFeed));
        const __m128 opt =
            _mm_cvtepi32_ps(_mm_setr_epi32(r[0].optFeed, r[1].optFeed, r[2].optFeed, r[3].optFeed));
        const __m128 value = plotted(raw);
        const __m128 orgValue = plotted(_mm_mul_ps(raw, _mm_mul_ps(org, perSecond)));
        const __m128 optValue = plotted(_mm_mul_ps(raw, _mm_mul_ps(opt, perSecond)));
        zeros = _mm_or_si128(
            zeros, _mm_or_si128(negativeZeros(value),
                                _mm_or_si128(negativeZeros(orgValue), negativeZeros(optValue))));
        const __m128 cutting = _mm_xor_ps(rapid, _mm_castsi128_ps(_mm_set1_epi32(-1)));
        removal.add(value);
        rapidRemoval.addIf(rapid, value);
        orgRate.addIf(cutting, orgValue);
        optRate.addIf(cutting, optValue);
        numbers.add(
            unsignedAsFloat(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&data.blockNos[i]))));
    }
    if (_mm_movemask_epi8(zeros) != 0)
        return false;
    series = {removal.range(), rapidRemoval.range(), orgRate.range(), optRate.range()};
    blockNumbers = numbers.range();
    return true;
}

#endif

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

} // namespace

CutIndex::Parts CutIndex::partsFor(const CutDataSet& data, std::size_t parts) {
    const std::uint64_t leaves =
        data.count <= 1 ? 0 : MinMaxPyramid<ValueRange>::firstLevelSize(data.count);
    return {MinMaxPyramid<SeriesRanges>::Level(leaves), MinMaxPyramid<ValueRange>::Level(leaves),
            std::vector<std::vector<std::uint32_t>>(parts)};
}

void CutIndex::addRecords(const CutDataSet& data, std::uint32_t first, std::uint32_t last,
                          Parts& parts, std::size_t part) {
    for (std::uint64_t leaf = first / 16; leaf < parts.series.size() && leaf * 16 < last; ++leaf) {
        const auto from = static_cast<std::uint32_t>(leaf * 16);
        const auto to = static_cast<std::uint32_t>(std::min<std::uint64_t>(from + 16, last));
#if defined(__SSE2__)
        if (to - from == 16 &&
            stretchRanges(data, from, parts.series[leaf], parts.blockNumbers[leaf]))
            continue;
#endif
        parts.series[leaf] = seriesRanges(data, from, to);
        parts.blockNumbers[leaf] = blockNumberRange(data, from, to);
    }
    findColourSteps(data, first, last, parts.colourSteps[part]);
}

// The stretches of 16 records and the colour steps, in parts of whole stretches on as many threads
// as the records are worth.
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
           blockNumbers_.count() == count_;
}

std::uint64_t CutIndex::bytes() const {
    return series_.bytes() + blockNumbers_.bytes() +
           colourSteps_.capacity() * sizeof(std::uint32_t);
}
