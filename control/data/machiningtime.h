#pragma once

#include "cutdataset.h"
#include "movesums.h"

#include <cstdint>
#include <vector>

// The machining-time figures of a loaded data set, from its move index. A record's move length
// is the growth of the total distance at it, taken in double precision from the step the loader
// added. A data set without a move index (not made by a loader) has no figures.

// The records first up to but not including end.
struct RecordRange {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
};

struct ToolTimes {
    std::int16_t toolNo = 0;
    std::uint16_t colours = 0; // bit n: the chart draws the tool in curve colour number n
    MachiningTimes times;
};

// The move length of record i, in mm.
double MoveLength(const CutDataSet& data, std::uint32_t i);

// The move lengths of records taken in increasing order from record `first` on, in mm, each as
// MoveLength gives it, without a search per record. The data set needs its move index.
class MoveLengthWalk {
public:
    MoveLengthWalk(const CutDataSet& data, std::uint32_t first);
    // The length of record i, which follows the record asked for last (or is `first`).
    double at(std::uint32_t i);

private:
    const CutDataSet& data_;
    std::vector<StepException>::const_iterator next_;
};

// The sums of the records of `range`: whole blocks from the index, the records at either end one
// by one.
MoveSums SumsOfRecords(const CutDataSet& data, RecordRange range);

// Of the records from `first` on, the first one that gives its tool a row of the per-tool
// figures or an entry of the chart's legend. A binary file's start point (record 0,
// MoveIndex::startPoint) counts in the totals only: its tool has a row or an entry only when
// another record has that tool, and the start then belongs to it as before.
std::uint32_t FirstToolRecord(const CutDataSet& data, std::uint32_t first);

// One row per tool, in the order of the tools' first records (FirstToolRecord's rule).
std::vector<ToolTimes> ToolTimesOf(const CutDataSet& data, double g00Feed);
// The same for the records of `range` only, worked out record by record.
std::vector<ToolTimes> ToolTimesOf(const CutDataSet& data, RecordRange range, double g00Feed);
MachiningTimes TotalTimesOf(const CutDataSet& data, double g00Feed);

// For every record the programmed (or with `optimised` the optimised) machining time from the
// start of the data to the end of its block, in seconds: the cutting time and the G00 length
// summed in double precision record by record and the G00 time taken from that length, as the
// figures of the records up to it give it, each stored value rounded to float, in fresh memory
// advised for huge pages (the chart bisects it as it does the distances). All 0 for a data set
// without a move index.
LoadedArray<float> ElapsedSecondsOf(const CutDataSet& data, bool optimised, double g00Feed);
