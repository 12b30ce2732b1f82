#include "elapsedtime.h"

#include "machiningtime.h"

ElapsedTime::ElapsedTime(const CutDataSet& data) : data_(&data), serial_(data.index.serial()) {
    before_.reserve(data.moves.groups.size() + 1);
    MoveSums sums;
    before_.push_back(sums);
    for (const MoveSums& group : data.moves.groups) {
        sums.add(group);
        before_.push_back(sums);
    }
}

ElapsedTime::Seconds ElapsedTime::atEndOf(std::uint32_t i, double g00Feed) const {
    if (data_ == nullptr || i >= data_->count || data_->moves.records != data_->count)
        return {};
    const std::uint32_t group = i / kMoveGroupSize;
    MoveSums sums = group < before_.size() ? before_[group] : before_.back();
    sums.add(SumsOfRecords(*data_, {group * kMoveGroupSize, i + 1}));
    const MachiningTimes times = TimesOf(sums, g00Feed);
    return {times.programmed, times.optimised};
}

bool ElapsedTime::builtFor(const CutDataSet& data) const {
    return data_ == &data && serial_ == data.index.serial();
}
