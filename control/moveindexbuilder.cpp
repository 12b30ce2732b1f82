#include "moveindexbuilder.h"

#include <cstring>

namespace {

bool sameStep(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

MoveIndexBuilder::MoveIndexBuilder(std::optional<ToolColours> colours) : colours_(colours) {}

void MoveIndexBuilder::add(const CutRecord& record, const CutRecord* previous, float step) {
    if (!colours_ || record.toolNo != colours_->tool || index_.records == 0)
        enterTool(record.toolNo);
    if (!sameStep(step, StepFromPositions(record, previous)))
        index_.exceptions.push_back({index_.records, step});
    run_.add(record, step);
    ++index_.records;
    if (++inBlock_ == kMoveBlockSize) {
        flushRun();
        index_.blocks.push_back(block_);
        block_ = {};
        inBlock_ = 0;
    }
}

// The first record, or one whose tool differs from the record before: the run so far ends and
// the record's colour is taken as the chart takes it.
void MoveIndexBuilder::enterTool(std::int16_t toolNo) {
    flushRun();
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
    index_.tools[runRow_].sums.add(run_);
    block_.add(run_);
    run_ = {};
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
