#include "curvexrun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace {

constexpr const char* kSynthUsage = "usage: curvex synth [--seed N] [--blocks N] [--paths "
                                    "random|part] [--text | --binary] [--nc] -o FILE\n";

const char* const kHeader = "i,toolNo,blockNo,motionCode,x,y,z,orgFeed,removalKind,removal,"
                            "optFeed,totalDistance,cutDistance,series0,series1,series2\n";

// A tool change, a G00 approach, a cut and a G00 move with removal.
const char* const kText =
    "T2\r\nN10)G00X3Y4\r\nN11)G01X3Y4Z-1F600(A0.5)F1200\r\nN12)G00Z10(A0.25)\r\n";

class CurvexTool : public ::testing::Test {
protected:
    void SetUp() override {
        writeBytes(folder.file("k.txt"), kText);
        writeBytes(folder.file("K.TXT"), kText);
        writeBytes(folder.file("k.dat"), kText);
        writeBytes(folder.file("empty.txt"), "");
        writeBytes(folder.file("short.bin"), "0123456789");
        const std::string header("\0\0\x80\x3f\0\0\0\x40\0\0\x40\x40", 12); // 1, 2, 3
        writeBytes(folder.file("h.bin"), header);
        writeBytes(folder.file("cut.dat"), header + std::string("\x40\0\x01\0", 4));
    }
    TempFolder folder;
};

TEST_F(CurvexTool, DumpPrintsEveryRecord) {
    const std::string rows = "0,2,10,0,3,4,0,0,0,0,0,5,0,0,0,0\n"
                             "1,2,11,1,3,4,-1,600,1,0.5,1200,6,1,0.5,5.00000048,10.000001\n";
    struct Case {
        const char* arguments;
        std::string lastRow;
    };
    const Case cases[] = {
        {"dump k.txt", "2,2,12,0,3,4,10,600,1,0.25,1200,17,1,0.25,20.833334,20.833334\n"},
        {"dump K.TXT", "2,2,12,0,3,4,10,600,1,0.25,1200,17,1,0.25,20.833334,20.833334\n"},
        {"dump --text k.dat", "2,2,12,0,3,4,10,600,1,0.25,1200,17,1,0.25,20.833334,20.833334\n"},
        {"dump --g00 6000 k.txt",
         "2,2,12,0,3,4,10,600,1,0.25,1200,17,1,0.25,25.0000019,25.0000019\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, kHeader + rows + c.lastRow) << c.arguments;
        EXPECT_EQ(run.err, "") << c.arguments;
    }
}

// The chosen columns in the order given, under their header names; a column may come twice.
TEST_F(CurvexTool, DumpPrintsTheChosenColumns) {
    struct Case {
        const char* arguments;
        const char* out;
    };
    const Case cases[] = {
        {"dump --columns i k.txt", "i\n0\n1\n2\n"},
        {"dump --columns series2,x,blockNo k.txt",
         "series2,x,blockNo\n0,3,10\n10.000001,3,11\n20.833334,3,12\n"},
        {"dump --g00 6000 --columns series1,i,series1 k.txt",
         "series1,i,series1\n0,0,0\n5.00000048,1,5.00000048\n25.0000019,2,25.0000019\n"},
        {"dump --columns totalDistance,cutDistance,removalKind,removal,motionCode k.txt",
         "totalDistance,cutDistance,removalKind,removal,motionCode\n5,0,0,0,0\n6,1,1,0.5,1\n"
         "17,1,1,0.25,0\n"},
        {"dump --columns optFeed,orgFeed,toolNo,z,y h.bin",
         "optFeed,orgFeed,toolNo,z,y\n0,0,0,3,2\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.arguments;
    }
}

TEST_F(CurvexTool, DumpOfABinaryFile) {
    const CurvexRun run = curvex(folder, "dump h.bin");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kHeader) + "0,0,0,255,1,2,3,0,0,0,0,0,0,0,0,0\n");
}

TEST_F(CurvexTool, InfoPrintsCountDistancesAndMaxima) {
    const CurvexRun run = curvex(folder, "info k.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "records: 3\n"
                       "total distance: 17\n"
                       "cutting distance: 1\n"
                       "max removal: 0.5\n"
                       "max removal rate with programmed feed: 5.00000048\n"
                       "max removal rate with optimised feed: 10.000001\n");
    const CurvexRun empty = curvex(folder, "info --text h.bin");
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(empty.out, "records: 0\n"
                         "total distance: 0\n"
                         "cutting distance: 0\n"
                         "max removal: 0\n"
                         "max removal rate with programmed feed: 0\n"
                         "max removal rate with optimised feed: 0\n");
}

