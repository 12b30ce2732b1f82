#include "curvexrun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// `curvex changes` against change runs found here, record by record, in the columns of
// `curvex dump`.

namespace {

const char* const kHeader = "rank,kind,first,last,firstBlock,lastBlock,toolNo,length_mm,"
                            "programmed_s,optimised_s,difference_s";

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

// Text data with tool changes, G00 moves, equal and zero feeds, moves of no length and many runs
// of equal cost: every move goes along X by whole millimetres, so the dump's running distances
// are exact.
std::string randomData(unsigned seed, int blocks) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const int feeds[] = {0, 500, 1000, 1000, 2000};
    std::string text = "T1\n";
    int x = 0;
    for (int n = 1; n <= blocks; ++n) {
        if (pick(30) == 0)
            text += "T" + std::to_string(1 + pick(3)) + "\n";
        x += pick(5) == 0 ? 0 : 1 + pick(2);
        const int orgFeed = feeds[pick(5)];
        const int optFeed = pick(3) == 0 ? orgFeed : feeds[pick(5)];
        text += "N" + std::to_string(10 * n) + ")G0" + (pick(8) == 0 ? "0" : "1") + "X" +
                std::to_string(x) + "F" + std::to_string(orgFeed) + "(A1)F" +
                std::to_string(optFeed) + "\n";
    }
    return text;
}

struct ChangeRow {
    std::string kind;
    long first = 0, last = 0;
    std::string firstBlock, lastBlock, tool;
    double length = 0.0, programmed = 0.0, optimised = 0.0;
};

// The change runs in the dump's columns (motionCode 3, toolNo 1, blockNo 2, orgFeed 7, optFeed
// 10, totalDistance 11), each kind most time lost or saved first, the earlier first among equals.
std::vector<ChangeRow> runsOfDump(const std::string& dump, const std::string& kind) {
    std::vector<ChangeRow> runs;
    const std::vector<std::string> lines = splitOn(dump, '\n');
    double previous = 0.0;
    std::string previousSign, previousTool;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::vector<std::string> f = splitOn(lines[n], ',');
        const double length = std::stod(f[11]) - previous;
        previous = std::stod(f[11]);
        const int orgFeed = std::stoi(f[7]);
        const int optFeed = std::stoi(f[10]);
        std::string sign;
        if (std::stoi(f[3]) != 0 && orgFeed > 0 && optFeed > 0 && orgFeed != optFeed)
            sign = optFeed < orgFeed ? "slower" : "faster";
        const bool starts = !sign.empty() && (sign != previousSign || f[1] != previousTool);
        previousSign = sign;
        previousTool = f[1];
        if (starts)
            runs.push_back({sign, std::stol(f[0]), 0, f[2], "", f[1]});
        if (sign.empty())
            continue;
        ChangeRow& run = runs.back();
        run.last = std::stol(f[0]);
        run.lastBlock = f[2];
        run.length += length;
        run.programmed += 60.0 * length / orgFeed;
        run.optimised += 60.0 * length / optFeed;
    }
    std::vector<ChangeRow> ofKind;
    std::copy_if(runs.begin(), runs.end(), std::back_inserter(ofKind),
                 [&](const ChangeRow& run) { return run.kind == kind; });
    std::stable_sort(ofKind.begin(), ofKind.end(), [&](const ChangeRow& a, const ChangeRow& b) {
        const double costA = a.optimised - a.programmed;
        const double costB = b.optimised - b.programmed;
        return kind == "slower" ? costA > costB : costA < costB;
    });
    return ofKind;
}

void expectRow(const std::string& line, std::size_t rank, const ChangeRow& run,
               const std::string& what) {
    const std::vector<std::string> f = splitOn(line, ',');
    ASSERT_GE(f.size(), 11u) << line;
    EXPECT_EQ(f[0], std::to_string(rank)) << what;
    EXPECT_EQ(f[1], run.kind) << what;
    EXPECT_EQ(f[2], std::to_string(run.first)) << what << " " << line;
    EXPECT_EQ(f[3], std::to_string(run.last)) << what << " " << line;
    EXPECT_EQ(f[4], run.firstBlock) << what;
    EXPECT_EQ(f[5], run.lastBlock) << what;
    EXPECT_EQ(f[6], run.tool) << what;
    EXPECT_NEAR(std::stod(f[7]), run.length, 0.0006) << what;
    EXPECT_NEAR(std::stod(f[8]), run.programmed, 2e-6) << what;
    EXPECT_NEAR(std::stod(f[9]), run.optimised, 2e-6) << what;
    EXPECT_NEAR(std::stod(f[10]), run.optimised - run.programmed, 2e-6) << what;
}

