#include "blocknumber.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct LineCase {
    std::string line;
    std::optional<std::uint32_t> expected;
};

TEST(BlockNumber, IsTheNWordAtTheStartOfTheLine) {
    const LineCase cases[] = {
        {"N10 G01 X1.", 10},
        {"N10G01X1.", 10},
        {"n20 g00 z5.", 20},
        {"N0010 G01", 10},
        {"N0", 0},
        {"N000", 0},
        {"   N30 X1", 30},
        {"\tN31", 31},
        {"/N40 M01", 40},
        {"/  N41", 41},
        {"  / \tn42", 42},
        {"N4294967295", 4294967295u},
        {"N4294967296", std::nullopt},
        {"N99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"N", std::nullopt},
        {"N X1", std::nullopt},
        {"N-5", std::nullopt},
        {"G01 N10", std::nullopt},
        {"(N10 COMMENT)", std::nullopt},
        {"; N10", std::nullopt},
        {"//N10", std::nullopt},
        {"/", std::nullopt},
        {"O1234", std::nullopt},
        {"%", std::nullopt},
        {"M N5", std::nullopt},
        {"\x83N12", std::nullopt}, // a CP932 character whose second byte is "N"
        {"N12\x83\x65", 12},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(BlockNumberOf(c.line), c.expected) << '"' << c.line << '"';
}

// A line is a view into the program's text: the digits of the next line are not its own.
TEST(BlockNumber, EndsWhereTheLineEnds) {
    const std::string_view text = "N\nN5\n/N\n7";
    EXPECT_EQ(BlockNumberOf(text.substr(0, 1)), std::nullopt);
    EXPECT_EQ(BlockNumberOf(text.substr(2, 2)), 5u);
    EXPECT_EQ(BlockNumberOf(text.substr(5, 2)), std::nullopt);
    const std::string_view glued = "N57";
    EXPECT_EQ(BlockNumberOf(glued.substr(0, 1)), std::nullopt);
    EXPECT_EQ(BlockNumberOf(glued.substr(0, 2)), 5u);
}

} // namespace
