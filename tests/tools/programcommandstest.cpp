#include "curvexrun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Blocks 10 to 100 at X 1 to 9 and then 100 mm, so that half the distance and half the block
// numbers show different records; the removal peaks at records 1, 4 and 8.
const char* const kData = "T1\nN10)G01X1F600(A1)F600\nN20)G01X2F600(A9)F600\n"
                          "N30)G01X3F600(A2)F600\nN40)G01X4F600(A3)F600\n"
                          "N50)G01X5F600(A8)F600\nN60)G01X6F60(A1)F600\n"
                          "N70)G01X7F600(A4)F600\nN80)G01X8F6000(A2)F600\n"
                          "N90)G01X9F600(A7)F6\nN100)G01X100F600(A0)F600\n";

class ProgramCommands : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(folder.file("d.txt"), kData); }
    TempFolder folder;
};

std::vector<std::string> column(const std::string& csv, std::size_t field) {
    std::vector<std::string> values;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line); // header
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string value;
        for (std::size_t k = 0; k <= field; ++k)
            std::getline(fields, value, ',');
        values.push_back(value);
    }
    return values;
}

TEST_F(ProgramCommands, PeaksListWhatTheChartShows) {
    struct Case {
        const char* options;
        std::vector<std::string> indexes;
    };
    const Case cases[] = {
        {"", {"1"}},
        {"--gap 1", {"1", "4", "8", "6", "3", "2", "7", "0", "5", "9"}},
        {"--gap 2", {"1", "4", "8", "6"}},
        {"--gap 3 --top 2", {"1", "4"}},
        {"--top 0 --gap 1", {}},
        {"--range 50 100 --gap 1", {"9"}},
        {"--range 0 5 --gap 1", {"1", "4", "3", "2", "0"}},
        {"--dist 2 --range 0 50 --gap 1", {"1", "4", "3", "2", "0"}},
        {"--dist 2 --range 55 100 --gap 1", {"8", "6", "7", "5", "9"}},
        {"--range 200 300 --gap 1", {}},
        {"--func 1 --gap 1", {"7", "1", "4", "8", "6", "3", "2", "0", "5", "9"}},
        {"--func 2 --top 3 --gap 1", {"1", "4", "6"}},
        {"--compare rates --top 3 --gap 1", {"1", "4", "6"}},
        {"--compare rates --func 1 --top 3 --gap 1", {"1", "4", "6"}},
        {"--compare feeds --gap 1", {"0", "1", "2", "3", "4", "5", "6", "7", "9", "8"}},
        {"--compare feeds --func 1 --top 2 --gap 1", {"0", "1"}},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, std::string("peaks --csv ") + c.options + " d.txt");
        EXPECT_EQ(run.status, 0) << c.options << ": " << run.err;
        EXPECT_EQ(column(run.out, 1), c.indexes) << c.options;
    }
}

TEST_F(ProgramCommands, PeaksPrintEachPeaksRecord) {
    const CurvexRun csv = curvex(folder, "peaks --csv --top 2 --gap 2 d.txt");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, "rank,index,blockNo,toolNo,value,orgFeed,optFeed,removal,x,y,z,position\n"
                       "1,1,20,1,9,600,600,9,2,0,0,2\n"
                       "2,4,50,1,8,600,600,8,5,0,0,5\n");
    // The position is that of the horizontal axis asked for: block numbers.
    const CurvexRun blocks = curvex(folder, "peaks --csv --dist 2 --top 1 d.txt");
    EXPECT_EQ(column(blocks.out, 11), std::vector<std::string>{"20"});
    const CurvexRun table = curvex(folder, "peaks --top 1 d.txt");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out.substr(0, 4), "rank");
    EXPECT_NE(table.out.find("\n   1          1         20     1"), std::string::npos) << table.out;
}

// Tool 1 has records 0 to 4 (removal 1 9 2 3 8), tool 2 records 5 to 9 (1 4 2 7 0), tool 1
// again record 10 (6): the tools in the order of first use, ranks within each tool, the gap
// counted only between peaks of one tool.
TEST_F(ProgramCommands, PeaksPerToolListTheHighestOfEachTool) {
    writeBytes(folder.file("t.txt"),
               "T1\nN10)G01X1F600(A1)F600\nN20)G01X2F600(A9)F600\nN30)G01X3F600(A2)F600\n"
               "N40)G01X4F600(A3)F600\nN50)G01X5F600(A8)F600\nT2\nN60)G01X6F600(A1)F600\n"
               "N70)G01X7F600(A4)F600\nN80)G01X8F600(A2)F600\nN90)G01X9F600(A7)F600\n"
               "N100)G01X10F600(A0)F600\nT1\nN110)G01X11F600(A6)F600\n");
    struct Case {
        const char* options;
        std::vector<std::string> ranks;
        std::vector<std::string> indexes;
    };
    const Case cases[] = {
        {"--per-tool 2 --gap 1", {"1", "2", "1", "2"}, {"1", "4", "8", "6"}},
        {"--per-tool 2 --gap 3", {"1", "2", "1", "2"}, {"1", "4", "8", "5"}},
        {"--per-tool 3 --gap 3", {"1", "2", "3", "1", "2"}, {"1", "4", "10", "8", "5"}},
        {"--per-tool 1", {"1", "1"}, {"1", "8"}},
        {"--top 3 --gap 1", {"1", "2", "3"}, {"1", "4", "8"}},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, std::string("peaks --csv ") + c.options + " t.txt");
        EXPECT_EQ(run.status, 0) << c.options << ": " << run.err;
        EXPECT_EQ(column(run.out, 0), c.ranks) << c.options;
        EXPECT_EQ(column(run.out, 1), c.indexes) << c.options;
    }
    const CurvexRun table = curvex(folder, "peaks --per-tool 1 t.txt");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("\n   1          8         90     2"), std::string::npos) << table.out;
}