TEST_F(CurvexTool, FilesThatFailToLoad) {
    // A named pipe that nobody writes to: opening it for reading would wait for a writer.
    ASSERT_EQ(::mkfifo(folder.file("pipe.txt").c_str(), 0600), 0);
    struct Case {
        const char* arguments;
        const char* error;
    };
    const Case cases[] = {
        {"dump none.txt", "curvex: cannot load none.txt: cannot open the file: No such file or "
                          "directory\n"},
        {"info empty.txt", "curvex: cannot load empty.txt: the file is empty\n"},
        {"dump short.bin",
         "curvex: cannot load short.bin: the file is shorter than its 12-byte header\n"},
        {"info --binary cut.dat",
         "curvex: cannot load cut.dat: truncated entry at byte offset 14\n"},
        {"info pipe.txt", "curvex: cannot load pipe.txt: not a regular file\n"},
        {"dump --binary /dev/null", "curvex: cannot load /dev/null: not a regular file\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err, c.error) << c.arguments;
    }
}

TEST_F(CurvexTool, WrongUsage) {
    struct Case {
        const char* arguments;
        const char* usage; // the usage line that must end the message
    };
    const Case cases[] = {
        {"", "       curvex --help | --version\n"},
        {"frobnicate k.txt", "       curvex --help | --version\n"},
        {"dump", "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump k.dat",
         "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump txt", "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump .bi", "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump k.txt k.txt",
         "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump --text --binary k.txt",
         "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump --g00 fast k.txt",
         "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump --g00 k.txt",
         "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"dump --verbose k.txt",
         "usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"info --g00 5 k.txt", "usage: curvex info [--text | --binary] FILE\n"},
        {"synth", kSynthUsage},
        {"synth -o out.dat", kSynthUsage},
        {"synth --blocks -5 -o out.txt", kSynthUsage},
        {"synth --paths zigzag -o out.txt", kSynthUsage},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        const std::string usage = c.usage;
        ASSERT_GE(run.err.size(), usage.size()) << c.arguments;
        EXPECT_EQ(run.err.substr(run.err.size() - usage.size()), usage) << c.arguments;
    }
}

// Blocks 1 to 3 share pixel column 154 of a 1000 x 600 chart, 2 and 3 with the largest removal;
// block 4 is alone in column 980.
const char* const kPickText = "N1)G01X10F600(A1)F600\nN2)G01X10.01F600(A3)F600\n"
                              "N3)G01X10.02F600(A3)F600\nN4)G01X100F900(A2)F800\n";

// Block numbers out of the distance order: 30, 10, 20, 40 at distances 10, 20, 30, 100. By block
// number, block 30 lies in column 750 of the 1000 x 600 chart.
const char* const kShuffledText = "N30)G01X10F600(A1)F600\nN10)G01X20F600(A2)F600\n"
                                  "N20)G01X30F600(A3)F600\nN40)G01X100F600(A4)F600\n";

TEST_F(CurvexTool, PickPrintsTheRecordUnderAColumn) {
    writeBytes(folder.file("p.txt"), kPickText);
    writeBytes(folder.file("b.txt"), kShuffledText);
    const std::string second = "1,2,0,1,10.0100002,0,0,600,600,1,3,";
    struct Case {
        const char* arguments;
        std::string line;
    };
    const Case cases[] = {
        {"pick --x 154 p.txt", second + "3\n"},
        {"pick --x 157 p.txt", second + "3\n"},
        {"pick --x 0 p.txt", second + "3\n"},
        {"pick --x 999 p.txt", "3,4,0,1,100,0,0,900,800,1,2,2\n"},
        {"pick --x 980 p.txt", "3,4,0,1,100,0,0,900,800,1,2,2\n"},
        {"pick --func 2 --x 154 p.txt", second + "30.0000038\n"},
        {"pick --dist 2 --x 500 p.txt", second + "3\n"},
        {"pick --text --size 500x300 --x 80 p.txt", second + "3\n"},
        {"pick --range 99 100 --x 900 p.txt", "3,4,0,1,100,0,0,900,800,1,2,2\n"},
        {"pick --dist 2 --x 63 b.txt", "1,10,0,1,20,0,0,600,600,1,2,2\n"},
        {"pick --dist 2 --x 740 b.txt", "0,30,0,1,10,0,0,600,600,1,1,1\n"},
        {"pick --x 63 b.txt", "0,30,0,1,10,0,0,600,600,1,1,1\n"},
        {"pick --x 740 b.txt", "3,40,0,1,100,0,0,600,600,1,4,4\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << run.err;
        EXPECT_EQ(run.out, c.line) << c.arguments;
    }
}

// With --compare change the record is the one the compare charts pick (by the removal per second
// with the optimised feed, as --func 2 picks it) and the value its feed change, worked out here
// from the printed feeds; a G00 move has none.
TEST_F(CurvexTool, PickOfTheFeedChangeGivesTheChangeOfTheComparePick) {
    writeBytes(folder.file("c.txt"), "N1)G01X10F600(A1)F450\nN2)G01X20F800(A3)F1000\n"
                                     "N3)G00X30F800(A9)F1000\nN4)G01X100F900(A2)F300\n"
                                     "N5)G01X110F0(A2)F300\n");
    for (const int column : {0, 150, 300, 420, 700, 999}) {
        const std::string at = " --x " + std::to_string(column) + " c.txt";
        const CurvexRun change = curvex(folder, "pick --compare change" + at);
        const CurvexRun optimised = curvex(folder, "pick --func 2" + at);
        ASSERT_EQ(change.status, 0) << column << change.err;
        std::vector<std::string> fields;
        std::stringstream line(change.out);
        for (std::string field; std::getline(line, field, ',');)
            fields.push_back(field);
        ASSERT_EQ(fields.size(), 12u) << change.out;
        EXPECT_EQ(optimised.out.substr(0, optimised.out.rfind(',')),
                  change.out.substr(0, change.out.rfind(',')))
            << column;
        const double orgFeed = std::stod(fields[7]);
        const double optFeed = std::stod(fields[8]);
        const double value = std::stod(fields[11]);
        if (fields[3] == "0" || orgFeed <= 0.0)
            EXPECT_TRUE(std::isnan(value)) << change.out;
        else
            EXPECT_FLOAT_EQ(value, (optFeed - orgFeed) * 100.0 / orgFeed) << change.out;
    }
    EXPECT_EQ(curvex(folder, "pick --compare faster --x 5 c.txt").status, 2);
}

TEST_F(CurvexTool, PickFailures) {
    writeBytes(folder.file("p.txt"), kPickText);
    writeBytes(folder.file("noblocks.txt"), "%\nO1000\n");
    struct Case {
        const char* arguments;
        int status;
    };
    const Case cases[] = {
        {"pick --range 50 60 --x 500 p.txt", 1},
        {"pick --range 200 300 --x 500 p.txt", 1},
        {"pick --x 500 noblocks.txt", 1},
        {"pick --x 500 empty.txt", 1},
        {"pick p.txt", 2},
        {"pick --x 1.5 p.txt", 2},
        {"pick --x 5 --func 3 p.txt", 2},
        {"pick --x 5 --range 50 p.txt", 2},
        {"pick --x 5 --size 0x10 p.txt", 2},
        {"pick --x 5 k.dat", 2},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_NE(run.err, "") << c.arguments;
    }
}

TEST_F(CurvexTool, HelpDescribesEveryCommand) {
    const CurvexRun run = curvex(folder, "--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* line :
         {"usage: curvex dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE",
          "usage: curvex info [--text | --binary] FILE",
          "usage: curvex synth [--seed N] [--blocks N] [--paths random|part] "
          "[--text | --binary] [--nc] -o FILE",
          "       [--compare rates|feeds|change] [--elapsed] --x PX FILE",
          "       [--compare rates|feeds|change] [--colour-by tool] [--legend] "
          "[--fit-height]",
          "Exit status: 0"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

// --help after a command, among its options or alone, prints that command's usage and help;
// given as the value of an option it is that value.
TEST_F(CurvexTool, HelpAfterACommandDescribesIt) {
    const struct {
        const char* arguments;
        const char* usage;
    } cases[] = {
        {"dump --help", "dump [--text | --binary] [--g00 FEED] [--columns LIST] FILE\n"},
        {"info --help", "info [--text | --binary] FILE\n"},
        {"synth --blocks 10 --help -o", "synth [--seed N]"},
        {"titles --help", "titles INI\n"},
        {"render --size 10x10 --help", "render [--text | --binary] [--size WxH]"},
        {"pick --help --x", "pick [--text | --binary] [--size WxH]"},
        {"stats k.txt --help", "stats [--text | --binary] [--g00 FEED]"},
        {"toolpath --help", "toolpath [--text | --binary] [--view top|front|right|iso]"},
        {"toolpath-pick --help", "toolpath-pick [--text | --binary] [--view V]"},
        {"report --help", "report [--text | --binary] [--func N | --compare rates|feeds|change]"},
        {"peaks --csv --help", "peaks [--text | --binary] [--func N]"},
        {"source --help", "source [--text | --binary] --program PROG --record I FILE\n"},
        {"changes --csv --help", "changes [--text | --binary] [--slower | --faster] [--top K]"},
    };
    for (const auto& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments;
        EXPECT_EQ(run.err, "") << c.arguments;
        EXPECT_EQ(run.out.rfind(std::string("usage: curvex ") + c.usage, 0), 0u)
            << c.arguments << ": " << run.out;
        const char* help = std::string_view(c.arguments).substr(0, 5) == "synth"    ? "Writes"
                           : std::string_view(c.arguments).substr(0, 6) == "titles" ? "Reads"
                                                                                    : "Loads";
        EXPECT_NE(run.out.find(std::string("\n  ") + help), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("{g00}"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("usage: curvex", 1), std::string::npos) << run.out;
    }

    const CurvexRun run = curvex(folder, "dump --g00 --help k.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("curvex: --g00 needs a number, not '--help'\n"), std::string::npos)
        << run.err;
}

// The version is the project's, alone on standard output; any other use of it is wrong usage.
TEST_F(CurvexTool, VersionPrintsTheProjectsVersion) {
    const struct {
        const char* arguments;
        int status;
        std::string out;
    } cases[] = {
        {"--version", 0, "curvex " PLOTWELL_VERSION "\n"},
        {"-version", 2, ""},
        {"info --version", 2, ""},
    };
    for (const auto& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.arguments;
        EXPECT_EQ(run.err.empty(), c.status == 0) << c.arguments << ": " << run.err;
    }
}

TEST_F(CurvexTool, SynthWritesLoadableFiles) {
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 500 -o a.txt").status, 0);
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 500 --binary -o a.data").status, 0);
    EXPECT_EQ(curvex(folder, "info a.txt").out.substr(0, 13), "records: 500\n");
    EXPECT_EQ(curvex(folder, "info --binary a.data").out.substr(0, 13), "records: 501\n");
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 500 --paths random -o r.txt").status, 0);
    EXPECT_EQ(readBytes(folder.file("r.txt")), readBytes(folder.file("a.txt")));
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 500 --paths part -o p.txt").status, 0);
    EXPECT_NE(readBytes(folder.file("p.txt")), readBytes(folder.file("a.txt")));
    const CurvexRun unwritable = curvex(folder, "synth -o no/such/folder.txt");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err,
              "curvex: cannot write no/such/folder.txt: No such file or directory\n");
}

const char* const kStatsHeader =
    "tool,records,cut_mm,rapid_mm,programmed_s,optimised_s,saved_s,saved_percent,"
    "no_feed_programmed,no_feed_optimised,air_mm,air_programmed_s,air_optimised_s\n";

// Air cutting: 5 mm without removal at 600 and 1200 mm/min, 6 mm with removal, 2 mm with a negative
// removal at 300 mm/min and no optimised feed, 1 mm with a removal that is not a number at 600,
// then a G00 move of 3 mm, which never cuts air.
const char* const kAirText = "T3\nN1)G01X3Y4F600(N0)F1200\nN2)G01X3Y10F600(A1)F1200\n"
                             "N3)G01X3Y10Z-2F300(A-1)F0\nN4)G01X3Y10Z-3F600(Anan)F600\n"
                             "N5)G00X0Y10Z-3\n";

// kText moves 5 and 11 mm rapid and cuts 1 mm at 600 (programmed) and 1200 mm/min (optimised).
// o.txt cuts 5 mm at 600 mm/min programmed and no optimised feed.
TEST_F(CurvexTool, StatsPrintsTheTimesAsCsv) {
    writeBytes(folder.file("o.txt"), "T4\nN1)G01X3Y4F600(A1)F0\n");
    writeBytes(folder.file("a.txt"), kAirText);
    struct Case {
        const char* arguments;
        std::string rows;
    };
    const Case cases[] = {
        {"stats --csv k.txt", "2,3,1.000,16.000,0.292,0.242,0.050,17.12,0,0,0.000,0.000,0.000\n"
                              "total,3,1.000,16.000,0.292,0.242,0.050,17.12,0,0,0.000,0.000,"
                              "0.000\n"},
        {"stats --g00 6000 k.txt --csv",
         "2,3,1.000,16.000,0.260,0.210,0.050,19.23,0,0,0.000,0.000,0.000\n"
         "total,3,1.000,16.000,0.260,0.210,0.050,19.23,0,0,0.000,0.000,0.000\n"},
        {"stats --csv --range 30 40 --text k.dat",
         "2,1,1.000,0.000,0.100,0.050,0.050,50.00,0,0,0.000,0.000,0.000\n"
         "total,1,1.000,0.000,0.100,0.050,0.050,50.00,0,0,0.000,0.000,0.000\n"},
        {"stats --csv --range 0 10 k.txt",
         "total,0,0.000,0.000,0.000,0.000,0.000,,0,0,0.000,0.000,0.000\n"},
        {"stats --csv h.bin", "total,1,0.000,0.000,0.000,0.000,0.000,,0,0,0.000,0.000,0.000\n"},
        {"stats --csv o.txt", "4,1,5.000,0.000,0.500,0.000,0.500,100.00,0,1,0.000,0.000,0.000\n"
                              "total,1,5.000,0.000,0.500,0.000,0.500,100.00,0,1,0.000,0.000,"
                              "0.000\n"},
        {"stats --csv a.txt", "3,5,14.000,3.000,1.636,0.686,0.950,58.07,0,1,8.000,1.000,0.350\n"
                              "total,5,14.000,3.000,1.636,0.686,0.950,58.07,0,1,8.000,1.000,"
                              "0.350\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, kStatsHeader + c.rows) << c.arguments;
        EXPECT_EQ(run.err, "") << c.arguments;
    }
}

TEST_F(CurvexTool, StatsTableForPeople) {
    const CurvexRun run = curvex(folder, "stats k.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    EXPECT_EQ(rows[0].substr(0, 4), "tool");
    EXPECT_EQ(rows[2].size(), rows[3].size());
    std::istringstream total(rows[3]);
    std::vector<std::string> fields;
    for (std::string field; total >> field;)
        fields.push_back(field);
    EXPECT_EQ(fields, (std::vector<std::string>{"total", "3", "1.000", "16.000", "0:00:00.3",
                                                "0:00:00.2", "0:00:00.1", "17.1", "0", "0", "0.000",
                                                "0:00:00.0", "0:00:00.0"}));
    EXPECT_NE(rows[0].find("air mm"), std::string::npos) << rows[0];
}

TEST_F(CurvexTool, StatsFailuresAreThoseOfTheOtherCommands) {
    const char* const usage = "usage: curvex stats [--text | --binary] [--g00 FEED] [--range LO "
                              "HI] [--dist N | --time T] "
                              "[--csv] FILE\n";
    struct Case {
        const char* arguments;
        int status;
        std::string error;
    };
    const Case cases[] = {
        {"stats none.txt", 1,
         "curvex: cannot load none.txt: cannot open the file: No such file or directory\n"},
        {"stats --csv --binary cut.dat", 1,
         "curvex: cannot load cut.dat: truncated entry at byte offset 14\n"},
        {"stats", 2, usage},
        {"stats k.dat", 2, usage},
        {"stats --range 10 k.txt", 2, usage},
        {"stats --range 10 x k.txt", 2, usage},
        {"stats --g00 fast k.txt", 2, usage},
        {"stats --verbose k.txt", 2, usage},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        ASSERT_GE(run.err.size(), c.error.size()) << c.arguments;
        EXPECT_EQ(run.err.substr(run.err.size() - c.error.size()), c.error) << c.arguments;
    }
}

// Memory running out and a settings file that cannot be written end a command with status 1
// and the reason, writing nothing.
TEST_F(CurvexTool, FailuresOnTheWayExitWithTheReason) {
    struct Case {
        const char* setUp;
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"ulimit -v 150000", "synth --blocks 10000000 -o x.txt", "curvex: synth: out of memory\n"},
        {"true", "titles missing/Plotwell.ini",
         "curvex: cannot write the settings file missing/Plotwell.ini: No such file or "
         "directory\n"},
        {"true", "render --ini missing/Plotwell.ini -o x.png k.txt",
         "curvex: cannot write the settings file missing/Plotwell.ini: No such file or "
         "directory\n"},
    };
    for (const Case& c : cases) {
#ifdef __SANITIZE_ADDRESS__
        // AddressSanitizer reserves its shadow memory at start, which a limit on the address
        // space refuses before curvex runs at all.
        if (std::string_view(c.setUp).starts_with("ulimit -v"))
            continue;
#endif
        const CurvexRun run = curvex(folder, c.arguments, c.setUp);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err, c.message) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(folder.file("x.txt"))) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(folder.file("x.png"))) << c.arguments;
    }
}

// Timed frames without an output file and without memory for their image end both picture
// commands alike: the reason and status 1, nothing written.
TEST_F(CurvexTool, FramesWithoutMemoryForTheImageFailAlike) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer's shadow memory does not fit the limit";
#endif
    const std::string message = "curvex: not enough memory for a 16384x16384 image\n";
    for (const char* command : {"render", "toolpath"}) {
        const CurvexRun run =
            curvex(folder, std::string(command) + " --size 16384x16384 --frames 1 k.txt",
                   "ulimit -v 400000");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        ASSERT_GE(run.err.size(), message.size()) << command << ": " << run.err;
        EXPECT_EQ(run.err.substr(run.err.size() - message.size()), message) << command;
    }
}

// Values that parse but make no sense are wrong usage too, named in the message; nothing is
// loaded or written.
TEST_F(CurvexTool, OptionValuesThatMakeNoSenseAreWrongUsage) {
    struct Case {
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"stats --range 50 10 k.txt", "curvex: --range needs LO below HI, not '50 10'\n"},
        {"stats --range 10 10 k.txt", "curvex: --range needs LO below HI, not '10 10'\n"},
        {"stats --range nan 10 k.txt", "curvex: --range needs a number, not 'nan'\n"},
        {"stats --range 0 inf k.txt", "curvex: --range needs a number, not 'inf'\n"},
        {"stats --g00 -5 k.txt", "curvex: --g00 needs a feed above 0 mm/min, not '-5'\n"},
        {"stats --g00 0 k.txt", "curvex: --g00 needs a feed above 0 mm/min, not '0'\n"},
        {"stats --g00 -0 k.txt", "curvex: --g00 needs a feed above 0 mm/min, not '-0'\n"},
        {"stats --g00 1e40 k.txt", "curvex: --g00 '1e40' is too large (at most 3.4e38)\n"},
        {"stats --g00 1e308 k.txt", "curvex: --g00 '1e308' is too large (at most 3.4e38)\n"},
        {"stats --range -1e100 0 k.txt",
         "curvex: --range '-1e100' is too large (at most 3.4e38)\n"},
        {"stats --range 0 1e-300 k.txt", "curvex: --range '1e-300' is too small: it rounds to 0\n"},
        {"stats --range -1e-46 0 k.txt", "curvex: --range '-1e-46' is too small: it rounds to 0\n"},
        {"stats --g00 1e-100 k.txt", "curvex: --g00 '1e-100' is too small: it rounds to 0\n"},
        {"render --frames 99999999999 k.txt",
         "curvex: --frames needs a whole number from 1 to 2147483647, not '99999999999'\n"},
        {"toolpath --frames 0 k.txt",
         "curvex: --frames needs a whole number from 1 to 2147483647, not '0'\n"},
        {"peaks --top 4294967296 k.txt",
         "curvex: --top needs a whole number from 0 to 4294967295, not '4294967296'\n"},
        {"peaks --gap 99999999999999999999 k.txt",
         "curvex: --gap needs a whole number from 1 to 4294967295, not '99999999999999999999'\n"},
        {"synth --blocks 100000001 -o x.txt",
         "curvex: --blocks needs a whole number from 0 to 100000000, not '100000001'\n"},
        {"synth --seed 18446744073709551616 -o x.txt",
         "curvex: --seed needs a whole number from 0 to 18446744073709551615, not "
         "'18446744073709551616'\n"},
        {"source --program p.nc --record 99999999999999999999 k.txt",
         "curvex: --record needs a whole number from 0 to 18446744073709551615, not "
         "'99999999999999999999'\n"},
        {"dump --g00 0 k.txt", "curvex: --g00 needs a feed above 0 mm/min, not '0'\n"},
        {"dump --g00 -inf k.txt", "curvex: --g00 needs a number, not '-inf'\n"},
        {"dump --columns x,depth k.txt", "curvex: --columns names no column 'depth'\n"},
        {"dump --columns X k.txt", "curvex: --columns names no column 'X'\n"},
        {"dump --columns x,,y k.txt", "curvex: --columns names no column ''\n"},
        {"dump --columns x, k.txt", "curvex: --columns names no column ''\n"},
        {"dump --columns '' k.txt", "curvex: --columns names no column ''\n"},
        {"render --g00 -5 -o x.png k.txt", "curvex: --g00 needs a feed above 0 mm/min, not '-5'\n"},
        {"render --range 50 10 -o x.png k.txt", "curvex: --range needs LO below HI, not '50 10'\n"},
        {"pick --range 60 50 --x 5 k.txt", "curvex: --range needs LO below HI, not '60 50'\n"},
        {"pick --g00 0 --x 5 k.txt", "curvex: --g00 needs a feed above 0 mm/min, not '0'\n"},
        {"pick --x -5 k.txt", "curvex: --x needs a column from 0 to 999 of the chart, not -5\n"},
        {"pick --x 1000 k.txt",
         "curvex: --x needs a column from 0 to 999 of the chart, not 1000\n"},
        {"pick --size 500x300 --x 500 k.txt",
         "curvex: --x needs a column from 0 to 499 of the chart, not 500\n"},
        {"pick --x 99999999999 k.txt",
         "curvex: --x needs a column from 0 to 999 of the chart, not 99999999999\n"},
        {"pick --x -99999999999999999999 k.txt",
         "curvex: --x needs a column from 0 to 999 of the chart, not -99999999999999999999\n"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), c.message) << c.arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.png")));
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');)
        fields.push_back(field);
    return fields;
}

// The totals of `curvex dump`, summed from the differences of its running distances.
std::vector<double> dumpTotals(const std::string& dump) {
    std::istringstream lines(dump);
    std::string line;
    std::getline(lines, line);
    double previous = 0.0, cut = 0.0, rapid = 0.0, programmed = 0.0, optimised = 0.0;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = csvFields(line);
        const double total = std::stod(f[11]);
        const double length = total - previous;
        previous = total;
        if (std::stoi(f[3]) == 0) {
            rapid += length;
            programmed += 60.0 * length / 5000.0;
            optimised += 60.0 * length / 5000.0;
            continue;
        }
        cut += length;
        programmed += 60.0 * length / std::stod(f[7]);
        optimised += 60.0 * length / std::stod(f[10]);
    }
    return {cut, rapid, programmed, optimised};
}

// The air cutting per tool of `curvex dump` (in the order of first use, then the total): the
// moves that are not G00 and whose removal is 0 or less or not a number, their length from the
// differences of the running distances and their times at either feed (none without a feed).
std::vector<std::pair<std::string, std::vector<double>>> dumpAir(const std::string& dump) {
    std::vector<std::pair<std::string, std::vector<double>>> rows;
    std::vector<double> total(3, 0.0);
    std::istringstream lines(dump);
    std::string line;
    std::getline(lines, line);
    double previous = 0.0;
    const auto timeAt = [](double length, double feed) {
        return feed > 0.0 ? 60.0 * length / feed : 0.0;
    };
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = csvFields(line);
        const double length = std::stod(f[11]) - previous;
        previous = std::stod(f[11]);
        auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == f[1]; });
        if (row == rows.end())
            row = rows.insert(rows.end(), {f[1], std::vector<double>(3, 0.0)});
        const double removal = std::stod(f[9]);
        if (std::stoi(f[3]) == 0 || removal > 0.0 || !(length > 0.0))
            continue;
        const double added[3] = {length, timeAt(length, std::stod(f[7])),
                                 timeAt(length, std::stod(f[10]))};
        for (int k = 0; k < 3; ++k) {
            row->second[static_cast<std::size_t>(k)] += added[k];
            total[static_cast<std::size_t>(k)] += added[k];
        }
    }
    rows.push_back({"total", total});
    return rows;
}

