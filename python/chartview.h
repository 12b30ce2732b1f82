#pragma once

#include "chartstate.h"

#include <optional>
#include <string>
#include <utility>

// The chart's view as the module's functions take it, checked as `curvex` checks its options;
// a wrong value raises ValueError.
using PercentRange = std::optional<std::pair<float, float>>;

// The view of --func, --dist, --range and --g00.
ChartState ChartViewOf(int func, int dist, const PercentRange& range, float g00);
// The compare mode of --compare: none, "rates", "feeds" or "change".
CompareMode CompareModeOf(const std::optional<std::string>& compare);
