#include "cutbuilder.h"

#include "series.h"

#include <limits>
#include <new>

CutBuilder::CutBuilder(std::size_t expectedRecords) {
    ReserveCutData(m_data, expectedRecords);
}

void CutBuilder::addStart(const CutRecord& state) {
    store(state, 0.0f);
}

void CutBuilder::raiseMaxima(std::array<float, kMaximaCount>& maxima, const CutRecord& state) {
    raiseMaximum(maxima[0], state.removal);
    if (state.motionCode != 0) {
        raiseMaximum(maxima[1], static_cast<float>(state.orgFeed) * state.removal * kPerSecond);
        raiseMaximum(maxima[2], static_cast<float>(state.optFeed) * state.removal * kPerSecond);
    }
}

void CutBuilder::add(const CutRecord& state, float dx, float dy, float dz) {
    const float step = StepLength(dx, dy, dz);
    m_totalDistance = addStep(m_totalDistance, step);
    if (state.motionCode != 0)
        m_cutDistance = addStep(m_cutDistance, step);
    store(state, step);
    raiseMaxima(m_data.maxima, state);
}

void CutBuilder::store(const CutRecord& state, float step) {
    if (m_data.records.size() == std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    m_moves.add(state, m_data.records.empty() ? nullptr : &m_data.records.back(), step);
    m_data.records.push_back(state);
    m_data.totalDistance.push_back(m_totalDistance);
    m_data.cutDistance.push_back(m_cutDistance);
    m_data.blockNos.push_back(state.blockNo);
}

CutDataSet CutBuilder::take() {
    m_data.records.shrink_to_fit();
    m_data.totalDistance.shrink_to_fit();
    m_data.cutDistance.shrink_to_fit();
    m_data.blockNos.shrink_to_fit();
    m_data.count = static_cast<std::uint32_t>(m_data.records.size());
    m_data.moves = m_moves.take();
    m_data.index = CutIndex::build(m_data);
    return std::move(m_data);
}
