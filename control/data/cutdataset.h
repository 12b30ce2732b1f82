#pragma once

#include "cutindex.h"
#include "cutrecord.h"
#include "moveindex.h"
#include "unwrittenallocator.h"

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kMaximaCount = 16;

// The loaded monitoring data: records with their cumulative distances, block numbers, the
// maxima of the plotted series and the move index. The four arrays always have `count` elements.
struct CutDataSet {
    LoadedArray<CutRecord> records;
    LoadedArray<float> totalDistance; // mm, G00 moves included
    LoadedArray<float> cutDistance;   // mm, G00 moves not counted
    LoadedArray<std::int32_t> blockNos;
    std::uint32_t count = 0;
    std::array<float, kMaximaCount> maxima{}; // 0 maxRemoval, 1 maxRateOrg, 2 maxRateOpt
    MoveIndex moves;
    CutIndex index; // for drawing; built by the loaders after the arrays

    bool hasData() const { return !records.empty(); }
    float maxRemoval() const { return maxima[0]; }
    float maxRateOrg() const { return maxima[1]; }
    float maxRateOpt() const { return maxima[2]; }
};

// Reserves the four arrays for `records` records, large ones backed by huge pages; throws
// std::bad_alloc beyond the 32-bit count.
void ReserveCutData(CutDataSet& data, std::size_t records);

// Reserves the four arrays as ReserveCutData and gives each `records` elements left unwritten, for
// a loader that writes every one of them, on any thread.
void SizeCutData(CutDataSet& data, std::size_t records);

// Releases the four arrays, the move index and the drawing index; `count` and the maxima stay as
// they are.
void FreeCutData(CutDataSet& data);