TEST_F(ProgramCommands, StatsCountTheRangeOfTheHorizontalAxis) {
    struct Case {
        const char* options;
        const char* records;
    };
    const Case cases[] = {
        {"--range 0 50", "total,9,"},
        {"--dist 0 --range 0 50", "total,9,"},
        {"--dist 2 --range 0 50", "total,5,"},
        {"--dist 1 --range 0 5", "total,5,"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, std::string("stats --csv ") + c.options + " d.txt");
        EXPECT_EQ(run.status, 0) << c.options << ": " << run.err;
        EXPECT_NE(run.out.find(c.records), std::string::npos) << c.options << ": " << run.out;
    }
}

// The program has a header, a comment, a block-skip line, lowercase n, CR LF line ends and a
// comment in CP932; blocks 50 and 60 come from a subprogram called twice.
const char* const kProgram = "%\r\nO0001\r\n(\x89\xC1\x8D\x48)\r\nN10 G00 X1\r\n/N20 G01 X2\r\n"
                             "n30 x3\r\nN40 M98 P2\r\nN70 M98 P2\r\nN80 X8\r\nN90 X9\r\nM30\r\n"
                             "O0002\r\nN50 X5\r\nN60 X6 M99\r\n";

TEST_F(ProgramCommands, SourcePrintsTheLineOfARecord) {
    writeBytes(folder.file("p.nc"), kProgram);
    writeBytes(folder.file("plain.nc"), "G00 X1\nG01 X2\n");
    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"--program p.nc --record 0 d.txt", 0, "4,N10 G00 X1\n", ""},
        {"--program p.nc --record 1 d.txt", 0, "5,/N20 G01 X2\n", ""},
        {"--program p.nc --record 2 d.txt", 0, "6,n30 x3\n", ""},
        {"--program p.nc --record 4 d.txt", 0, "13,N50 X5\n", ""},
        {"--program p.nc --record 6 d.txt", 0, "8,N70 M98 P2\n", ""},
        {"--text --record 8 --program p.nc d.txt", 0, "10,N90 X9\n", ""},
        {"--program p.nc --record 9 d.txt", 1, "", "curvex: record 9 has no line in the program\n"},
        {"--program p.nc --record 10 d.txt", 1, "", "curvex: record 10 is beyond the 10 records\n"},
        {"--program plain.nc --record 0 d.txt", 1, "",
         "curvex: no N words: lines matched by block number\n"
         "curvex: record 0 has no line in the program\n"},
        {"--program none.nc --record 0 d.txt", 1, "",
         "curvex: cannot read none.nc: No such file or directory\n"},
        {"--program p.nc --record 0 none.txt", 1, "",
         "curvex: cannot load none.txt: cannot open the file: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, std::string("source ") + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
    }
}

// A program that is no regular file, or larger than the memory left, is not read: the reason
// as the data loads give it, exit status 1.
TEST_F(ProgramCommands, AProgramThatCannotBeReadSaysWhy) {
    ASSERT_EQ(::mkfifo(folder.file("pipe.nc").c_str(), 0600), 0);
    writeBytes(folder.file("big.nc"), "N10 G00 X1\n");
    std::filesystem::resize_file(folder.file("big.nc"), std::uintmax_t{8} << 40);
    struct Case {
        const char* arguments;
        const char* err;
    };
    const Case cases[] = {
        {"source --program pipe.nc --record 0 d.txt",
         "curvex: cannot read pipe.nc: not a regular file\n"},
        {"source --program /dev/zero --record 0 d.txt",
         "curvex: cannot read /dev/zero: not a regular file\n"},
        {"source --program big.nc --record 0 d.txt", "curvex: cannot read big.nc: out of memory\n"},
        {"report --program big.nc -o r.pdf d.txt", "curvex: cannot read big.nc: out of memory\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments, "ulimit -v 4000000");
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("r.pdf")));
}

