#pragma once

#include "cutwriter.h"

// Writes the NC program that generated monitoring data comes from: each block as an N word with
// its number, its G code, the axes that move (mm), a radius for arcs and the programmed feed,
// and the program's other lines (comments, M codes, tool calls) as they come, with LF line ends.
class NcProgramWriter : public CutWriter {
public:
    void start(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void preset(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void remark(const std::string& line) override;
    void toolChange(std::int16_t toolNo) override;
    void block(const SynthBlock& current, const SynthBlock& previous) override;
    const std::string& contents() const override { return text_; }

private:
    void appendMillimetres(char letter, std::int64_t micrometres);

    std::string text_;
};
