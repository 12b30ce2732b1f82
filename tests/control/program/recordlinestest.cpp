#include "recordlines.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

struct MapCase {
    const char* name;
    std::string program;
    std::vector<std::int32_t> blockNos;
    std::vector<std::uint32_t> lines; // expected per record, 0 for none
};

std::vector<std::uint32_t> linesOf(const RecordLines& map) {
    std::vector<std::uint32_t> lines;
    for (std::uint32_t i = 0; i < map.recordCount(); ++i)
        lines.push_back(map.lineOf(i));
    return lines;
}

TEST(RecordLines, MapsEachRecordToTheNextLineOfItsBlockNumber) {
    const MapCase cases[] = {
        {"N words in order", "%\nO1\nN1 G00\nN2 G01\nN3 G01\nM30\n", {1, 2, 3}, {3, 4, 5}},
        {"a record repeated", "N1\nN2\n", {1, 1, 2, 2}, {1, 1, 2, 2}},
        {"blank and comment lines", "\n(SETUP)\n; N9 NOT HERE\nN1 X1\n\nN2 X2\n", {1, 2}, {4, 6}},
        {"block-skip lines", "N1\n/N2 M01\n / n3\nN4\n", {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"lowercase n and leading zeros", "n0010 x1\nN0020\nn30\n", {10, 20, 30}, {1, 2, 3}},
        // The subprogram after M30 numbers its blocks from 1 again: its records find its lines
        // after the call. Back in the main program, N3 finds the subprogram's N3 where the search
        // stands, and N4 wraps around to the main program's line.
        {"repeated N words as in subprogram calls",
         "O1\nN1 G00\nN2 M98 P2\nN3 G01\nN4 M30\nO2\nN1 G01\nN2 G01\nN3 M99\n",
         {1, 2, 1, 2, 3, 3, 4, 1, 2, 3},
         {2, 3, 7, 8, 9, 9, 5, 7, 8, 9}},
        {"a subprogram called twice",
         "N10 M98 P2\nN20 M98 P2\nN30 M30\nN1 X1\nN2 M99\n",
         {10, 1, 2, 20, 1, 2, 30},
         {1, 4, 5, 2, 4, 5, 3}},
        {"block numbers that no line has", "N1\nN2\nN3\n", {1, 7, 2, -1, 3}, {1, 0, 2, 0, 3}},
        {"a missing number leaves the search where it was", "N5\nN1\nN5\n", {1, 9, 5}, {2, 0, 3}},
        {"a search wraps to line 1 once", "N1\nN2\nN1\n", {2, 1, 2, 1}, {2, 3, 2, 3}},
        {"without N words block number b is line b",
         "G00 X1\nG01 X2\n(C)\nM30\n",
         {1, 4, 5, 0, -3, 2},
         {1, 4, 0, 0, 0, 2}},
        {"an empty program", "", {1, 2}, {0, 0}},
        {"block numbers as unsigned values", "N4294967295\nN1\n", {-1, 1}, {1, 2}},
    };
    for (const MapCase& c : cases) {
        const RecordLines map(ProgramText::of(c.program), c.blockNos);
        EXPECT_EQ(linesOf(map), c.lines) << c.name;
    }
}

// The rule as it reads, a line at a time, on the block numbers of the lines (-1 for none).
std::vector<std::uint32_t> mapByTheRule(const std::vector<std::int64_t>& lineNumbers,
                                        const std::vector<std::int32_t>& blockNos) {
    std::vector<std::uint32_t> result;
    std::size_t from = 1;
    for (const std::int32_t b : blockNos) {
        const auto number = static_cast<std::int64_t>(static_cast<std::uint32_t>(b));
        std::uint32_t found = 0;
        for (std::size_t line = from; line <= lineNumbers.size() && !found; ++line)
            found = lineNumbers[line - 1] == number ? static_cast<std::uint32_t>(line) : 0;
        for (std::size_t line = 1; line < from && !found; ++line)
            found = lineNumbers[line - 1] == number ? static_cast<std::uint32_t>(line) : 0;
        if (found)
            from = found;
        result.push_back(found);
    }
    return result;
}

// Programs of numbered, unnumbered, skipped, blank and comment lines with numbers that repeat,
// and records that walk through them with jumps back and numbers that no line has.
TEST(RecordLines, GeneratedProgramsFollowTheRule) {
    std::mt19937 random(29);
    for (int round = 0; round < 200; ++round) {
        const int lines = 1 + static_cast<int>(random() % 80);
        const auto numbers = static_cast<std::int64_t>(1 + random() % 30);
        std::string program;
        std::vector<std::int64_t> lineNumbers;
        for (int line = 0; line < lines; ++line) {
            const auto number = static_cast<std::int64_t>(random() % numbers);
            switch (random() % 6) {
            case 0:
                program += "G01 X1\n";
                lineNumbers.push_back(-1);
                break;
            case 1:
                program += (random() % 2 ? "\n" : "(N" + std::to_string(number) + ")\n");
                lineNumbers.push_back(-1);
                break;
            case 2:
                program += " / n00" + std::to_string(number) + " M01\n";
                lineNumbers.push_back(number);
                break;
            default:
                program += "N" + std::to_string(number) + " G01\n";
                lineNumbers.push_back(number);
            }
        }
        std::vector<std::int32_t> blockNos;
        for (int record = static_cast<int>(random() % 100); record > 0; --record)
            blockNos.push_back(static_cast<std::int32_t>(random() % (numbers + 2)));
        const RecordLines map(ProgramText::of(program), blockNos);
        ASSERT_EQ(linesOf(map), mapByTheRule(lineNumbers, blockNos)) << program;
    }
}

TEST(RecordLines, ListsTheRecordsOfEachLine) {
    const std::string program = "N10 M98 P2\nN20 M98 P2\nN30 M30\nN1 X1\nN2 M99\n";
    const RecordLines map(ProgramText::of(program),
                          std::vector<std::int32_t>{10, 1, 2, 20, 1, 2, 30, 99});
    const std::vector<std::vector<std::uint32_t>> expected = {{},     {0},    {3}, {6},
                                                              {1, 4}, {2, 5}, {}};
    for (std::uint32_t line = 0; line < expected.size(); ++line) {
        const auto records = map.recordsOn(line);
        EXPECT_EQ(std::vector<std::uint32_t>(records.begin(), records.end()), expected[line])
            << "line " << line;
    }
    EXPECT_EQ(map.lineOf(7), 0u);
    EXPECT_EQ(map.lineOf(8), 0u) << "beyond the records";
}

struct MarkCase {
    std::uint32_t line;
    std::optional<std::uint32_t> marked;
    std::optional<std::uint32_t> expected;
};

TEST(RecordLines, ClickOnALineMarksItsFirstRecordFromTheMarkedOne) {
    const std::string program = "N10 M98 P2\nN1 X1\nN2 M99\nN3\n";
    // Records 1, 3 and 5 come from line 2.
    const RecordLines map(ProgramText::of(program),
                          std::vector<std::int32_t>{10, 1, 2, 1, 2, 1, 2});
    const MarkCase cases[] = {
        {2, std::nullopt, 1u}, {2, 0u, 1u}, {2, 1u, 1u},           {2, 2u, 3u},
        {2, 5u, 5u},           {2, 6u, 1u}, {4, 0u, std::nullopt}, {9, 0u, std::nullopt},
    };
    for (const MarkCase& c : cases)
        EXPECT_EQ(map.recordToMark(c.line, c.marked), c.expected)
            << "line " << c.line << " marked " << c.marked.value_or(99);
}

} // namespace
