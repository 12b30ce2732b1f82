#pragma once

#include "cutdataset.h"

#include <cstdint>
#include <vector>

// The largest value of one plotted series per block of records, so that the largest value over
// a long run of records costs a look at each block instead of each record. A block's maximum is
// found when a run first covers the block, so a pick right after a load of millions of records
// looks only at the blocks of its own column. A NaN value counts as lower than every number; of
// equal values the first one wins.
class SeriesMaxIndex {
public:
    static constexpr std::uint32_t kBlock = 256;

    // True when the index is for this series with this G00 feed.
    bool covers(std::uint8_t primaryDrawMode, float g00Feed) const;
    // Makes the index one for this series of `data`, with no block maximum known yet.
    void build(const CutDataSet& data, std::uint8_t primaryDrawMode, float g00Feed);

    struct Highest {
        std::uint32_t index = 0;
        float value = 0.0f;
    };
    // The first record of the largest value in [lo, hi); lo < hi.
    Highest highest(const CutDataSet& data, std::uint32_t lo, std::uint32_t hi);

private:
    float blockMax(const CutDataSet& data, std::uint32_t block);
    float valueOf(const CutDataSet& data, std::uint32_t i) const;
    void scan(const CutDataSet& data, std::uint32_t lo, std::uint32_t hi, Highest& best,
              bool& found) const;

    bool built_ = false;
    std::uint8_t drawMode_ = 0;
    float g00Feed_ = 0.0f;
    std::vector<float> blockMax_;
    std::vector<bool> known_;
};

// a > b, with NaN lower than every number.
bool IsHigherValue(float a, float b);
