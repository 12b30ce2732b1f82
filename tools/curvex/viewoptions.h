#pragma once

#include "chartstate.h"
#include "commandarguments.h"
#include "commands.h"
#include "timeaxisvalues.h"

#include <memory>
#include <string>

// The options of the chart's view, each command taking those it lists, all read by
// readViewOptions.
inline constexpr CommandOption kSizeOption{"--size", 1};
inline constexpr CommandOption kFuncOption{"--func", 1};
inline constexpr CommandOption kDistOption{"--dist", 1};
inline constexpr CommandOption kTimeOption{"--time", 1};
inline constexpr CommandOption kRangeOption{"--range", 2, "two values, LO and HI"};
inline constexpr CommandOption kG00Option{"--g00", 1};
inline constexpr CommandOption kCompareOption{"--compare", 1};
inline constexpr CommandOption kColourByOption{"--colour-by", 1};
inline constexpr CommandOption kLegendOption{"--legend"};
inline constexpr CommandOption kFitHeightOption{"--fit-height"};

// The chart that the options --size WxH, --func N, --dist N, --range LO HI and --g00 FEED
// describe start from: 1000 x 600 pixels, everything else as a new control's chart.
ChartState defaultViewChart();

// Reads a whole decimal integer.
bool readInteger(const std::string& text, int& value);

// Sets in the chart the view options given: --range LO HI, --size WxH, --func N, --dist N,
// --time programmed|optimised, --g00 FEED, --compare rates|feeds, --colour-by tool, --legend and
// --fit-height, checked in this order. Prints what is wrong and returns false on wrong usage,
// --dist and --time together among it.
bool readViewOptions(const CommandArgumentList& arguments, ChartState& chart);

// The times of the chart's time axis over `data`, which the chart then places its records by;
// nothing without a time axis. They live as long as the pointer returned.
std::unique_ptr<TimeAxisValues> attachTimeAxis(ChartState& chart, const CutDataSet& data);
