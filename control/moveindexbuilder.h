#pragma once

#include "moveindex.h"
#include "toolcolours.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

// Builds the move index of a data set as its records are added, from the step lengths that the
// loader adds to the distances. The records of one tool within one block are summed once and
// then go to their tool's and their block's sums together.
class MoveIndexBuilder {
public:
    // `colours` is the chart's colour state before the first record added, when that is not the
    // first record of the data.
    explicit MoveIndexBuilder(std::optional<ToolColours> colours = std::nullopt);

    // Adds `record`, which moved `step` mm; `previous` is the record before it, null for the
    // first one.
    void add(const CutRecord& record, const CutRecord* previous, float step);

    MoveIndex take();

private:
    void enterTool(std::int16_t toolNo);
    void flushRun();

    MoveIndex index_;
    MoveSums block_;
    MoveSums run_;
    std::uint32_t inBlock_ = 0;
    std::optional<ToolColours> colours_;
    // The row of the tool of the current run in index_.tools.
    std::uint32_t runRow_ = 0;
    // The row of every tool number in index_.tools.
    std::unordered_map<std::int16_t, std::uint32_t> rows_;
};
