#include "programsyntax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The spans written as "kind:text" with kinds p, c, n, g, a and s.
std::vector<std::string> described(const std::string& line) {
    const char kinds[] = {'p', 'c', 'n', 'g', 'a', 's'};
    std::vector<std::string> parts;
    for (const SyntaxSpan& span : SyntaxSpansOf(line))
        parts.push_back(std::string(1, kinds[static_cast<int>(span.kind)]) + ":" +
                        line.substr(span.start, span.length));
    return parts;
}

struct SyntaxCase {
    std::string line;
    std::vector<std::string> parts;
};

TEST(ProgramSyntax, ColoursCommentsAndWords) {
    const SyntaxCase cases[] = {
        {"", {}},
        {"N10 G01 X-1.5 Y2. F1200",
         {"n:N10", "p: ", "g:G01", "p: ", "a:X-1.5", "p: ", "a:Y2.", "p: ", "s:F1200"}},
        {"n20g2i1j-1r5", {"n:n20", "g:g2", "a:i1", "a:j-1", "a:r5"}},
        {"/N30 M98 P2000", {"p:/", "n:N30", "p: ", "g:M98", "p: P2000"}},
        {"T5 M06 S800", {"s:T5", "p: ", "g:M06", "p: ", "s:S800"}},
        {"(TOOL X1) G00", {"c:(TOOL X1)", "p: ", "g:G00"}},
        {"G00 (OPEN", {"g:G00", "p: ", "c:(OPEN"}},
        {"X1 ; REST (X2)", {"a:X1", "p: ", "c:; REST (X2)"}},
        {"%", {"p:%"}},
        {"O1234", {"p:O1234"}},
        {"GOTO N", {"p:GOTO N"}},
        {"(\x89\xC1\x8D\x48)N5", {"c:(\x89\xC1\x8D\x48)", "n:N5"}},
    };
    for (const SyntaxCase& c : cases)
        EXPECT_EQ(described(c.line), c.parts) << c.line;
}

TEST(ProgramSyntax, EveryAxisLetterWithASignedNumberIsOneAxisWord) {
    const std::string axisLetters = "XYZUVWABCIJKRxyzuvwabcijkr";
    const std::string numbers[] = {"+1.5", "-3", "12.", "0", "-.5"};
    for (const char letter : axisLetters) {
        for (const std::string& number : numbers) {
            const std::string word = std::string(1, letter) + number;
            EXPECT_EQ(described(word), std::vector<std::string>{"a:" + word});
            EXPECT_EQ(described("G01 " + word + " F9"),
                      (std::vector<std::string>{"g:G01", "p: ", "a:" + word, "p: ", "s:F9"}));
        }
    }
}

TEST(ProgramSyntax, OtherLettersAreNotAxisWords) {
    for (const char letter : std::string("DEHLOPQdehlopq")) {
        const std::string word = std::string(1, letter) + "+1.5";
        EXPECT_EQ(described(word), std::vector<std::string>{"p:" + word});
    }
}

} // namespace