TEST_F(CurvexTool, StatsAirAgreesWithSumsOfTheDump) {
    ASSERT_EQ(curvex(folder, "synth --seed 6 --blocks 20000 -o big.txt").status, 0);
    writeBytes(folder.file("a.txt"), kAirText);
    for (const char* file : {"big.txt", "a.txt"}) {
        const auto expected = dumpAir(curvex(folder, std::string("dump ") + file).out);
        const CurvexRun stats = curvex(folder, std::string("stats --csv ") + file);
        std::istringstream lines(stats.out);
        std::string line;
        std::getline(lines, line);
        std::size_t row = 0;
        double air = 0.0;
        for (; std::getline(lines, line); ++row) {
            const std::vector<std::string> f = csvFields(line);
            ASSERT_EQ(f.size(), 13u) << line;
            ASSERT_LT(row, expected.size()) << line;
            EXPECT_EQ(f[0], expected[row].first) << file;
            for (std::size_t k = 0; k < 3; ++k) {
                const double want = expected[row].second[k];
                EXPECT_NEAR(std::stod(f[10 + k]), want, std::max(0.002, want * 0.0005))
                    << file << " " << line << " column " << 10 + k;
            }
            air += std::stod(f[10]);
        }
        EXPECT_EQ(row, expected.size()) << file;
        EXPECT_GT(air, 0.0) << file << " has air cutting to count";
    }
}

