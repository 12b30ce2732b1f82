#include "feedchangeindex.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

FeedChangeRanges leafOf(const CutDataSet& data, std::uint32_t first, std::uint32_t last) {
    FeedChangeRanges leaf;
    for (std::uint32_t i = first; i < last; ++i) {
        const CutRecord& record = data.records[i];
        if (HasFeedChange(record))
            leaf.change.add(FeedChangePercent(record));
        else
            leaf.leftOut = true;
    }
    return leaf;
}

} // namespace

FeedChangeIndex::FeedChangeIndex(const CutDataSet& data)
    : serial_(data.index.covers(data) ? data.index.serial() : 0) {
    ranges_.build(data.count, [&](std::uint32_t first, std::uint32_t last) {
        return leafOf(data, first, last);
    });
    extremes_ = over(data, 0, data.count);
    findStretches(data);
}

void FeedChangeIndex::findStretches(const CutDataSet& data) {
    std::uint32_t start = 0;
    FeedValues values;
    for (std::uint32_t i = 0; i <= data.count; ++i) {
        if (i < data.count && HasFeedChange(data.records[i])) {
            values.last = FeedChangePercent(data.records[i]);
            values.range.add(values.last);
            continue;
        }
        if (i - start >= FeedStretch::kLeast)
            stretches_.push_back({start, i, values, values});
        start = i + 1;
        values = {};
    }
}

std::shared_ptr<const FeedChangeIndex> FeedChangeIndex::of(const CutDataSet& data) {
    static std::mutex guard;
    static std::shared_ptr<const FeedChangeIndex> kept;
    if (!data.index.covers(data))
        return std::make_shared<const FeedChangeIndex>(data);
    const std::lock_guard lock(guard);
    if (!kept || kept->serial() != data.index.serial())
        kept = std::make_shared<const FeedChangeIndex>(data);
    return kept;
}

ValueRange FeedChangeIndex::over(const CutDataSet& data, std::uint32_t a, std::uint32_t b) const {
    ValueRange range;
    ranges_.cover(a, b, [&](int level, std::uint64_t k) {
        if (level > 0) {
            range.merge(ranges_.node(level, k).change);
            return;
        }
        const CutRecord& record = data.records[k];
        if (HasFeedChange(record))
            range.add(FeedChangePercent(record));
    });
    return range;
}

float FeedChangeExtent(const ValueRange& range) {
    if (range.empty())
        return 1.0f;
    const float extent = std::max(std::fabs(range.lo), std::fabs(range.hi));
    return extent > 0.0f ? extent : 1.0f;
}
