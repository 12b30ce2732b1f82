// The reading of a command's arguments against the options it declares.
#include "commandargumentlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

const CommandOption kOptions[] = {
    {"--title", 1}, {"--range", 2, "two values, LO and HI"}, {"--legend"}, {"--csv"}, {"-o", 1},
};

struct Reading {
    std::optional<CommandArgumentList> arguments;
    std::string err;
};

Reading readArguments(const std::vector<std::string>& words) {
    std::vector<std::string> copies = words;
    std::vector<char*> args;
    for (std::string& word : copies)
        args.push_back(word.data());
    testing::internal::CaptureStderr();
    Reading reading;
    reading.arguments = parseCommandArguments(CommandArguments(args.data(), args.size()), kOptions);
    reading.err = testing::internal::GetCapturedStderr();
    return reading;
}

using Options = std::map<std::string, std::vector<std::string>>;
using Words = std::vector<std::string>;

TEST(CommandArgumentList, ValuesAreTakenInOrderWhateverTheyLookLike) {
    struct Case {
        Words words;
        Options options;
        Words operands;
    };
    const Case cases[] = {
        {{"--title", "--legend", "f"}, {{"--title", {"--legend"}}}, {"f"}},
        {{"--title", "--text"}, {{"--title", {"--text"}}}, {}},
        {{"--title", "--help"}, {{"--title", {"--help"}}}, {}},
        {{"--title", "--bogus"}, {{"--title", {"--bogus"}}}, {}},
        {{"--title", "-o", "-o", "--title"}, {{"--title", {"-o"}}, {"-o", {"--title"}}}, {}},
        {{"--range", "-5", "--csv", "f"}, {{"--range", {"-5", "--csv"}}}, {"f"}},
        {{"--range", "--range", "--range"}, {{"--range", {"--range", "--range"}}}, {}},
        {{"--legend", "--csv", "-"}, {{"--legend", {}}, {"--csv", {}}}, {"-"}},
        {{"a", "--title", "", "b"}, {{"--title", {""}}}, {"a", "b"}},
        {{"--title", "a", "--title", "b"}, {{"--title", {"b"}}}, {}},
        {{"--range", "1", "2", "--range", "3", "4"}, {{"--range", {"3", "4"}}}, {}},
        {{"--legend", "--legend"}, {{"--legend", {}}}, {}},
    };
    for (const Case& c : cases) {
        const Reading reading = readArguments(c.words);
        ASSERT_TRUE(reading.arguments) << c.words.front() << ": " << reading.err;
        EXPECT_EQ(reading.arguments->options, c.options) << c.words.front();
        EXPECT_EQ(reading.arguments->operands, c.operands) << c.words.front();
        EXPECT_FALSE(reading.arguments->format) << c.words.front();
        EXPECT_FALSE(reading.arguments->help) << c.words.front();
        EXPECT_EQ(reading.err, "") << c.words.front();
    }
}

TEST(CommandArgumentList, WrongUsageSaysWhatIsWrong) {
    const struct {
        Words words;
        const char* err;
    } cases[] = {
        {{"--title"}, "curvex: --title needs a value\n"},
        {{"f", "-o"}, "curvex: -o needs a value\n"},
        {{"--range"}, "curvex: --range needs two values, LO and HI\n"},
        {{"--range", "1"}, "curvex: --range needs two values, LO and HI\n"},
        {{"--bogus", "f"}, "curvex: unknown option '--bogus'\n"},
        {{"f", "-5"}, "curvex: unknown option '-5'\n"},
        {{"--Legend"}, "curvex: unknown option '--Legend'\n"},
        {{"--legen"}, "curvex: unknown option '--legen'\n"},
        {{"--bogus", "--title"}, "curvex: unknown option '--bogus'\n"},
        {{"--title", "x", "--range", "1"}, "curvex: --range needs two values, LO and HI\n"},
        {{"--text", "--binary"}, "curvex: --text and --binary exclude each other\n"},
        {{"--binary", "f", "--text"}, "curvex: --text and --binary exclude each other\n"},
        {{"--bogus", "--help"}, "curvex: unknown option '--bogus'\n"},
    };
    for (const auto& c : cases) {
        const Reading reading = readArguments(c.words);
        EXPECT_FALSE(reading.arguments) << c.words.front();
        EXPECT_EQ(reading.err, c.err) << c.words.front();
    }
}

TEST(CommandArgumentList, FormatFlagsAndHelp) {
    const struct {
        Words words;
        std::optional<CutFormat> format;
        bool help;
    } cases[] = {
        {{"f"}, std::nullopt, false},
        {{"--text", "f"}, CutFormat::Text, false},
        {{"f", "--binary"}, CutFormat::Binary, false},
        {{"--text", "--text"}, CutFormat::Text, false},
        {{"--help"}, std::nullopt, true},
        {{"--legend", "--help", "--bogus", "--title"}, std::nullopt, true},
        {{"--binary", "--help", "--text"}, CutFormat::Binary, true},
    };
    for (const auto& c : cases) {
        const Reading reading = readArguments(c.words);
        ASSERT_TRUE(reading.arguments) << c.words.front() << ": " << reading.err;
        EXPECT_EQ(reading.arguments->format, c.format) << c.words.front();
        EXPECT_EQ(reading.arguments->help, c.help) << c.words.front();
    }
}

// Every order of the same options and operands reads the same.
TEST(CommandArgumentList, TheOrderOfOptionsDoesNotMatter) {
    std::vector<Words> groups = {
        {"--csv"},    {"--range", "10", "50"}, {"--title", "--legend"}, {"--text"}, {"file"},
        {"-o", "out"}};
    std::sort(groups.begin(), groups.end());
    const Options options = {
        {"--csv", {}}, {"--range", {"10", "50"}}, {"--title", {"--legend"}}, {"-o", {"out"}}};
    int orders = 0;
    do {
        Words words;
        for (const Words& group : groups)
            words.insert(words.end(), group.begin(), group.end());
        const Reading reading = readArguments(words);
        ASSERT_TRUE(reading.arguments) << reading.err;
        EXPECT_EQ(reading.arguments->options, options);
        EXPECT_EQ(reading.arguments->operands, Words{"file"});
        EXPECT_EQ(reading.arguments->format, CutFormat::Text);
        ++orders;
    } while (std::next_permutation(groups.begin(), groups.end()));
    EXPECT_EQ(orders, 720);
}

TEST(CommandArgumentList, ValueAndHasAnswerForTheGivenOptions) {
    const Reading reading = readArguments({"--range", "1", "2", "--csv", "--title", "t"});
    ASSERT_TRUE(reading.arguments);
    const CommandArgumentList& arguments = *reading.arguments;
    EXPECT_TRUE(arguments.has("--csv"));
    EXPECT_TRUE(arguments.has("--range"));
    EXPECT_FALSE(arguments.has("--legend"));
    EXPECT_FALSE(arguments.has("-o"));
    ASSERT_NE(arguments.value("--title"), nullptr);
    EXPECT_EQ(*arguments.value("--title"), "t");
    ASSERT_NE(arguments.value("--range"), nullptr);
    EXPECT_EQ(*arguments.value("--range"), "1");
    EXPECT_EQ(arguments.value("--csv"), nullptr);
    EXPECT_EQ(arguments.value("-o"), nullptr);
}

} // namespace