TEST_F(CurvexTool, StatsAgreesWithSumsOfTheDump) {
    ASSERT_EQ(curvex(folder, "synth --seed 5 --blocks 20000 -o big.txt").status, 0);
    const std::vector<double> expected = dumpTotals(curvex(folder, "dump big.txt").out);
    const CurvexRun stats = curvex(folder, "stats --csv big.txt");
    const std::string totalLine = stats.out.substr(stats.out.rfind("total,"));
    const std::vector<std::string> total = csvFields(totalLine);
    ASSERT_EQ(total.size(), 13u) << stats.out;
    EXPECT_EQ(total[1], "20000");
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(std::stod(total[k + 2]), expected[k], expected[k] * 0.0005) << k;
}

// A binary file's entries of tool `tools[k]` moving along X (tool -1: no tool field, the tool
// stays as it was), after the start point at the origin.
std::string binaryMoves(const std::vector<int>& tools) {
    std::string bytes(12, '\0');
    const auto add = [&](std::uint32_t value, int size) {
        for (int b = 0; b < size; ++b)
            bytes += static_cast<char>(value >> (8 * b) & 0xFF);
    };
    float x = 0.0f;
    for (const int tool : tools) {
        add(tool >= 0 ? 0x0049u : 0x0048u, 2);
        if (tool >= 0)
            add(static_cast<std::uint32_t>(tool), 2);
        x += 2.5f;
        std::uint32_t bits = 0;
        std::memcpy(&bits, &x, sizeof bits);
        add(bits, 4);
        add(600, 4);
    }
    return bytes;
}

