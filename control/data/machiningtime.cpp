#include "machiningtime.h"

#include "hugepages.h"
#include "moveindexbuilder.h"

#include <algorithm>
#include <cmath>

namespace {

bool indexed(const CutDataSet& data) {
    return data.moves.records == data.count && data.records.size() == data.count;
}

using ExceptionIterator = std::vector<StepException>::const_iterator;

// The first exception at or after record i.
ExceptionIterator exceptionFrom(const CutDataSet& data, std::uint32_t i) {
    const std::vector<StepException>& exceptions = data.moves.exceptions;
    return std::lower_bound(exceptions.begin(), exceptions.end(), i,
                            [](const StepException& exception, std::uint32_t record) {
                                return exception.record < record;
                            });
}

// The step of record i; `next` is the first exception at or after it and moves past an exception
// of record i.
float stepAt(const CutDataSet& data, std::uint32_t i, ExceptionIterator& next) {
    if (next != data.moves.exceptions.end() && next->record == i)
        return (next++)->step;
    return StepFromPositions(data.records[i], i > 0 ? &data.records[i - 1] : nullptr);
}

// Adds the records first..end-1 one by one.
void addRecords(const CutDataSet& data, std::uint32_t first, std::uint32_t end, MoveSums& sums) {
    MoveLengthWalk lengths(data, first);
    for (std::uint32_t i = first; i < end; ++i)
        sums.add(data.records[i], lengths.at(i));
}

} // namespace

MoveLengthWalk::MoveLengthWalk(const CutDataSet& data, std::uint32_t first)
    : data_(data), next_(exceptionFrom(data, first)) {}

double MoveLengthWalk::at(std::uint32_t i) {
    return static_cast<double>(stepAt(data_, i, next_));
}

double MoveLength(const CutDataSet& data, std::uint32_t i) {
    if (!indexed(data) || i >= data.count)
        return 0.0;
    ExceptionIterator next = exceptionFrom(data, i);
    return static_cast<double>(stepAt(data, i, next));
}

MoveSums SumsOfRecords(const CutDataSet& data, RecordRange range) {
    MoveSums sums;
    if (!indexed(data))
        return sums;
    const std::uint32_t end = std::min(range.end, data.count);
    if (range.first >= end)
        return sums;
    const std::uint32_t firstGroup = (range.first + kMoveGroupSize - 1) / kMoveGroupSize;
    const std::uint32_t endGroup = end / kMoveGroupSize;
    if (firstGroup >= endGroup) {
        addRecords(data, range.first, end, sums);
        return sums;
    }
    addRecords(data, range.first, firstGroup * kMoveGroupSize, sums);
    for (std::uint32_t group = firstGroup; group < endGroup; ++group)
        sums.add(data.moves.groups[group]);
    addRecords(data, endGroup * kMoveGroupSize, end, sums);
    return sums;
}

namespace {

// The rows of the records from `first` on: the first row, that of record `first`'s tool, is left
// out when that record is the start point and the only record of its tool.
std::vector<ToolTimes> rowsOf(const CutDataSet& data, std::uint32_t first,
                              const std::vector<ToolSums>& tools, double g00Feed) {
    const bool loneStart =
        !tools.empty() && tools.front().sums.records == 1 && FirstToolRecord(data, first) != first;
    std::vector<ToolTimes> rows;
    for (auto tool = tools.begin() + (loneStart ? 1 : 0); tool != tools.end(); ++tool)
        rows.push_back({tool->toolNo, tool->colours, TimesOf(tool->sums, g00Feed)});
    return rows;
}

} // namespace

std::uint32_t FirstToolRecord(const CutDataSet& data, std::uint32_t first) {
    return first == 0 && data.moves.startPoint && data.count > 0 ? 1 : first;
}

std::vector<ToolTimes> ToolTimesOf(const CutDataSet& data, double g00Feed) {
    return indexed(data) ? rowsOf(data, 0, data.moves.tools, g00Feed) : std::vector<ToolTimes>();
}

std::vector<ToolTimes> ToolTimesOf(const CutDataSet& data, RecordRange range, double g00Feed) {
    const std::uint32_t end = std::min(range.end, data.count);
    if (!indexed(data) || range.first >= end)
        return {};
    ToolColours colours{data.records[0].toolNo, 0};
    colours.skip(data.records.data(), range.first);
    MoveIndexBuilder builder(colours);
    ExceptionIterator next = exceptionFrom(data, range.first);
    for (std::uint32_t i = range.first; i < end; ++i) {
        const float step = stepAt(data, i, next);
        builder.add(data.records[i], i > 0 ? &data.records[i - 1] : nullptr, step);
    }
    return rowsOf(data, range.first, builder.take().tools, g00Feed);
}

MachiningTimes TotalTimesOf(const CutDataSet& data, double g00Feed) {
    return TimesOf(indexed(data) ? data.moves.total : MoveSums(), g00Feed);
}

LoadedArray<float> ElapsedSecondsOf(const CutDataSet& data, bool optimised, double g00Feed) {
    LoadedArray<float> seconds;
    seconds.reserve(data.count);
    adviseHugePages(seconds.data(), data.count * sizeof(float));
    seconds.resize(data.count);
    if (!indexed(data)) {
        std::fill(seconds.begin(), seconds.end(), 0.0f);
        return seconds;
    }
    const bool rapidsTimed = g00Feed > 0.0 && std::isfinite(g00Feed);
    const double rapidSecondsPerMm = rapidsTimed ? movesums::kSecondsPerMinute / g00Feed : 0.0;
    double cutTime = 0.0;
    double rapidLength = 0.0;
    ExceptionIterator next = data.moves.exceptions.begin();
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& record = data.records[i];
        const double length = static_cast<double>(stepAt(data, i, next));
        if (length > 0.0 && std::isfinite(length)) {
            if (record.motionCode == 0)
                rapidLength += length;
            else
                movesums::addTime(length, optimised ? record.optFeed : record.orgFeed, cutTime);
        }
        seconds[i] = static_cast<float>(cutTime + rapidLength * rapidSecondsPerMm);
    }
    return seconds;
}
