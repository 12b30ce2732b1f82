#include "cutbuilder.h"

#include "cutsums.h"

#include <limits>
#include <new>

CutBuilder::CutBuilder(std::size_t expectedRecords) {
    ReserveCutData(data_, expectedRecords);
}

void CutBuilder::addStart(const CutRecord& state) {
    startPoint_ = startPoint_ || data_.records.empty();
    store(state, 0.0f);
}

void CutBuilder::add(const CutRecord& state, float dx, float dy, float dz) {
    const float step = StepLength(dx, dy, dz);
    totalDistance_ = cutsums::addStep(totalDistance_, step);
    if (state.motionCode != 0)
        cutDistance_ = cutsums::addStep(cutDistance_, step);
    store(state, step);
    cutsums::raiseMaxima(data_.maxima, state);
}

void CutBuilder::preset(const CutRecord& state) {
    addPreset(presets_,
              {static_cast<std::uint32_t>(data_.records.size()), state.x, state.y, state.z});
}

void CutBuilder::store(const CutRecord& state, float step) {
    if (data_.records.size() == std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    moves_.add(state, data_.records.empty() ? nullptr : &data_.records.back(), step);
    data_.records.push_back(state);
    data_.totalDistance.push_back(static_cast<float>(totalDistance_));
    data_.cutDistance.push_back(static_cast<float>(cutDistance_));
    data_.blockNos.push_back(state.blockNo);
}

CutDataSet CutBuilder::take() {
    data_.records.shrink_to_fit();
    data_.totalDistance.shrink_to_fit();
    data_.cutDistance.shrink_to_fit();
    data_.blockNos.shrink_to_fit();
    data_.count = static_cast<std::uint32_t>(data_.records.size());
    data_.moves = moves_.take();
    data_.moves.presets = std::move(presets_);
    data_.moves.startPoint = startPoint_;
    data_.index = CutIndex::build(data_);
    return std::move(data_);
}
