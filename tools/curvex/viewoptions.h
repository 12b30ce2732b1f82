#pragma once

#include "chartstate.h"
#include "commandarguments.h"
#include "commands.h"

#include <string>
#include <vector>

// The chart that the options --size WxH, --func N, --dist N, --range LO HI and --g00 FEED
// describe start from: 1000 x 600 pixels, everything else as a new control's chart.
ChartState defaultViewChart();

// Reads a whole decimal integer.
bool readInteger(const std::string& text, int& value);

// Takes --range LO HI out of the arguments, as it is the one option with two values; the others
// go to `rest`. Prints what is wrong and returns false on wrong usage.
bool takeRangeOption(CommandArguments args, std::vector<char*>& rest, ChartState& chart);

// Takes the switches --legend and --fit-height out of `args` and sets them in the chart.
void takeViewSwitches(std::vector<char*>& args, ChartState& chart);

// Takes every `flag`, an option without a value, out of `args`; true when there was one.
bool takeFlag(std::vector<char*>& args, const std::string& flag);

// Reads --size, --func, --dist, --g00, --compare rates|feeds and --colour-by tool where given.
// Prints what is wrong and returns false on wrong usage.
bool readViewOptions(const CommandArgumentList& arguments, ChartState& chart);
