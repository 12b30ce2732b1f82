#pragma once

#include "cutdataset.h"
#include "movesums.h"

#include <cstdint>
#include <vector>

// The machining time from the start of the data to the end of a record, programmed and optimised,
// by the machining-time rules (G00 moves at the G00 feed, moves without feed count zero). The sums
// before every group of the move index are added up once per data set; a record's time adds the
// records of its own group to them.
class ElapsedTime {
public:
    ElapsedTime() = default;
    explicit ElapsedTime(const CutDataSet& data);

    struct Seconds {
        double programmed = 0.0;
        double optimised = 0.0;
    };
    // The time up to and including record i; 0 for a data set without a move index.
    Seconds atEndOf(std::uint32_t i, double g00Feed) const;

    // True when built for this data set's records (its drawing index's serial).
    bool builtFor(const CutDataSet& data) const;

private:
    const CutDataSet* data_ = nullptr;
    std::uint64_t serial_ = 0;
    std::vector<MoveSums> before_; // the sums of the groups before group g
};
