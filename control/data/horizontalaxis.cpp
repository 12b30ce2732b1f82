#include "horizontalaxis.h"

#include "series.h"

const float* HorizontalAxis::sortedValues(const CutDataSet& data) const {
    if (times_ != nullptr)
        return times_->seconds();
    if (distanceMode_ == 0)
        return data.totalDistance.data();
    if (distanceMode_ == 1)
        return data.cutDistance.data();
    return nullptr;
}

float HorizontalAxis::valueAt(const CutDataSet& data, std::uint32_t i) const {
    return times_ != nullptr ? (*times_)[i] : horizontalValue(data, i, distanceMode_);
}
