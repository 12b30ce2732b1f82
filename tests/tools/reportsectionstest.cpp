// The peaks and toolpath sections of `curvex report`, read back with pdftotext and pdfimages.
#include "curvexrun.h"
#include "textwords.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <fstream>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The standard output of the shell command `command` run in `folder`.
std::string shellOut(const TempFolder& folder, const std::string& command) {
    const std::string line = "cd '" + folder.path() + "' && " + command + " >shell.txt 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0) << command;
    return readBytes(folder.file("shell.txt"));
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');)
        fields.push_back(cell);
    return fields;
}

// A peak row of the report: rank, block, tool and the program line (0 when not printed).
struct PeakRow {
    int rank = 0;
    std::string block;
    std::string tool;
    unsigned line = 0;
};

// The rows under "Highest peaks": a rank, the block, "T<tool>", value, the two feeds and, with a
// program, the line.
std::vector<PeakRow> peakRows(const std::string& text, bool lines) {
    std::vector<PeakRow> rows;
    const std::size_t start = text.find("Highest peaks");
    if (start == std::string::npos)
        return rows;
    std::istringstream in(text.substr(start));
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> words = wordsOf(line);
        if (words.size() != (lines ? 7u : 6u) || words[2].front() != 'T' ||
            words[0].find_first_not_of("0123456789") != std::string::npos)
            continue;
        rows.push_back({std::stoi(words[0]), words[1], words[2].substr(1),
                        lines ? static_cast<unsigned>(std::stoul(words[6])) : 0u});
    }
    return rows;
}

// The lines of `text` after the first line holding `from`, up to the first holding `to`.
std::vector<std::string> linesBetween(const std::string& text, const std::string& from,
                                      const std::string& to) {
    std::vector<std::string> lines;
    const std::size_t start = text.find(from);
    if (start == std::string::npos)
        return lines;
    std::istringstream in(text.substr(text.find('\n', start) + 1));
    for (std::string line; std::getline(in, line) && line.find(to) == std::string::npos;)
        lines.push_back(line);
    return lines;
}

// "h:mm:ss.s" in seconds.
double secondsOf(const std::string& duration) {
    double seconds = 0.0;
    std::istringstream in(duration);
    for (std::string part; std::getline(in, part, ':');)
        seconds = seconds * 60.0 + std::stod(part);
    return seconds;
}

// A row of a change table: "T<tool>", the blocks ("a" or "a–b"), with a program the line (left
// empty for none), the length and three durations.
struct ChangeRow {
    std::string tool;
    std::string firstBlock;
    std::string lastBlock;
    unsigned line = 0;
    double length = 0.0, programmed = 0.0, optimised = 0.0, difference = 0.0;
};

std::vector<ChangeRow> changeRows(const std::vector<std::string>& lines, bool program) {
    std::vector<ChangeRow> rows;
    for (const std::string& line : lines) {
        std::vector<std::string> words = wordsOf(line);
        if (words.size() < 6 || words.size() > 7 || words[0].size() < 2 || words[0][0] != 'T' ||
            words[0].find_first_not_of("0123456789", 1) != std::string::npos)
            continue;
        ChangeRow row;
        row.tool = words[0].substr(1);
        const std::string dash = "\xE2\x80\x93";
        const std::size_t at = words[1].find(dash);
        row.firstBlock = words[1].substr(0, at);
        row.lastBlock =
            at == std::string::npos ? row.firstBlock : words[1].substr(at + dash.size());
        if (program && words.size() == 7) {
            row.line = static_cast<unsigned>(std::stoul(words[2]));
            words.erase(words.begin() + 2);
        }
        EXPECT_EQ(words.size(), 6u) << line;
        row.length = std::stod(words[2]);
        row.programmed = secondsOf(words[3]);
        row.optimised = secondsOf(words[4]);
        row.difference = secondsOf(words[5]);
        rows.push_back(row);
    }
    return rows;
}

class ReportSections : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(curvex(folder, "synth --seed 4 --blocks 3000 --nc --text -o s.txt").status, 0);
    }
    TempFolder folder;
};