// The tool rows `stats` should print, by a walk over `dump`'s records: tool and record count in
// order of first use; a binary file's start record gives its tool a row only when another record
// has that tool.
std::vector<std::pair<std::string, int>> rowsOfDump(const std::string& dump, bool binary) {
    std::istringstream lines(dump);
    std::string line;
    std::getline(lines, line);
    std::vector<std::string> tools;
    while (std::getline(lines, line))
        tools.push_back(csvFields(line)[1]);
    std::vector<std::pair<std::string, int>> rows;
    for (const std::string& tool : tools) {
        auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == tool; });
        if (row == rows.end())
            row = rows.insert(rows.end(), {tool, 0});
        ++row->second;
    }
    if (binary && std::count(tools.begin(), tools.end(), tools.front()) == 1)
        rows.erase(rows.begin());
    return rows;
}

std::vector<std::pair<std::string, int>> rowsOfStats(const std::string& csv) {
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    std::vector<std::pair<std::string, int>> rows;
    while (std::getline(lines, line) && line.rfind("total,", 0) != 0) {
        const std::vector<std::string> f = csvFields(line);
        rows.emplace_back(f[0], std::stoi(f[1]));
    }
    return rows;
}

// `stats` gives tool 0 a row for a binary file's start point only when another record has tool 0;
// the start counts in the total all the same. A text's first record is a record like any other.
TEST_F(CurvexTool, StatsGivesTheStartPointsToolARowOnlyWhenAnotherRecordHasIt) {
    writeBytes(folder.file("alone.bin"), binaryMoves({1, 1, 2}));
    writeBytes(folder.file("later.bin"), binaryMoves({1, 0, 2}));
    writeBytes(folder.file("after.bin"), binaryMoves({-1, 3}));
    writeBytes(folder.file("first.txt"), "T0\nN1)G01X0Y0Z0F600\nT1\nN2)G01X5F600\n");
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 3000 --binary -o synth.bin").status, 0);
    const struct {
        const char* file;
        bool binary;
        int records;
    } cases[] = {
        {"alone.bin", true, 4}, {"later.bin", true, 4},  {"after.bin", true, 3},
        {"h.bin", true, 1},     {"first.txt", false, 2}, {"synth.bin", true, 3001},
    };
    for (const auto& c : cases) {
        const CurvexRun dump = curvex(folder, std::string("dump ") + c.file);
        ASSERT_EQ(dump.status, 0) << c.file << ": " << dump.err;
        const CurvexRun stats = curvex(folder, std::string("stats --csv ") + c.file);
        ASSERT_EQ(stats.status, 0) << c.file << ": " << stats.err;
        EXPECT_EQ(rowsOfStats(stats.out), rowsOfDump(dump.out, c.binary)) << c.file;
        const std::string total = stats.out.substr(stats.out.rfind("total,"));
        EXPECT_EQ(csvFields(total)[1], std::to_string(c.records)) << c.file;
    }
}

} // namespace

