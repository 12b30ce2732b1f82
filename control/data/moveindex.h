#pragma once

#include "movesums.h"

#include <cmath>
#include <cstdint>
#include <vector>

// Records per group of the move index.
inline constexpr std::uint32_t kMoveGroupSize = 4096;

// The length of a move by (dx, dy, dz) as the loader adds it to the distances.
inline float StepLength(float dx, float dy, float dz) {
    return std::sqrt(dz * dz + dy * dy + dx * dx);
}

// The step from the position of `previous` to that of `record`; 0 without a previous record.
inline float StepFromPositions(const CutRecord& record, const CutRecord* previous) {
    if (previous == nullptr)
        return 0.0f;
    return StepLength(record.x - previous->x, record.y - previous->y, record.z - previous->z);
}

// The sums of one tool's records and the curve colour numbers the chart draws them in (bit n for
// colour number n).
struct ToolSums {
    std::int16_t toolNo = 0;
    std::uint16_t colours = 0;
    MoveSums sums;
};

// A record whose move is not the step from the previous record's position to its own: the first
// record of a text file, the first after a G92 preset, coordinates that are not finite.
struct StepException {
    std::uint32_t record = 0;
    float step = 0.0f;
};

// What a load keeps to answer the machining-time figures without a pass over the records: the
// sums per tool (in the order of their first record) and for the whole data, the sums of every
// group of kMoveGroupSize records, and the few moves that the positions of the records do not
// give. `records` is the number of records indexed.
struct MoveIndex {
    std::vector<ToolSums> tools;
    MoveSums total;
    std::vector<MoveSums> groups;
    std::vector<StepException> exceptions;
    std::uint32_t records = 0;
};