class ChangesCommand : public ::testing::Test {
protected:
    void SetUp() override {
        writeBytes(folder.file("r.txt"), randomData(3, 4000));
        dump = curvex(folder, "dump r.txt").out;
    }
    TempFolder folder;
    std::string dump;
};

} // namespace

TEST_F(ChangesCommand, CsvRowsAreTheLargestRunsOfARecordByRecordWalk) {
    struct Case {
        const char* options;
        std::vector<std::string> kinds;
        std::size_t top;
    };
    const Case cases[] = {
        {"--csv", {"slower", "faster"}, 20},
        {"--csv --slower --top 7", {"slower"}, 7},
        {"--faster --top 300 --csv", {"faster"}, 300},
        {"--csv --top 0", {"slower", "faster"}, 0},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, std::string("changes ") + c.options + " r.txt");
        ASSERT_EQ(run.status, 0) << c.options << ": " << run.err;
        EXPECT_EQ(run.err, "");
        const std::vector<std::string> lines = splitOn(run.out, '\n');
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], kHeader);
        std::size_t at = 1;
        for (const std::string& kind : c.kinds) {
            const std::vector<ChangeRow> expected = runsOfDump(dump, kind);
            const std::size_t count = std::min(c.top, expected.size());
            ASSERT_LE(at + count, lines.size()) << c.options;
            for (std::size_t k = 0; k < count; ++k)
                expectRow(lines[at + k], k + 1, expected[k], std::string(c.options) + " " + kind);
            at += count;
        }
        EXPECT_EQ(at, lines.size()) << c.options << " prints no more rows";
    }
}

// --program adds the line of each run's first record, the one `curvex source` prints.
TEST_F(ChangesCommand, ProgramLinesAreThoseOfTheRunsFirstRecords) {
    ASSERT_EQ(curvex(folder, "synth --seed 12 --blocks 3000 --nc -o s.txt").status, 0);
    const CurvexRun run = curvex(folder, "changes --csv --top 5 --program s.nc s.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = splitOn(run.out, '\n');
    ASSERT_GE(lines.size(), 6u) << run.out;
    EXPECT_EQ(lines[0], std::string(kHeader) + ",line");
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::vector<std::string> f = splitOn(lines[n], ',');
        ASSERT_EQ(f.size(), 12u) << lines[n];
        const CurvexRun source =
            curvex(folder, "source --program s.nc --record " + f[2] + " s.txt");
        ASSERT_EQ(source.status, 0) << source.err;
        EXPECT_EQ(f[11], source.out.substr(0, source.out.find(','))) << lines[n];
    }
}

TEST_F(ChangesCommand, TableListsTheSameRuns) {
    const CurvexRun csv = curvex(folder, "changes --csv --top 3 r.txt");
    const CurvexRun table = curvex(folder, "changes --top 3 r.txt");
    ASSERT_EQ(table.status, 0) << table.err;
    const std::vector<std::string> csvLines = splitOn(csv.out, '\n');
    const std::vector<std::string> tableLines = splitOn(table.out, '\n');
    ASSERT_EQ(tableLines.size(), csvLines.size());
    for (std::size_t n = 1; n < csvLines.size(); ++n) {
        const std::vector<std::string> f = splitOn(csvLines[n], ',');
        std::istringstream words(tableLines[n]);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        ASSERT_GE(w.size(), 11u) << tableLines[n];
        EXPECT_EQ(std::vector<std::string>(w.begin(), w.begin() + 8),
                  std::vector<std::string>(f.begin(), f.begin() + 8))
            << tableLines[n];
    }
}

TEST_F(ChangesCommand, WrongUsageAndFailures) {
    struct Case {
        const char* arguments;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {"changes --slower --faster r.txt", 2, "curvex: give --slower or --faster, not both\n"},
        {"changes --top -1 r.txt", 2, "--top"},
        {"changes --top many r.txt", 2, "--top"},
        {"changes --top 5000000000 r.txt", 2, "--top"},
        {"changes", 2, "usage: curvex changes"},
        {"changes none.txt", 1, "curvex: cannot load none.txt"},
        {"changes --program none.nc r.txt", 1, "curvex: cannot read none.nc"},
    };
    for (const Case& c : cases) {
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.arguments << ": " << run.err;
    }
}