// The report's peaks are those of `curvex peaks --top 10` for the same view (a compare chart's are
// those of its optimised series): ranks, blocks and tools (colouring and fitting the chart change
// no peak); with the program, each row's line is the one `curvex source` gives for its record.
TEST_F(ReportSections, ThePeaksAreThoseOfThePeaksCommand) {
    struct Case {
        const char* view;   // of both commands
        const char* report; // of the report only
    };
    const Case cases[] = {
        {"", ""},
        {"--func 1 --dist 2 --range 10 60", ""},
        {"--func 2 --g00 800 --range 40 45", ""},
        {"--compare feeds", ""},
        {"--compare rates --range 20 70", ""},
    };
    for (const auto& [view, only] : cases) {
        for (const bool program : {false, true}) {
            const std::string context =
                std::string(view) + " " + only + (program ? " with program" : "");
            const CurvexRun report =
                curvex(folder, std::string("report --colour-by tool --fit-height ") + only + " " +
                                   view + (program ? " --program s.nc" : "") + " -o out.pdf s.txt");
            ASSERT_EQ(report.status, 0) << context << report.err;
            const std::vector<PeakRow> rows =
                peakRows(shellOut(folder, "pdftotext -layout out.pdf -"), program);
            std::istringstream csv(
                curvex(folder, std::string("peaks --csv --top 10 ") + view + " s.txt").out);
            std::string line;
            std::getline(csv, line);
            std::size_t n = 0;
            for (; std::getline(csv, line); ++n) {
                const std::vector<std::string> peak = fieldsOf(line);
                ASSERT_LT(n, rows.size()) << context;
                EXPECT_EQ(rows[n].rank, static_cast<int>(n + 1)) << context;
                EXPECT_EQ(rows[n].block, peak.at(2)) << context << " rank " << n + 1;
                EXPECT_EQ(rows[n].tool, peak.at(3)) << context << " rank " << n + 1;
                if (!program)
                    continue;
                const CurvexRun source =
                    curvex(folder, "source --program s.nc --record " + peak.at(1) + " s.txt");
                ASSERT_EQ(source.status, 0) << context << source.err;
                EXPECT_EQ(rows[n].line, std::stoul(source.out)) << context << " rank " << n + 1;
            }
            EXPECT_EQ(n, *view == '\0' ? 10u : n) << "a whole run has ten peaks";
            EXPECT_GT(n, 0u) << context;
            EXPECT_EQ(rows.size(), n) << context;
        }
    }
}

