#include "textcutwriter.h"

#include <charconv>
#include <cstdlib>

void TextCutWriter::start(std::int32_t x, std::int32_t y, std::int32_t z) {
    m_text += "G92X";
    appendFixed(x, 3);
    m_text += 'Y';
    appendFixed(y, 3);
    m_text += 'Z';
    appendFixed(z, 3);
    endLine();
}

void TextCutWriter::preset(std::int32_t x, std::int32_t y, std::int32_t z) {
    start(x, y, z);
}

void TextCutWriter::remark(const std::string& line) {
    m_text += line;
    endLine();
}

void TextCutWriter::toolChange(std::int16_t toolNo) {
    m_text += 'T';
    appendInteger(toolNo);
    endLine();
}

// N120(B119)G01X-2.449Y-0.046Z49.949F1200(V0.2346)F1017; rapid moves give only the axes that
// move and no feeds.
void TextCutWriter::block(const SynthBlock& current, const SynthBlock& previous) {
    static constexpr char kKindLetters[] = {'N', 'A', 'V', 'U', 'D'};
    const bool rapid = current.motionCode == 0;
    m_text += 'N';
    appendInteger(current.blockNo);
    m_text += "(B";
    appendInteger(current.blockNo - 1);
    m_text += ")G";
    if (current.motionCode < 10)
        m_text += '0';
    appendInteger(current.motionCode);
    const std::int32_t SynthBlock::*axes[] = {&SynthBlock::x, &SynthBlock::y, &SynthBlock::z};
    const char letters[] = {'X', 'Y', 'Z'};
    for (int axis = 0; axis < 3; ++axis) {
        if (!rapid || current.*axes[axis] != previous.*axes[axis]) {
            m_text += letters[axis];
            appendFixed(current.*axes[axis], 3);
        }
    }
    if (!rapid) {
        m_text += 'F';
        appendInteger(current.orgFeed);
    }
    m_text += '(';
    m_text += kKindLetters[current.removalKind];
    if (current.removalKind != 0 && current.removalNaN)
        m_text += "nan";
    else if (current.removalKind != 0)
        appendFixed(current.removal, 4);
    m_text += ')';
    if (!rapid) {
        m_text += 'F';
        appendInteger(current.optFeed);
    }
    endLine();
}

void TextCutWriter::appendInteger(std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_text.append(digits, result.ptr);
}

// `value` scaled by 10^decimals, written with exactly that many decimals.
void TextCutWriter::appendFixed(std::int32_t value, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const std::int64_t magnitude = std::llabs(value);
    if (value < 0)
        m_text += '-';
    appendInteger(magnitude / scale);
    m_text += '.';
    char fraction[16];
    std::int64_t rest = magnitude % scale;
    for (int i = decimals - 1; i >= 0; --i, rest /= 10)
        fraction[i] = static_cast<char>('0' + rest % 10);
    m_text.append(fraction, static_cast<std::size_t>(decimals));
}

void TextCutWriter::endLine() {
    m_text += "\r\n";
}