// The elapsed times of `curvex dump`'s records up to the end of each, summed in double precision
// from the differences of the running distances: G00 moves at `g00Feed`, moves without feed
// count zero.
struct DumpElapsed {
    std::vector<std::vector<std::string>> records;
    std::vector<double> programmed;
    std::vector<double> optimised;
};

DumpElapsed dumpElapsed(const std::string& dump, double g00Feed) {
    DumpElapsed elapsed;
    std::istringstream lines(dump);
    std::string line;
    std::getline(lines, line);
    double previous = 0.0, programmed = 0.0, optimised = 0.0;
    const auto timeAt = [](double length, double feed) {
        return feed > 0.0 ? 60.0 * length / feed : 0.0;
    };
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = csvFields(line);
        const double total = std::stod(f[11]);
        const double length = total - previous;
        previous = total;
        const bool rapid = std::stoi(f[3]) == 0;
        programmed += timeAt(length, rapid ? g00Feed : std::stod(f[7]));
        optimised += timeAt(length, rapid ? g00Feed : std::stod(f[10]));
        elapsed.records.push_back(f);
        elapsed.programmed.push_back(programmed);
        elapsed.optimised.push_back(optimised);
    }
    return elapsed;
}

void expectNear(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::fabs(expected))) << what;
}

// `value` with 9 significant digits, as every number of the pick's line is printed.
std::string nineDigits(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// Moves without programmed or optimised feed, G00 moves and a cut after them.
const char* const kNoFeedText = "N1)G01X10F600(A1)F1200\nN2)G00X40\nN3)G01X40Y20F0(A0.5)F900\n"
                                "N4)G01X40Y20Z-5F300(A1)F0\nN5)G01X43Y24Z-5F450(A2)F500\n";

TEST_F(CurvexTool, PickElapsedAgreesWithSumsOfTheDump) {
    ASSERT_EQ(curvex(folder, "synth --seed 9 --blocks 20000 -o big.txt").status, 0);
    writeBytes(folder.file("nofeed.txt"), kNoFeedText);
    struct Case {
        const char* file;
        const char* options;
        double g00Feed;
        int positionField; // of the dump
    };
    const Case cases[] = {{"big.txt", "", 5000.0, 11},
                          {"big.txt", "--g00 1200 --dist 1", 1200.0, 12},
                          {"big.txt", "--dist 2 --range 20 35", 5000.0, 2},
                          {"nofeed.txt", "--g00 2000", 2000.0, 11}};
    for (const Case& c : cases) {
        const DumpElapsed expected =
            dumpElapsed(curvex(folder, std::string("dump ") + c.file).out, c.g00Feed);
        for (int column = 70; column < 980; column += 53) {
            const std::string arguments =
                std::string("pick ") + c.options + " --x " + std::to_string(column) + " " + c.file;
            const CurvexRun plain = curvex(folder, arguments);
            const CurvexRun run = curvex(folder, "pick --elapsed" + arguments.substr(4));
            ASSERT_EQ(run.status, 0) << arguments << run.err;
            const std::vector<std::string> fields = csvFields(run.out);
            ASSERT_EQ(fields.size(), 15u) << arguments;
            EXPECT_EQ(run.out.substr(0, plain.out.size() - 1) + "\n", plain.out) << arguments;
            const auto index = static_cast<std::size_t>(std::stoul(fields[0]));
            ASSERT_LT(index, expected.records.size()) << arguments;
            const std::string what = arguments + " record " + fields[0];
            EXPECT_EQ(std::stod(fields[12]), std::stod(expected.records[index][c.positionField]))
                << what;
            expectNear(std::stod(fields[13]), expected.programmed[index], what);
            expectNear(std::stod(fields[14]), expected.optimised[index], what);
            for (std::size_t field = 12; field < fields.size(); ++field) {
                const std::string text = fields[field].substr(0, fields[field].find('\n'));
                EXPECT_EQ(text, nineDigits(std::stod(text))) << what << " field " << field;
            }
        }
    }
}

// Every command that takes --dist takes --time, and both together are wrong usage.
TEST_F(CurvexTool, DistAndTimeTogetherAreWrongUsage) {
    const char* const commands[] = {
        "render -o x.png",
        "pick --x 500",
        "peaks",
        "stats --range 0 50",
        "report -o x.pdf",
        "toolpath -o x.png",
        "toolpath-pick --at 400 300",
    };
    for (const char* command : commands) {
        const std::string both = std::string(command) + " --dist 1 --time programmed k.txt";
        const CurvexRun run = curvex(folder, both);
        EXPECT_EQ(run.status, 2) << both;
        EXPECT_EQ(run.out, "") << both;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
                  "curvex: give either --dist or --time, not both\n")
            << both;
        const std::string wrong = std::string(command) + " --time soon k.txt";
        const CurvexRun unknown = curvex(folder, wrong);
        EXPECT_EQ(unknown.status, 2) << wrong;
        EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n') + 1),
                  "curvex: --time needs programmed or optimised, not 'soon'\n")
            << wrong;
        const std::string alone = std::string(command) + " --time optimised k.txt";
        EXPECT_NE(curvex(folder, alone).status, 2) << alone;
    }
}

