#include "ncprogramwriter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

void NcProgramWriter::appendMillimetres(char letter, std::int64_t micrometres) {
    char text[40];
    std::snprintf(text, sizeof text, " %c%s%lld.%03lld", letter, micrometres < 0 ? "-" : "",
                  std::llabs(micrometres) / 1000, std::llabs(micrometres) % 1000);
    text_ += text;
}

void NcProgramWriter::start(std::int32_t x, std::int32_t y, std::int32_t z) {
    text_ += "G92";
    appendMillimetres('X', x);
    appendMillimetres('Y', y);
    appendMillimetres('Z', z);
    text_ += '\n';
}

void NcProgramWriter::preset(std::int32_t x, std::int32_t y, std::int32_t z) {
    start(x, y, z);
}

void NcProgramWriter::remark(const std::string& line) {
    text_ += line;
    text_ += '\n';
}

void NcProgramWriter::toolChange(std::int16_t toolNo) {
    text_ += 'T' + std::to_string(toolNo) + '\n';
}

// N120 G02 Y-0.046 Z49.949 R3.500 F1200; an arc's radius is a little over half its
// chord, so that it meets both ends.
void NcProgramWriter::block(const SynthBlock& current, const SynthBlock& previous) {
    char head[32];
    std::snprintf(head, sizeof head, "N%d G%02u", current.blockNo, current.motionCode);
    text_ += head;
    const std::int32_t SynthBlock::*axes[] = {&SynthBlock::x, &SynthBlock::y, &SynthBlock::z};
    const char letters[] = {'X', 'Y', 'Z'};
    for (int axis = 0; axis < 3; ++axis) {
        if (current.*axes[axis] != previous.*axes[axis])
            appendMillimetres(letters[axis], current.*axes[axis]);
    }
    if (current.motionCode == 2 || current.motionCode == 3) {
        const double chord = std::hypot(static_cast<double>(current.x) - previous.x,
                                        static_cast<double>(current.y) - previous.y);
        appendMillimetres('R', std::llround(chord / 2) + 500);
    }
    if (current.motionCode != 0 && current.orgFeed != previous.orgFeed)
        text_ += " F" + std::to_string(current.orgFeed);
    text_ += '\n';
}
