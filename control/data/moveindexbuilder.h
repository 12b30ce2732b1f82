#pragma once

#include "moveindex.h"
#include "toolcolours.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

// Builds the move index of a data set as its records are added, from the step lengths that the
// loader adds to the distances. The records of one tool within one group are summed once (a run)
// and then go to their tool's and their group's sums together.
//
// A long data set can be indexed in parts on several threads: a part that starts at a group
// boundary further on keeps its runs apart, since the tool rows and the colours before it are not
// known yet, and is appended to the builder of the records before it, which adds its runs in
// their order, so that every sum is the same to the bit.
class MoveIndexBuilder {
public:
    // `colours` is the chart's colour state before the first record added, when that is not the
    // first record of the data.
    explicit MoveIndexBuilder(std::optional<ToolColours> colours = std::nullopt);

    // A part that starts at record `firstRecord`, a multiple of kMoveGroupSize, and keeps at most
    // `mostRuns` runs apart; add() refuses records beyond that.
    MoveIndexBuilder(std::uint32_t firstRecord, std::size_t mostRuns);

    // Adds `record`, which moved `step` mm; `previous` is the record before it, null for the
    // first one of the data. False when a part has more runs than it may keep. Inline: every
    // record of a load passes here; what happens once per run or group is not.
    bool add(const CutRecord& record, const CutRecord* previous, float step) {
        if ((index_.records == 0 || record.toolNo != runTool_) && !startRun(record.toolNo))
            return false;
        if (!sameStep(step, StepFromPositions(record, previous)))
            noteException(step);
        run_.add(record, step);
        ++index_.records;
        if (++inGroup_ == kMoveGroupSize)
            endGroup();
        return true;
    }

    // Takes the records of `part`, which follow this builder's, whose last group is complete.
    void append(MoveIndexBuilder&& part);

    MoveIndex take();

private:
    struct Run {
        std::int16_t toolNo;
        MoveSums sums;
    };

    // Which NaN the length of a move with two NaN coordinates gives depends on the order in which
    // the compiler takes the operands, and no sum counts a NaN step: any two NaN steps are the
    // same, and an exception keeps one NaN for all.
    static bool sameStep(float a, float b) {
        return (a != a && b != b) || std::memcmp(&a, &b, sizeof a) == 0;
    }

    bool startRun(std::int16_t toolNo);
    void noteException(float step);
    void endGroup();
    void enterTool(std::int16_t toolNo);
    void flushRun();

    MoveIndex index_;
    MoveSums group_;
    MoveSums run_;
    std::uint32_t inGroup_ = 0;
    std::uint32_t firstRecord_ = 0;
    std::int16_t runTool_ = 0;
    std::optional<ToolColours> colours_;
    // The row of the tool of the current run in index_.tools.
    std::uint32_t runRow_ = 0;
    // The row of every tool number in index_.tools.
    std::unordered_map<std::int16_t, std::uint32_t> rows_;
    // A part's runs, and how many it may keep (none for the builder of the data's start).
    std::vector<Run> runs_;
    std::size_t mostRuns_ = 0;
    bool part_ = false;
};
