#pragma once

#include "cutsynthesizer.h"

// Generates monitoring data whose path looks like the machining of a part: a rectangular pocket
// cleared by zig-zag in layers, a contour around the part in steps down, a circular pocket by a
// spiral and a 3D surface finished by zig-zag, each with its own tool and rapid moves between.
// The finer the block count, the finer the steps; the program repeats, a little deeper each time,
// until the blocks are written. The same seed gives the same data.
class PartSynthesizer : private CutSynthesizer {
public:
    explicit PartSynthesizer(std::uint64_t seed) : CutSynthesizer(seed) {}

    void generate(std::int64_t blocks, CutWriter& writer);

private:
    void approach(std::int32_t x, std::int32_t y, std::int32_t z, CutWriter& writer);
    void retract(CutWriter& writer);
    void pocket(std::int64_t budget, std::int32_t depth, CutWriter& writer);
    void contour(std::int64_t budget, std::int32_t depth, CutWriter& writer);
    void spiral(std::int64_t budget, std::int32_t depth, CutWriter& writer);
    void surface(std::int64_t budget, std::int32_t depth, CutWriter& writer);
    std::int32_t jitter(std::int32_t removal);
};