// The tables of the largest slowdowns and speed-ups hold the rows of `curvex changes --top 5`,
// in its order: tool, blocks, the program line of the run's first record, the length to the
// thousandth and the times at the report's tenths; whatever the chart shows. The part sample has
// five runs of each kind.
TEST_F(ReportSections, TheChangeTablesAreThoseOfTheChangesCommand) {
    std::filesystem::copy_file("samples/PARTDATA.txt", folder.file("s.txt"),
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file("samples/PARTDATA.nc", folder.file("s.nc"),
                               std::filesystem::copy_options::overwrite_existing);
    for (const char* view : {"", "--range 20 60 --g00 800 --compare feeds"}) {
        for (const bool program : {false, true}) {
            const std::string context = std::string(view) + (program ? " with program" : "");
            const std::string withProgram = program ? " --program s.nc" : "";
            const CurvexRun report =
                curvex(folder, std::string("report ") + view + withProgram + " -o out.pdf s.txt");
            ASSERT_EQ(report.status, 0) << context << report.err;
            const std::string text = shellOut(folder, "pdftotext -layout out.pdf -");
            EXPECT_NE(text.find("Where the optimisation acted"), std::string::npos) << context;
            const CurvexRun changes =
                curvex(folder, "changes --csv --top 5" + withProgram + " s.txt");
            ASSERT_EQ(changes.status, 0) << changes.err;
            std::istringstream csv(changes.out);
            std::string line;
            std::getline(csv, line);
            std::map<std::string, std::vector<std::vector<std::string>>> expected;
            while (std::getline(csv, line))
                expected[fieldsOf(line).at(1)].push_back(fieldsOf(line));
            const struct {
                const char* kind;
                const char* from;
                const char* to;
            } tables[] = {{"slower", "Largest slowdowns", "Largest speed-ups"},
                          {"faster", "Largest speed-ups", "Air cutting"}};
            for (const auto& table : tables) {
                const std::vector<ChangeRow> rows =
                    changeRows(linesBetween(text, table.from, table.to), program);
                const auto& runs = expected[table.kind];
                ASSERT_EQ(runs.size(), 5u) << context << " " << table.kind << " in the sample";
                ASSERT_EQ(rows.size(), runs.size()) << context << " " << table.kind << ":\n"
                                                    << text;
                for (std::size_t n = 0; n < rows.size(); ++n) {
                    const std::vector<std::string>& run = runs[n];
                    const std::string at = context + " " + table.kind + " " + std::to_string(n);
                    EXPECT_EQ(rows[n].firstBlock, run.at(4)) << at;
                    EXPECT_EQ(rows[n].lastBlock, run.at(5)) << at;
                    EXPECT_EQ(rows[n].tool, run.at(6)) << at;
                    EXPECT_NEAR(rows[n].length, std::stod(run.at(7)), 0.0005) << at;
                    const double tenth = 0.05 + 1e-6;
                    EXPECT_NEAR(rows[n].programmed, std::stod(run.at(8)), tenth) << at;
                    EXPECT_NEAR(rows[n].optimised, std::stod(run.at(9)), tenth) << at;
                    EXPECT_NEAR(rows[n].difference, std::fabs(std::stod(run.at(10))), tenth) << at;
                    const unsigned csvLine = program && run.size() > 11 && !run[11].empty()
                                                 ? static_cast<unsigned>(std::stoul(run[11]))
                                                 : 0u;
                    EXPECT_EQ(rows[n].line, csvLine) << at;
                }
            }
        }
    }
}

// The air cutting is the air columns of `curvex stats --csv`: its total row of the whole file,
// and with a narrowed range the total row of the range.
TEST_F(ReportSections, TheAirCuttingIsThatOfTheStatsCommand) {
    for (const char* view : {"", "--g00 800", "--range 20 60.5", "--g00 2000 --range 5 35"}) {
        const CurvexRun report =
            curvex(folder, std::string("report ") + view + " -o out.pdf s.txt");
        ASSERT_EQ(report.status, 0) << view << report.err;
        const std::string text = shellOut(folder, "pdftotext -layout out.pdf -");
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : linesBetween(text, "Air cutting", "Page ")) {
            std::vector<std::string> words = wordsOf(line);
            if (words.size() == 5 && words[0] == "Shown") {
                words.erase(words.begin());
                words[0] = "Shown range";
            }
            if (words.size() == 4 && (words[0] == "Total" || words[0] == "Shown range"))
                rows.push_back(words);
        }
        const bool ranged = std::string(view).find("--range") != std::string::npos;
        ASSERT_EQ(rows.size(), ranged ? 2u : 1u) << view << ":\n" << text;
        const auto statsTotal = [&](const std::string& options) {
            std::istringstream csv(curvex(folder, "stats --csv " + options + " s.txt").out);
            std::string line;
            while (std::getline(csv, line))
                if (line.rfind("total,", 0) == 0)
                    return fieldsOf(line);
            return std::vector<std::string>();
        };
        std::string wholeView = view;
        if (ranged)
            wholeView = wholeView.substr(0, wholeView.find("--range"));
        const std::vector<std::string> expected[] = {statsTotal(wholeView), statsTotal(view)};
        const char* names[] = {"Total", "Shown range"};
        for (std::size_t n = 0; n < rows.size(); ++n) {
            const std::vector<std::string>& stats = expected[n];
            ASSERT_EQ(stats.size(), 13u) << view;
            EXPECT_EQ(rows[n][0], names[n]) << view;
            EXPECT_NEAR(std::stod(rows[n][1]), std::stod(stats[10]), 0.0005) << view << " " << n;
            EXPECT_NEAR(secondsOf(rows[n][2]), std::stod(stats[11]), 0.05 + 1e-6) << view;
            EXPECT_NEAR(secondsOf(rows[n][3]), std::stod(stats[12]), 0.05 + 1e-6) << view;
        }
        EXPECT_GT(std::stod(expected[0].at(10)), 0.0) << "the sample cuts air";
    }
}

