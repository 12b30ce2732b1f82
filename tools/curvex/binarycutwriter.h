#pragma once

#include "cutwriter.h"

// Writes the binary format: the start position, then one entry per block with the fields that
// changed. Remarks have no place in it and are dropped; a tool change travels with the next
// block.
class BinaryCutWriter : public CutWriter {
public:
    void start(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void preset(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void remark(const std::string& line) override;
    void toolChange(std::int16_t toolNo) override;
    void block(const SynthBlock& current, const SynthBlock& previous) override;
    const std::string& contents() const override { return bytes_; }

private:
    template <typename T> void append(T value);
    void appendMicrometres(std::int32_t value);

    std::string bytes_;
};
