#include "partedload.h"

#include "cutsums.h"
#include "hugepages.h"
#include "moveindexbuilder.h"
#include "runeach.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

namespace {

// Makes room for `records` elements in `array`, a large one backed by huge pages.
template <typename T> void reserveArray(LoadedArray<T>& array, std::size_t records) {
    array.reserve(records);
    adviseHugePages(array.data(), records * sizeof(T));
}

} // namespace

PartedLoad::PartedLoad(Delta delta, LoadMonitor* monitor, unsigned threads)
    : delta_(delta), monitor_(monitor), threads_(threads) {}

void PartedLoad::addParts(const std::vector<std::size_t>& slots, std::size_t expected) {
    std::size_t total = data_.records.size();
    for (const std::size_t count : slots) {
        Part& part = parts_.emplace_back();
        part.first = total;
        part.state.known = parts_.size() == 1 ? unsigned{kAllFields} : 0u;
        total += count;
    }
    if (total > std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    expected_ = std::max(total, expected);
    if (total > data_.records.capacity()) {
        reserveArray(data_.records, expected_);
        reserveArray(data_.totalDistance, expected_);
    }
    data_.records.resize(total);
    data_.totalDistance.resize(total);
}

bool PartedLoad::report(const Part& part, std::uint32_t& counted) {
    const std::size_t total = recordsRead_ += part.count - counted;
    counted = part.count;
    const std::size_t share = std::min(total, expected_) * LoadMonitor::kDecodingEnds;
    monitor_->permille = static_cast<int>(share / (expected_ + 1));
    if (monitor_->cancelled)
        stopped_ = true;
    return !stopped_;
}

void PartedLoad::closeGaps() {
    std::size_t next = settledRecords_;
    for (std::size_t k = settledParts_; k < parts_.size(); ++k) {
        Part& part = parts_[k];
        if (part.first != next) {
            std::memmove(&data_.records[next], &data_.records[part.first],
                         part.count * sizeof(CutRecord));
            std::memmove(&data_.totalDistance[next], &data_.totalDistance[part.first],
                         part.count * sizeof(float));
            part.first = next;
        }
        next += part.count;
    }
    settledParts_ = parts_.size();
    settledRecords_ = next;
    data_.records.resize(next);
    data_.totalDistance.resize(next);
}

// A field at a time, so that the copy of one member runs over the part's first records.
void PartedLoad::takeEarlierFields(const Part& part, const CutRecord& before) {
    CutRecord* const records = data_.records.data() + part.first;
    for (int field = 0; field < kFieldCount; ++field)
        forEachField(1u << field, [&](auto member) {
            for (std::uint32_t i = 0; i < part.firstKnown[field]; ++i)
                records[i].*member = before.*member;
        });
}

// Fills in what the part could not know, given the state before it: the fields of its first
// records and the steps of the groups that moved from a position set before it.
void PartedLoad::complete(Part& part, const CutRecord& before) {
    takeEarlierFields(part, before);
    for (const PendingStep& pending : part.pending) {
        const CutRecord& record = data_.records[part.first + pending.record];
        std::array<float, 3> delta = pending.delta;
        const float moved[3] = {record.x - before.x, record.y - before.y, record.z - before.z};
        const float back[3] = {before.x - record.x, before.y - record.y, before.z - record.z};
        for (int axis = 0; axis < 3; ++axis)
            if (pending.axes & (kXField << axis))
                delta[axis] = delta_ == Delta::NewLessOld ? moved[axis] : back[axis];
        data_.totalDistance[part.first + pending.record] = StepLength(delta[0], delta[1], delta[2]);
    }
}

// One pass over records first..last - 1 of span k, a part of whole move groups, a group at a time:
// block numbers, cutting steps, maxima, the span's move index and the drawing index's stretches.
void PartedLoad::takeRecords(std::size_t first, std::size_t last, std::size_t k, Span& span,
                             CutIndex::Parts& index) {
    if (k == 0)
        span.moves.emplace();
    else
        span.moves.emplace(static_cast<std::uint32_t>(first), (last - first) / 16 + 16);
    for (std::size_t group = first; group < last; group += kMoveGroupSize) {
        const std::size_t end = std::min(last, group + kMoveGroupSize);
        for (std::size_t i = group; i < end; ++i) {
            const CutRecord& record = data_.records[i];
            const float step = data_.totalDistance[i];
            data_.blockNos[i] = record.blockNo;
            data_.cutDistance[i] = record.motionCode == 0 ? 0.0f : step;
            cutsums::raiseMaxima(span.maxima, record);
            if (span.movesKept)
                span.movesKept =
                    span.moves->add(record, i > 0 ? &data_.records[i - 1] : nullptr, step);
        }
        CutIndex::addRecords(data_, static_cast<std::uint32_t>(group),
                             static_cast<std::uint32_t>(end), index, k);
    }
}

// The move index of every span in order; on one thread when a span changed tools too often to
// keep its runs apart.
MoveIndex PartedLoad::joinMoves(std::vector<Span>& spans) const {
    for (const Span& span : spans) {
        if (span.movesKept)
            continue;
        MoveIndexBuilder moves;
        for (std::size_t i = 0; i < data_.records.size(); ++i)
            moves.add(data_.records[i], i > 0 ? &data_.records[i - 1] : nullptr,
                      data_.totalDistance[i]);
        return moves.take();
    }
    for (std::size_t k = 1; k < spans.size(); ++k)
        spans[0].moves->append(std::move(*spans[k].moves));
    return spans[0].moves->take();
}

// The presets of every part in record order, with the axes a part did not know taken from the
// state before it.
std::vector<PresetPoint> PartedLoad::joinPresets(const std::vector<CutRecord>& before) const {
    std::vector<PresetPoint> presets;
    for (std::size_t k = 0; k < parts_.size(); ++k) {
        for (const PartPreset& preset : parts_[k].presets) {
            PresetPoint point = preset.point;
            point.record += static_cast<std::uint32_t>(parts_[k].first);
            if (!(preset.axes & kXField))
                point.x = before[k].x;
            if (!(preset.axes & kYField))
                point.y = before[k].y;
            if (!(preset.axes & kZField))
                point.z = before[k].z;
            addPreset(presets, point);
        }
    }
    presets.shrink_to_fit();
    return presets;
}

// The steps in both arrays become their running sums, in record order. Each sum waits for the
// addition before it; the two are taken in one loop, where they wait together.
void PartedLoad::sumDistances(LoadedArray<float>& total, LoadedArray<float>& cut) {
    double totalSum = 0.0;
    double cutSum = 0.0;
    for (std::size_t i = 0; i < total.size(); ++i) {
        totalSum = cutsums::addStep(totalSum, total[i]);
        total[i] = static_cast<float>(totalSum);
        cutSum = cutsums::addStep(cutSum, cut[i]);
        cut[i] = static_cast<float>(cutSum);
    }
}

CutDataSet PartedLoad::finish() {
    closeGaps();
    data_.count = static_cast<std::uint32_t>(settledRecords_);
    reserveArray(data_.cutDistance, settledRecords_);
    reserveArray(data_.blockNos, settledRecords_);
    data_.cutDistance.resize(settledRecords_);
    data_.blockNos.resize(settledRecords_);
    // The state before each part: the one before the part before, with what that part set.
    std::vector<CutRecord> before(parts_.size());
    for (std::size_t k = 1; k < parts_.size(); ++k) {
        before[k] = parts_[k - 1].state.record;
        copyFields(kAllFields & ~parts_[k - 1].state.known, before[k - 1], before[k]);
    }
    runShared(parts_.size(), threads_, [&](std::size_t k) { complete(parts_[k], before[k]); });
    // Spans of whole move groups, some per thread, read once more each: what the records give. A
    // thread that is done with a span takes the next one not taken.
    const std::size_t count = data_.records.size();
    const std::size_t groups = (count + kMoveGroupSize - 1) / kMoveGroupSize;
    const std::size_t spanCount =
        std::max<std::size_t>(1, std::min<std::size_t>(kPiecesPerThread * threads_, groups));
    std::vector<Span> spans(spanCount);
    CutIndex::Parts index = CutIndex::partsFor(data_, spanCount);
    runShared(spanCount, threads_, [&](std::size_t k) {
        takeRecords(groups * k / spanCount * kMoveGroupSize,
                    std::min(count, groups * (k + 1) / spanCount * kMoveGroupSize), k, spans[k],
                    index);
    });
    for (const Span& span : spans)
        for (int series = 0; series < kMaximaCount; ++series)
            cutsums::raiseMaximum(data_.maxima[series], span.maxima[series]);
    // The move index took the steps, which the distances now replace by their sums, while the
    // drawing index is built on another thread.
    data_.moves = joinMoves(spans);
    data_.moves.presets = joinPresets(before);
    CutIndex drawing;
    runEach(2, [&](std::size_t k) {
        if (k == 0)
            sumDistances(data_.totalDistance, data_.cutDistance);
        else
            drawing = CutIndex::build(data_, std::move(index));
    });
    drawing.noteDistances(data_);
    data_.index = std::move(drawing);
    return std::move(data_);
}
