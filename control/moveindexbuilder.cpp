#include "moveindexbuilder.h"

#include <cstring>

namespace {

bool sameStep(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

MoveIndexBuilder::MoveIndexBuilder(std::optional<ToolColours> colours) : m_colours(colours) {}

void MoveIndexBuilder::add(const CutRecord& record, const CutRecord* previous, float step) {
    if (!m_colours || record.toolNo != m_colours->tool || m_index.records == 0)
        enterTool(record.toolNo);
    if (!sameStep(step, StepFromPositions(record, previous)))
        m_index.exceptions.push_back({m_index.records, step});
    m_run.add(record, step);
    ++m_index.records;
    if (++m_inBlock == kMoveBlockSize) {
        flushRun();
        m_index.blocks.push_back(m_block);
        m_block = {};
        m_inBlock = 0;
    }
}

// The first record, or one whose tool differs from the record before: the run so far ends and
// the record's colour is taken as the chart takes it.
void MoveIndexBuilder::enterTool(std::int16_t toolNo) {
    flushRun();
    if (m_colours)
        m_colours->enter(toolNo);
    else
        m_colours = ToolColours{toolNo, 0};
    const auto [row, added] =
        m_rows.try_emplace(toolNo, static_cast<std::uint32_t>(m_index.tools.size()));
    if (added)
        m_index.tools.push_back({toolNo, 0, {}});
    m_runRow = row->second;
    ToolSums& tool = m_index.tools[m_runRow];
    tool.colours = static_cast<std::uint16_t>(tool.colours | (1u << m_colours->colour));
}

void MoveIndexBuilder::flushRun() {
    if (m_run.records == 0)
        return;
    m_index.tools[m_runRow].sums.add(m_run);
    m_block.add(m_run);
    m_run = {};
}

MoveIndex MoveIndexBuilder::take() {
    flushRun();
    if (m_inBlock > 0)
        m_index.blocks.push_back(m_block);
    for (const ToolSums& tool : m_index.tools)
        m_index.total.add(tool.sums);
    m_index.exceptions.shrink_to_fit();
    return std::move(m_index);
}
