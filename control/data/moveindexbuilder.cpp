#include "moveindexbuilder.h"

#include <limits>

namespace {

float keptStep(float step) {
    return step != step ? std::numeric_limits<float>::quiet_NaN() : step;
}

} // namespace

MoveIndexBuilder::MoveIndexBuilder(std::optional<ToolColours> colours) : colours_(colours) {}

MoveIndexBuilder::MoveIndexBuilder(std::uint32_t firstRecord, std::size_t mostRuns)
    : firstRecord_(firstRecord), mostRuns_(mostRuns), part_(true) {}

// A record whose tool is not the run's, or the first one: false when a part keeps too many runs.
bool MoveIndexBuilder::startRun(std::int16_t toolNo) {
    enterTool(toolNo);
    return !(part_ && runs_.size() > mostRuns_);
}

// A step that the positions do not give, as after a preset of the position.
void MoveIndexBuilder::noteException(float step) {
    index_.exceptions.push_back({firstRecord_ + index_.records, keptStep(step)});
}

void MoveIndexBuilder::endGroup() {
    flushRun();
    index_.groups.push_back(group_);
    group_ = {};
    inGroup_ = 0;
}

// The first record, or one whose tool differs from the record before: the run so far ends and
// the record's colour is taken as the chart takes it. A tool that stays across a group boundary
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
    group_.add(run_);
    run_ = {};
}

void MoveIndexBuilder::append(MoveIndexBuilder&& part) {
    for (const Run& run : part.runs_) {
        enterTool(run.toolNo);
        index_.tools[runRow_].sums.add(run.sums);
    }
    if (part.index_.records > 0)
        enterTool(part.runTool_);
    index_.groups.insert(index_.groups.end(), part.index_.groups.begin(), part.index_.groups.end());
    index_.exceptions.insert(index_.exceptions.end(), part.index_.exceptions.begin(),
                             part.index_.exceptions.end());
    index_.records += part.index_.records;
    run_ = part.run_;
    group_ = part.group_;
    inGroup_ = part.inGroup_;
}

MoveIndex MoveIndexBuilder::take() {
    flushRun();
    if (inGroup_ > 0)
        index_.groups.push_back(group_);
    for (const ToolSums& tool : index_.tools)
        index_.total.add(tool.sums);
    index_.exceptions.shrink_to_fit();
    return std::move(index_);
}