// Without N words, block number b is line b, and standard error says so; a program where some
// lines have N words is matched by them, without a note.
TEST_F(ProgramCommands, SourceOfAProgramWithoutBlockNumbers) {
    std::string program;
    for (int line = 1; line <= 100; ++line)
        program += "G01 X" + std::to_string(line) + "\n";
    writeBytes(folder.file("plain.nc"), program);
    writeBytes(folder.file("some.nc"), program + "N30 G01 X300\n");
    struct Case {
        const char* program;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"plain.nc", "30,G01 X30\n", "curvex: no N words: lines matched by block number\n"},
        {"some.nc", "101,N30 G01 X300\n", ""},
    };
    for (const Case& c : cases) {
        const CurvexRun run =
            curvex(folder, std::string("source --program ") + c.program + " --record 2 d.txt");
        EXPECT_EQ(run.status, 0) << c.program << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.program;
        EXPECT_EQ(run.err, c.err) << c.program;
    }
}

TEST_F(ProgramCommands, WrongUsage) {
    const char* const cases[] = {
        "peaks --top x d.txt",
        "peaks --top -1 d.txt",
        "peaks --gap 0 d.txt",
        "peaks --gap 4294967296 d.txt",
        "peaks --func 3 d.txt",
        "peaks --range 5 1 d.txt",
        "peaks --compare speeds d.txt",
        "peaks d.txt d.txt",
        "peaks --x 3 d.txt",
        "peaks --per-tool 0 d.txt",
        "peaks --per-tool 2 --top 3 d.txt",
        "source --record 1 d.txt",
        "source --program p.nc d.txt",
        "source --program p.nc --record x d.txt",
        "stats --dist 3 d.txt",
    };
    for (const char* arguments : cases) {
        const CurvexRun run = curvex(folder, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage: curvex"), std::string::npos) << arguments << run.err;
    }
}

// --nc adds the program beside the data; the data stays the same to the byte.
TEST_F(ProgramCommands, SynthWritesTheProgramBesideTheData) {
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 500 -o plain.txt").status, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.file("plain.nc")));
    struct Case {
        const char* arguments;
        const char* data;
        const char* program;
    };
    const Case cases[] = {
        {"synth --seed 3 --blocks 500 --nc -o a.txt", "a.txt", "a.nc"},
        {"synth --nc --seed 3 --blocks 500 --text -o b.part.txt", "b.part.txt", "b.part.nc"},
        {"synth --seed 3 --blocks 500 --nc --binary -o c.bin", "c.bin", "c.nc"},
        {"synth --seed 3 --blocks 500 --nc --text -o d", "d", "d.nc"},
        // The ending is the file name's, never a folder's.
        {"synth --seed 3 --blocks 500 --nc --text -o in.d/g.txt", "in.d/g.txt", "in.d/g.nc"},
        {"synth --seed 3 --blocks 500 --nc --text -o in.d/h", "in.d/h", "in.d/h.nc"},
        {"synth --seed 3 --blocks 500 --nc --text -o in.d/.txt", "in.d/.txt", "in.d/.txt.nc"},
    };
    std::filesystem::create_directory(folder.file("in.d"));
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << ": " << run.err;
        const std::string program = readBytes(folder.file(c.program));
        EXPECT_EQ(program.substr(0, 2), "%\n") << c.arguments;
        EXPECT_NE(program.find("\nN500 G"), std::string::npos) << c.arguments;
    }
    EXPECT_EQ(readBytes(folder.file("a.txt")), readBytes(folder.file("plain.txt")));
    const CurvexRun source = curvex(folder, "source --program a.nc --record 499 a.txt");
    EXPECT_EQ(source.status, 0) << source.err;
    EXPECT_EQ(source.out.substr(source.out.find(',') + 1, 6), "N500 G") << source.out;
    // Both outputs are checked before either is written.
    std::filesystem::create_directory(folder.file("e.nc"));
    const CurvexRun unwritable = curvex(folder, "synth --nc -o e.txt");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, "curvex: cannot write e.nc: Is a directory\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("e.txt")));
    // Outputs that exist are written again, and success says nothing.
    for (int round = 0; round < 2; ++round) {
        const CurvexRun again = curvex(folder, "synth --nc -o f.txt");
        EXPECT_EQ(again.status, 0) << round;
        EXPECT_EQ(again.err, "") << round;
    }
}

// The part sample and its program are what the command in the README writes, to the byte, and
// every record of the sample has its line in the program.
TEST_F(ProgramCommands, ThePartSampleShipsWithItsProgram) {
    const CurvexRun run = curvex(folder, "synth --paths part --blocks 20000 --nc -o PARTDATA.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* file : {"PARTDATA.txt", "PARTDATA.nc"}) {
        const std::string shipped = readBytes(std::string("samples/") + file);
        EXPECT_FALSE(shipped.empty()) << file;
        EXPECT_TRUE(readBytes(folder.file(file)) == shipped) << file << " differs from samples/";
    }
    for (const char* record : {"0", "12345", "19999"}) {
        const CurvexRun line =
            curvex(folder, std::string("source --program PARTDATA.nc --record ") + record +
                               " PARTDATA.txt");
        EXPECT_EQ(line.status, 0) << record << ": " << line.err;
        EXPECT_EQ(line.err, "") << record;
    }
}

} // namespace
