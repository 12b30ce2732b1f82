#pragma once

#include "commandarguments.h"
#include "commands.h"

#include <string>
#include <vector>

// The options that say which chart the graph control would draw: --size WxH, --func N,
// --dist N, --range LO HI and --g00 FEED.
struct ViewOptions {
    int width = 1000;
    int height = 600;
    int function = 0;
    int distanceMode = 0;
    float lowerPercent = 0.0f;
    float upperPercent = 100.0f;
    float g00Feed = 5000.0f;
};

// Reads a whole decimal integer.
bool readInteger(const std::string& text, int& value);

// Takes --range LO HI out of the arguments, as it is the one option with two values; the others
// go to `rest`. Prints what is wrong and returns false on wrong usage.
bool takeRangeOption(CommandArguments args, std::vector<char*>& rest, ViewOptions& options);

// Reads --size, --func, --dist and --g00 where given. Prints what is wrong and returns false on
// wrong usage.
bool readViewOptions(const CommandArgumentList& arguments, ViewOptions& options);
