#pragma once

#include "chartstate.h"
#include "cutdataset.h"
#include "peakfinder.h"

#include <cstdint>
#include <vector>

inline constexpr std::uint32_t kDefaultPeakCount = 20;
inline constexpr std::uint32_t kDefaultPeakGap = 100; // records between two peaks

// The highest peaks of what the chart `view` shows: its plotted series with its G00 feed (of a
// compare chart the optimised series: the removal per second with the optimised feed, or the
// optimised feed over the records that are no G00 move), over the records it draws for its
// horizontal quantity and shown range. The feed-change chart's peaks are the records of the
// largest absolute change, each with its signed change.
std::vector<Peak> ShownPeaks(const CutDataSet& data, const ChartState& view,
                             std::uint32_t top = kDefaultPeakCount,
                             std::uint32_t gap = kDefaultPeakGap);
// The same series' `perTool` highest peaks of each tool (PeakFinder::findPerTool).
std::vector<Peak> ShownToolPeaks(const CutDataSet& data, const ChartState& view,
                                 std::uint32_t perTool, std::uint32_t gap = kDefaultPeakGap);
