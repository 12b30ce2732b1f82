#include "programtext.h"

#include "../../platform/addressspacelimit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// The lines of `bytes` split by hand, the last one without a line end counted too.
std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (const char c : bytes) {
        if (c != '\n') {
            current += c;
            continue;
        }
        if (!current.empty() && current.back() == '\r')
            current.pop_back();
        lines.push_back(current);
        current.clear();
    }
    if (!current.empty()) {
        if (current.back() == '\r')
            current.pop_back();
        lines.push_back(current);
    }
    return lines;
}

void expectLines(const ProgramText& text, const std::vector<std::string>& expected,
                 const std::string& name) {
    ASSERT_EQ(text.lineCount(), expected.size()) << name;
    for (std::size_t n = 1; n <= expected.size(); ++n)
        EXPECT_EQ(text.line(n), expected[n - 1]) << name << " line " << n;
    EXPECT_EQ(text.line(0), "") << name;
    EXPECT_EQ(text.line(expected.size() + 1), "") << name;
}

struct TextCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(ProgramText, SplitsLinesAtTheirEnds) {
    const TextCase cases[] = {
        {"empty", "", {}},
        {"one line end", "\n", {""}},
        {"no last line end", "N1\nN2", {"N1", "N2"}},
        {"last line end", "N1\nN2\n", {"N1", "N2"}},
        {"CR LF", "N1\r\nN2\r\n", {"N1", "N2"}},
        {"lone CR stays", "N1\rN2\n", {"N1\rN2"}},
        {"blank lines", "\n\nN3\n\n", {"", "", "N3", ""}},
        {"CP932 bytes", "(\x89\xC1\x8D\x48)\nN2\n", {"(\x89\xC1\x8D\x48)", "N2"}},
        {"zero byte", std::string("N1\0X\nN2", 7), {std::string("N1\0X", 4), "N2"}},
    };
    for (const TextCase& c : cases)
        expectLines(ProgramText::of(c.bytes), c.lines, c.name);
}

// Large texts are indexed in two halves; the lines must come out the same wherever the halves
// meet, also when the middle falls on a line end or inside a CR LF.
TEST(ProgramText, LargeTextGivesTheSameLinesAsASplitByHand) {
    std::mt19937 random(7);
    std::string bytes;
    while (bytes.size() < (std::size_t{40} << 20)) {
        const auto length = random() % 90;
        bytes.append("N" + std::to_string(random() % 100000));
        bytes.append(length, 'X');
        bytes.append(random() % 4 == 0 ? "\r\n" : "\n");
    }
    const std::vector<std::string> lines = splitLines(bytes);
    const ProgramText text = ProgramText::of(bytes);
    ASSERT_EQ(text.lineCount(), lines.size());
    for (std::size_t n = 1; n <= lines.size(); ++n)
        ASSERT_EQ(text.line(n), lines[n - 1]) << "line " << n;
}

// The second half of a large text starts at its middle byte, which may itself be a line end: a
// first line of every length up to 20 puts each byte of a line there once.
TEST(ProgramText, LineEndAtTheMiddleOfALargeTextCounts) {
    std::string lines;
    while (lines.size() < (std::size_t{33} << 20))
        lines += "N12345678\n";
    for (std::size_t prefix = 0; prefix <= 20; ++prefix) {
        const std::string bytes = std::string(prefix, '(') + "\n" + lines;
        const auto ends = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        const ProgramText text = ProgramText::of(bytes);
        ASSERT_EQ(text.lineCount(), ends) << "first line of " << prefix;
        EXPECT_EQ(text.line(ends), "N12345678") << "first line of " << prefix;
    }
}

TEST(ProgramText, ReadsAFileAsItsBytes) {
    const auto path = std::filesystem::temp_directory_path() / "programtexttest.nc";
    const std::string bytes = "%\nO0001\nN10 G00 X0\r\n(\x83\x65\x83\x58\x83\x67)\nN20";
    std::ofstream(path, std::ios::binary) << bytes;
    ProgramText text;
    int error = 0;
    ASSERT_TRUE(ProgramText::read(path.string(), text, error));
    expectLines(text, splitLines(bytes), "file");
    EXPECT_EQ(text.bytes(), bytes.size());
    std::filesystem::remove(path);
}

TEST(ProgramText, FileThatCannotBeReadLeavesTheTextAsItWas) {
    ProgramText text = ProgramText::of("N1\nN2\n");
    const auto fifo = std::filesystem::temp_directory_path() / "programtexttest.fifo";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto huge = std::filesystem::temp_directory_path() / "programtexttest-huge.nc";
    std::ofstream(huge, std::ios::binary) << "N1\n";
    std::filesystem::resize_file(huge, std::uintmax_t{8} << 40);
    struct Case {
        std::string path;
        int error;
        std::string reason;
    };
    const Case cases[] = {
        {"/nonexistent/program.nc", ENOENT, "No such file or directory"},
        {std::filesystem::temp_directory_path().string(), ProgramText::kNotRegular,
         "not a regular file"},
        {"/dev/zero", ProgramText::kNotRegular, "not a regular file"},
        {fifo.string(), ProgramText::kNotRegular, "not a regular file"},
        {huge.string(), ENOMEM, "out of memory"},
    };
    for (const Case& c : cases) {
        const AddressSpaceLimit limit(std::size_t{1} << 30);
        int error = 0;
        EXPECT_FALSE(ProgramText::read(c.path, text, error)) << c.path;
        EXPECT_EQ(error, c.error) << c.path;
        EXPECT_EQ(ProgramText::reasonOf(error), c.reason) << c.path;
        expectLines(text, {"N1", "N2"}, c.path);
    }
    std::filesystem::remove(fifo);
    std::filesystem::remove(huge);
}

} // namespace
