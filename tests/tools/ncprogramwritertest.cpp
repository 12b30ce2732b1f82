#include "ncprogramwriter.h"
#include "binarycutwriter.h"
#include "cutloader.h"
#include "cutsynthesizer.h"
#include "recordlines.h"
#include "synthtesting.h"
#include "textcutwriter.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace {

// Every record of generated data comes from the program line of its block: its N word with the
// record's number and G code, and the axes that moved.
TEST(NcProgramWriter, EveryRecordHasTheLineOfItsBlock) {
    for (const bool text : {true, false}) {
        const CutDataSet data = load(
            text ? generate<TextCutWriter>(9, 4000) : generate<BinaryCutWriter>(9, 4000), text);
        const ProgramText program = ProgramText::of(generate<NcProgramWriter>(9, 4000));
        const RecordLines lines(program, std::span(data.blockNos.data(), data.count));
        // The binary format starts with the preset position, a record of block 0.
        const std::uint32_t first = text ? 0 : 1;
        EXPECT_EQ(lines.lineOf(0) == 0, !text);
        for (std::uint32_t i = first; i < data.count; ++i) {
            const CutRecord& r = data.records[i];
            const std::string line(program.line(lines.lineOf(i)));
            char head[32];
            std::snprintf(head, sizeof head, "N%d G%02u", r.blockNo, r.motionCode);
            ASSERT_EQ(line.substr(0, line.find(' ', line.find(' ') + 1)), head)
                << "record " << i << ": " << line;
            if (i > first && r.x != data.records[i - 1].x) {
                char x[32];
                std::snprintf(x, sizeof x, " X%.3f", static_cast<double>(r.x));
                EXPECT_NE(line.find(x), std::string::npos) << "record " << i << ": " << line;
            }
        }
    }
}

} // namespace
