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

// A position preset before record `record` (a G92 line of a text file): the record's move starts
// there, not at the previous record's position.
struct PresetPoint {
    std::uint32_t record = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Adds `preset` after `presets`, which are sorted by record: a later preset before the same record
// takes the place of the earlier one.
inline void addPreset(std::vector<PresetPoint>& presets, const PresetPoint& preset) {
    if (!presets.empty() && presets.back().record == preset.record)
        presets.back() = preset;
    else
        presets.push_back(preset);
}

// What a load keeps to answer the machining-time figures without a pass over the records: the
// sums per tool (in the order of their first record) and for the whole data, the sums of every
// group of kMoveGroupSize records, and the few moves that the positions of the records do not
// give, and the presets of the position, one at most per record (a preset that no record follows
// names the record after the last). `records` is the number of records indexed.
struct MoveIndex {
    std::vector<ToolSums> tools;
    MoveSums total;
    std::vector<MoveSums> groups;
    std::vector<StepException> exceptions;
    std::vector<PresetPoint> presets;
    std::uint32_t records = 0;
    // Record 0 is a binary file's start point (the header's position, tool 0, no move): it gives
    // its tool no row of its own (FirstToolRecord).
    bool startPoint = false;
};