// A run whose optimised feeds equal the programmed ones has no change runs: each table is the
// line saying so, no table heading; with speed-ups only, the slowdowns say so alone.
TEST_F(ReportSections, NoChangeRunsAreSaidInALine) {
    struct Case {
        const char* cut;
        bool slower;
        bool faster;
    };
    const Case cases[] = {
        {"T1\nN1)G01X0Y0Z0F600(A0.5)F600\nN2)G01X10F800(A1)F800\nN3)G01X20F700(A0.5)F700\n", false,
         false},
        {"T1\nN1)G01X0Y0Z0F600(A0.5)F900\nN2)G01X10F600(A1)F900\nN3)G01X20F700(A0.5)F700\n", false,
         true},
    };
    for (const Case& c : cases) {
        std::ofstream(folder.file("flat.txt")) << c.cut;
        const CurvexRun report = curvex(folder, "report -o out.pdf flat.txt");
        ASSERT_EQ(report.status, 0) << report.err;
        const std::string text = shellOut(folder, "pdftotext -layout out.pdf -");
        const std::string changes = curvex(folder, "changes --csv flat.txt").out;
        std::size_t fasterRuns = 0;
        for (std::size_t at = changes.find(",faster,"); at != std::string::npos;
             at = changes.find(",faster,", at + 1))
            ++fasterRuns;
        EXPECT_EQ(changes.find(",slower,") != std::string::npos, c.slower) << changes;
        EXPECT_EQ(fasterRuns > 0, c.faster) << changes;
        EXPECT_EQ(text.find("No slower blocks") == std::string::npos, c.slower) << text;
        EXPECT_EQ(text.find("No faster blocks") == std::string::npos, c.faster) << text;
        EXPECT_EQ(text.find("Blocks") != std::string::npos, c.slower || c.faster) << text;
        EXPECT_EQ(changeRows(linesBetween(text, "Largest speed-ups", "Air cutting"), false).size(),
                  fasterRuns)
            << text;
    }
}

// Two images lie in the document, the toolpaths, lossless, at twice the page's resolution: on the
// second page the one drawn with the chart's colours, the records outside a narrowed range faded;
// on a later page the one coloured by feed change, in none of the chart's colours. The pages stay
// A4.
TEST_F(ReportSections, TheToolpathsAreLosslessImages) {
    for (const char* range : {"", "--range 30 50"}) {
        ASSERT_EQ(curvex(folder, std::string("report ") + range + " -o out.pdf s.txt").status, 0);
        const std::string info = shellOut(folder, "pdfinfo out.pdf");
        EXPECT_NE(info.find("Page size:       842 x 595 pts (A4)"), std::string::npos) << info;
        std::istringstream list(shellOut(folder, "pdfimages -list out.pdf"));
        std::vector<std::vector<std::string>> images;
        std::string line;
        std::getline(list, line);
        std::getline(list, line);
        while (std::getline(list, line))
            images.push_back(wordsOf(line));
        ASSERT_EQ(images.size(), 2u) << range;
        EXPECT_EQ(images[0].at(0), "2") << "on the second page";
        EXPECT_GT(std::stoi(images[1].at(0)), 2) << "after the chart of feed change";
        for (const std::vector<std::string>& image : images) {
            EXPECT_EQ(image.at(2), "image") << range;
            EXPECT_EQ(image.at(8), "image") << "flate, not jpeg: " << line;
        }

        shellOut(folder, "pdfimages -png out.pdf path");
        std::map<QRgb, int> counts[2];
        for (int n = 0; n < 2; ++n) {
            const QImage path(
                QString::fromStdString(folder.file("path-00" + std::to_string(n) + ".png")));
            ASSERT_FALSE(path.isNull());
            EXPECT_GT(path.width(), 1000) << "twice the page's units";
            for (int y = 0; y < path.height(); ++y)
                for (int x = 0; x < path.width(); ++x)
                    ++counts[n][path.pixel(x, y) | 0xFF000000u];
        }
        const auto has = [&](int n, QRgb colour) {
            return counts[n].count(colour | 0xFF000000u) > 0;
        };
        EXPECT_TRUE(has(0, qRgb(0, 255, 0)) || has(0, qRgb(0, 255, 255)))
            << range << " chart colours";
        const bool faded = has(0, qRgb(191, 255, 191)) || has(0, qRgb(191, 255, 255));
        EXPECT_EQ(faded, *range != '\0') << range;
        EXPECT_FALSE(has(1, qRgb(0, 255, 0)) || has(1, qRgb(0, 255, 255))) << range;
        EXPECT_GT(counts[1].size(), 8u) << "a colour map: " << range;
    }
}

} // namespace
