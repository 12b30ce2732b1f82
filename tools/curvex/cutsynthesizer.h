#pragma once

#include "cutwriter.h"
#include "synthblock.h"
#include "synthoptions.h"

#include <cstdint>

// Generates plausible monitoring data for a milling program: a G92 preset, several tools, each
// with a G00 approach, G01 plunges and G01/G02/G03 cuts with every removal kind, and a G00
// retract; comment and program lines in between. The same seed gives the same data.
class CutSynthesizer {
public:
    explicit CutSynthesizer(std::uint64_t seed, const SynthOptions& options = {});

    // Writes exactly `blocks` blocks.
    void generate(std::int64_t blocks, CutWriter& writer);

protected:
    std::uint64_t next();
    std::int32_t uniform(std::int32_t low, std::int32_t high); // inclusive

    // The program's opening lines and the start position; its closing lines.
    void begin(std::int64_t blocks, CutWriter& writer);
    void end(CutWriter& writer);
    void changeTool(CutWriter& writer);
    void rapidTo(std::int32_t x, std::int32_t y, std::int32_t z, CutWriter& writer);
    void cut(std::uint8_t motionCode, std::int32_t x, std::int32_t y, std::int32_t z,
             CutWriter& writer);
    // A cutting block with the given removal kind and removal (1/10000 mm3/mm).
    void cutRemoving(std::uint8_t motionCode, std::int32_t x, std::int32_t y, std::int32_t z,
                     std::uint8_t removalKind, std::int32_t removal, CutWriter& writer);
    void writeBlock(CutWriter& writer);
    // The rare cases of the options, each drawn only when it is switched on, so that the plain
    // data stay the same for the same seed.
    bool chance(int perMille);
    void mixIntoCut();
    void mixIntoRapid();
    void mixIntoEmit(CutWriter& writer);
    std::int32_t nextBlockNo();
    bool done() const { return written_ >= blocks_; }
    const SynthBlock& current() const { return current_; }

private:
    std::uint64_t random_;
    std::int64_t blocks_ = 0;
    std::int64_t written_ = 0;
    SynthBlock current_;
    SynthBlock previous_;
    std::int32_t programmedFeed_ = 1000;
    SynthOptions options_;
    std::int32_t toolLeft_ = 0;
};
