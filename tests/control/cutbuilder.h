#pragma once

#include "cutdataset.h"
#include "moveindexbuilder.h"

#include <array>
#include <cstddef>
#include <vector>

// Builds a data set record by record, the plain way: the cumulative distances, the block numbers,
// the maxima of the plotted series and the move index. The reference that the loads, which read
// in parts on several threads, are compared with; and a quick way to make a data set of chosen
// records.
class CutBuilder {
public:
    explicit CutBuilder(std::size_t expectedRecords);

    // A record without a movement of its own (the binary header position): distances stay where
    // they are and no maximum is taken. As the first record it is the data's start point
    // (MoveIndex::startPoint).
    void addStart(const CutRecord& state);

    // A block that moved by (dx, dy, dz).
    void add(const CutRecord& state, float dx, float dy, float dz);

    // A preset of the position to that of `state`, before the next record.
    void preset(const CutRecord& state);

    // The finished data set, its arrays trimmed to the exact count, with its index.
    CutDataSet take();

private:
    void store(const CutRecord& state, float step);

    CutDataSet data_;
    double totalDistance_ = 0.0;
    double cutDistance_ = 0.0;
    MoveIndexBuilder moves_;
    std::vector<PresetPoint> presets_;
    bool startPoint_ = false;
};
