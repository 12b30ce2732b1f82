#pragma once

#include "synthblock.h"

#include <string>

// Receives generated monitoring data and writes it in one file format.
class CutWriter {
public:
    virtual ~CutWriter() = default;

    // The position the data starts from (a G92 preset), in micrometres.
    virtual void start(std::int32_t x, std::int32_t y, std::int32_t z) = 0;
    // A G92 preset between blocks, in micrometres; the binary format has none and ignores it.
    virtual void preset(std::int32_t x, std::int32_t y, std::int32_t z) = 0;
    // A program line that carries no data: a comment, an M code.
    virtual void remark(const std::string& line) = 0;
    virtual void toolChange(std::int16_t toolNo) = 0;
    // `previous` is the block before (or the start state) so that a writer can leave out what
    // did not change.
    virtual void block(const SynthBlock& current, const SynthBlock& previous) = 0;

    // The bytes written so far.
    virtual const std::string& contents() const = 0;
};
