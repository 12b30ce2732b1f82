#include "moveindexbuilder.h"

#include <cstring>
#include <limits>

namespace {

// Which NaN the length of a move with two NaN coordinates gives depends on the order in which the
// compiler takes the operands, and no sum counts a NaN step: any two NaN steps are the same, and
// an exception keeps one NaN for all.
bool sameStep(float a, float b) {
    return (a != a && b != b) || std::memcmp(&a, &b, sizeof a) == 0;
}

float keptStep(float step) {
    return step != step ? std::numeric_limits<float>::quiet_NaN() : step;
}

} // namespace

MoveIndexBuilder::MoveIndexBuilder(std::optional<ToolColours> colours) : colours_(colours) {}

MoveIndexBuilder::MoveIndexBuilder(std::uint32_t firstRecord, std::size_t mostRuns)
    : firstRecord_(firstRecord), mostRuns_(mostRuns), part_(true) {}

bool MoveIndexBuilder::add(const CutRecord& record, const CutRecord* previous, float step) {
    if (index_.records == 0 || record.toolNo != runTool_) {
        enterTool(record.toolNo);
        if (part_ && runs_.size() > mostRuns_)
            return false;
    }
    const std::uint32_t number = firstRecord_ + index_.records;
    if (!sameStep(step, StepFromPositions(record, previous)))
        index_.exceptions.push_back({number, keptStep(step)});
    run_.add(record, step);
    ++index_.records;
    if (++inBlock_ == kMoveBlockSize) {
        flushRun();
        index_.blocks.push_back(block_);
        block_ = {};
        inBlock_ = 0;
    }
    return true;
}

// The first record, or one whose tool differs from the record before: the run so far ends and
// the record's colour is taken as the chart takes it. A tool that stays across a block boundary
// enters again, which changes nothing.
void MoveIndexBuilder::enterTool(std::int16_t toolNo) {
    flushRun();
    runTool_ = toolNo;
    if (part_)
        return;
    if (colours_)
        colours_->enter(toolNo);
    else
        colours_ = ToolColours{toolNo, 0};
    const auto [row, added] =
        rows_.try_emplace(toolNo, static_cast<std::uint32_t>(index_.tools.size()));
    if (added)
        index_.tools.push_back({toolNo, 0, {}});
    runRow_ = row->second;
    ToolSums& tool = index_.tools[runRow_];
    tool.colours = static_cast<std::uint16_t>(tool.colours | (1u << colours_->colour));
}

void MoveIndexBuilder::flushRun() {
    if (run_.records == 0)
        return;
    if (part_)
        runs_.push_back({runTool_, run_});
    else
        index_.tools[runRow_].sums.add(run_);
    block_.add(run_);
    run_ = {};
}

void MoveIndexBuilder::append(MoveIndexBuilder&& part) {
    for (const Run& run : part.runs_) {
        enterTool(run.toolNo);
        index_.tools[runRow_].sums.add(run.sums);
    }
    if (part.index_.records > 0)
        enterTool(part.runTool_);
    index_.blocks.insert(index_.blocks.end(), part.index_.blocks.begin(), part.index_.blocks.end());
    index_.exceptions.insert(index_.exceptions.end(), part.index_.exceptions.begin(),
                             part.index_.exceptions.end());
    index_.records += part.index_.records;
    run_ = part.run_;
    block_ = part.block_;
    inBlock_ = part.inBlock_;
}

MoveIndex MoveIndexBuilder::take() {
    flushRun();
    if (inBlock_ > 0)
        index_.blocks.push_back(block_);
    for (const ToolSums& tool : index_.tools)
        index_.total.add(tool.sums);
    index_.exceptions.shrink_to_fit();
    return std::move(index_);
}
