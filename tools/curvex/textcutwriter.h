#pragma once

#include "cutwriter.h"

// Writes the text format with CR LF line endings.
class TextCutWriter : public CutWriter {
public:
    void start(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void preset(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void remark(const std::string& line) override;
    void toolChange(std::int16_t toolNo) override;
    void block(const SynthBlock& current, const SynthBlock& previous) override;
    const std::string& contents() const override { return text_; }

private:
    void appendInteger(std::int64_t value);
    void appendFixed(std::int32_t value, int decimals);
    void endLine();

    std::string text_;
};
