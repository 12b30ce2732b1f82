#include "textcutwriter.h"

#include <charconv>
#include <cstdlib>

void TextCutWriter::start(std::int32_t x, std::int32_t y, std::int32_t z) {
    text_ += "G92X";
    appendFixed(x, 3);
    text_ += 'Y';
    appendFixed(y, 3);
    text_ += 'Z';
    appendFixed(z, 3);
    endLine();
}

void TextCutWriter::preset(std::int32_t x, std::int32_t y, std::int32_t z) {
    start(x, y, z);
}

void TextCutWriter::remark(const std::string& line) {
    text_ += line;
    endLine();
}

void TextCutWriter::toolChange(std::int16_t toolNo) {
    text_ += 'T';
    appendInteger(toolNo);
    endLine();
}

// N120(B119)G01X-2.449Y-0.046Z49.949F1200(V0.2346)F1017; rapid moves give only the axes that
// move and no feeds.
void TextCutWriter::block(const SynthBlock& current, const SynthBlock& previous) {
    static constexpr char kKindLetters[] = {'N', 'A', 'V', 'U', 'D'};
    const bool rapid = current.motionCode == 0;
    text_ += 'N';
    appendInteger(current.blockNo);
    text_ += "(B";
    appendInteger(current.blockNo - 1);
    text_ += ")G";
    if (current.motionCode < 10)
        text_ += '0';
    appendInteger(current.motionCode);
    const std::int32_t SynthBlock::*axes[] = {&SynthBlock::x, &SynthBlock::y, &SynthBlock::z};
    const char letters[] = {'X', 'Y', 'Z'};
    for (int axis = 0; axis < 3; ++axis) {
        if (!rapid || current.*axes[axis] != previous.*axes[axis]) {
            text_ += letters[axis];
            appendFixed(current.*axes[axis], 3);
        }
    }
    if (!rapid) {
        text_ += 'F';
        appendInteger(current.orgFeed);
    }
    text_ += '(';
    text_ += kKindLetters[current.removalKind];
    if (current.removalKind != 0 && current.removalNaN)
        text_ += "nan";
    else if (current.removalKind != 0)
        appendFixed(current.removal, 4);
    text_ += ')';
    if (!rapid) {
        text_ += 'F';
        appendInteger(current.optFeed);
    }
    endLine();
}

void TextCutWriter::appendInteger(std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, result.ptr);
}

// `value` scaled by 10^decimals, written with exactly that many decimals.
void TextCutWriter::appendFixed(std::int32_t value, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const std::int64_t magnitude = std::llabs(value);
    if (value < 0)
        text_ += '-';
    appendInteger(magnitude / scale);
    text_ += '.';
    char fraction[16];
    std::int64_t rest = magnitude % scale;
    for (int i = decimals - 1; i >= 0; --i, rest /= 10)
        fraction[i] = static_cast<char>('0' + rest % 10);
    text_.append(fraction, static_cast<std::size_t>(decimals));
}

void TextCutWriter::endLine() {
    text_ += "\r\n";
}
