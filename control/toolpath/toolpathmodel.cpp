#include "toolpathmodel.h"

#include "moveindex.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool samePoint(const PathPoint& a, const PathPoint& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

bool isFinite(const PathPoint& point) {
    return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}

void PathBox::add(const PathPoint& point) {
    if (!isFinite(point))
        return;
    if (empty) {
        low = high = point;
        empty = false;
        return;
    }
    low = {std::min(low.x, point.x), std::min(low.y, point.y), std::min(low.z, point.z)};
    high = {std::max(high.x, point.x), std::max(high.y, point.y), std::max(high.z, point.z)};
}

ToolpathModel::ToolpathModel(const CutDataSet& data) : data_(data) {
    noteStarts();
    countSegments();
}

// The first record starts at its own point unless the loader noted its move or a preset came
// before it. A preset gives the start of the record after it; another noted move starts at the
// origin when its step is the distance from there.
void ToolpathModel::noteStarts() {
    if (data_.count == 0)
        return;
    const auto& exceptions = data_.moves.exceptions;
    const auto& presets = data_.moves.presets;
    const bool firstNoted = (!exceptions.empty() && exceptions.front().record == 0) ||
                            (!presets.empty() && presets.front().record == 0);
    if (!firstNoted)
        starts_.push_back({0, pointOf(data_.records[0])});
    auto exception = exceptions.begin();
    auto preset = presets.begin();
    while (true) {
        const std::uint32_t atException =
            exception != exceptions.end() ? exception->record : data_.count;
        const std::uint32_t atPreset = preset != presets.end() ? preset->record : data_.count;
        const std::uint32_t record = std::min(atException, atPreset);
        if (record >= data_.count)
            break;
        if (atPreset == record)
            starts_.push_back({record, PathPoint{preset->x, preset->y, preset->z}});
        else
            starts_.push_back({record, originStart(*exception)});
        exception += atException == record ? 1 : 0;
        preset += atPreset == record ? 1 : 0;
    }
}

std::optional<PathPoint> ToolpathModel::originStart(const StepException& exception) const {
    const CutRecord& record = data_.records[exception.record];
    if (sameBits(exception.step, StepLength(record.x, record.y, record.z)))
        return PathPoint{};
    return std::nullopt;
}

const ToolpathModel::Start* ToolpathModel::startEntry(std::uint32_t i) const {
    const auto found =
        std::lower_bound(starts_.begin(), starts_.end(), i,
                         [](const Start& s, std::uint32_t r) { return s.record < r; });
    return found != starts_.end() && found->record == i ? &*found : nullptr;
}

std::optional<PathPoint> ToolpathModel::startOf(std::uint32_t i) const {
    if (const Start* start = startEntry(i))
        return start->point;
    return pointOf(data_.records[i - 1]);
}

bool ToolpathModel::drawn(std::uint32_t i) const {
    const auto start = startOf(i);
    const PathPoint end = pointOf(data_.records[i]);
    return start && isFinite(*start) && isFinite(end) && !samePoint(*start, end);
}

// One pass over the records: the box of the end points and the starts, and the segments left out.
void ToolpathModel::countSegments() {
    if (data_.count == 0)
        return;
    walk_ = ToolColours{data_.records[0].toolNo, 0};
    colourRuns_.push_back({0, 0});
    forEachRecord(0, data_.count, [this](std::uint32_t i, const Start* start) {
        if (start && start->point)
            box_.add(*start->point);
        box_.add(pointOf(data_.records[i]));
        countSegment(i, start);
        noteColour(i);
    });
}

void ToolpathModel::noteColour(std::uint32_t i) {
    if (walk_.enter(data_.records[i].toolNo))
        colourRuns_.push_back({i, walk_.colour});
}

ToolColours ToolpathModel::toolColoursBefore(std::uint32_t first) const {
    if (first == 0 || data_.count == 0)
        return ToolColours{data_.count ? data_.records[0].toolNo : std::int16_t{0}, 0};
    const auto after =
        std::upper_bound(colourRuns_.begin(), colourRuns_.end(), first - 1,
                         [](std::uint32_t r, const ColourRun& run) { return r < run.record; });
    return ToolColours{data_.records[first - 1].toolNo, std::prev(after)->colour};
}

void ToolpathModel::countSegment(std::uint32_t i, const Start* start) {
    const PathPoint end = pointOf(data_.records[i]);
    const std::optional<PathPoint> from = start ? start->point : pointOf(data_.records[i - 1]);
    if (!from)
        ++unknownStart_;
    else if (!isFinite(*from) || !isFinite(end))
        ++nonFinite_;
    else if (samePoint(*from, end) && i != 0)
        ++zeroLength_;
}
