#pragma once

#include <cstdint>

// The rare cases CutSynthesizer mixes into its plausible data, for tests and benchmarks that need
// them; all off by default, which gives the plain data. Shares are in thousandths of the blocks.
struct SynthOptions {
    // > 0: a new tool every 1 to toolRun blocks, drawn from 0 to 5 (so tool 0, and tools that
    // come back); 0: a tool per machined section, as a program changes them.
    int toolRun = 0;
    // Cutting blocks whose removal spikes far above the rest, or falls below zero.
    int spikes = 0;
    // G00 blocks that remove material.
    int rapidRemoval = 0;
    // Blocks whose removal is NaN.
    int nanRemoval = 0;
    // Cutting blocks whose programmed or optimised feed is 0 or below.
    int feedsNotPositive = 0;
    // Blocks that do not move.
    int standingStill = 0;
    // G92 presets between blocks (the text format only: the binary format has none).
    int presets = 0;
    // Block numbers rise and now and then start again lower down, as programs with subprograms
    // number them.
    bool blockNumbersRestart = false;
    // The largest move of a cutting block along X or Y, in micrometres.
    std::int32_t largestMove = 6000;

    // Every rare case at once, as the tests of the chart and the sums use them.
    static SynthOptions mixed() {
        SynthOptions options;
        options.toolRun = 6;
        options.spikes = 30;
        options.rapidRemoval = 100;
        options.nanRemoval = 5;
        options.feedsNotPositive = 60;
        options.standingStill = 40;
        options.presets = 3;
        options.blockNumbersRestart = true;
        return options;
    }
};