// On a time axis the picked record's place is its elapsed time, programmed or optimised, as the
// sums of the dump give it.
TEST_F(CurvexTool, PickOnATimeAxisPlacesRecordsAtTheirElapsedTime) {
    ASSERT_EQ(curvex(folder, "synth --seed 9 --blocks 20000 -o big.txt").status, 0);
    const struct {
        const char* options;
        double g00Feed;
        bool optimised;
    } cases[] = {{"--time programmed", 5000.0, false},
                 {"--time optimised --g00 1200 --range 30 45", 1200.0, true}};
    for (const auto& c : cases) {
        const DumpElapsed expected = dumpElapsed(curvex(folder, "dump big.txt").out, c.g00Feed);
        for (int column = 70; column < 980; column += 71) {
            const std::string arguments = std::string("pick --elapsed ") + c.options + " --x " +
                                          std::to_string(column) + " big.txt";
            const CurvexRun run = curvex(folder, arguments);
            ASSERT_EQ(run.status, 0) << arguments << run.err;
            const std::vector<std::string> fields = csvFields(run.out);
            ASSERT_EQ(fields.size(), 15u) << arguments;
            const auto index = static_cast<std::size_t>(std::stoul(fields[0]));
            ASSERT_LT(index, expected.records.size()) << arguments;
            const double elapsed =
                c.optimised ? expected.optimised[index] : expected.programmed[index];
            EXPECT_NEAR(std::stod(fields[12]), elapsed, 1e-6 * std::max(1.0, elapsed)) << arguments;
        }
    }
}
