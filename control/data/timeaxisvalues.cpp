#include "timeaxisvalues.h"

#include "machiningtime.h"

#include <cmath>

TimeAxisValues::TimeAxisValues(const CutDataSet& data, curvex::TimeAxisMode mode, double g00Feed)
    : data_(&data), serial_(data.index.serial()), mode_(mode), g00Feed_(g00Feed),
      seconds_(ElapsedSecondsOf(data, mode == curvex::TimeAxisMode::Optimised, g00Feed)) {}

bool TimeAxisValues::builtFor(const CutDataSet& data, curvex::TimeAxisMode mode,
                              double g00Feed) const {
    const bool sameFeed = g00Feed_ == g00Feed || (std::isnan(g00Feed_) && std::isnan(g00Feed));
    return data_ == &data && serial_ == data.index.serial() && mode_ == mode && sameFeed;
}
