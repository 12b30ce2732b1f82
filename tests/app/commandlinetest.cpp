#include "commandline.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* line;
    QStringList words;
};

TEST(SplitCommandLine, SplitsLikeAShellWithoutExpansion) {
    const SplitCase cases[] = {
        {"", {}},
        {"   ", {}},
        {"prog", {"prog"}},
        {"  prog  a\tb  ", {"prog", "a", "b"}},
        {R"("/opt/my app/PWRegOcx" "/opt/my app/Curvex.ocx" 1.33)",
         {"/opt/my app/PWRegOcx", "/opt/my app/Curvex.ocx", "1.33"}},
        {R"("/p/Plotwell" "")", {"/p/Plotwell", ""}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"('it''s' "$HOME" 'a\b')", {"its", "$HOME", R"(a\b)"}},
        {R"("say \"hi\" \\ \x")", {R"(say "hi" \ \x)"}},
        {R"(a\ b \"c)", {"a b", "\"c"}},
        {"a\\\nb", {"ab"}},
        {"*.txt ~ $(ls) ;", {"*.txt", "~", "$(ls)", ";"}},
    };
    for (const SplitCase& c : cases) {
        const auto words = splitCommandLine(QString::fromUtf8(c.line));
        ASSERT_TRUE(words.has_value()) << c.line;
        EXPECT_EQ(*words, c.words) << c.line;
    }
}

TEST(SplitCommandLine, UnterminatedQuotesGiveNothing) {
    for (const char* line : {"\"abc", "prog 'abc", "\"a\\\""})
        EXPECT_FALSE(splitCommandLine(QString::fromUtf8(line)).has_value()) << line;
}

} // namespace
