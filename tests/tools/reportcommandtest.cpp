// `curvex report` read back with pdftotext and pdfinfo.
#include "../platform/tempfolder.h"
#include "textwords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string binFolder() {
    const char* bin = std::getenv("PLOTWELL_BIN");
    return bin ? bin : "build/dev/bin";
}

// Runs `command` in `folder` after the shell commands `setUp`.
CommandRun shell(const TempFolder& folder, const std::string& command,
                 const std::string& setUp = "true") {
    const std::string line =
        "cd '" + folder.path() + "' && " + setUp + " && " + command + " >stdout.txt 2>stderr.txt";
    CommandRun run;
    const int status = std::system(line.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(folder.file("stdout.txt"));
    run.err = readBytes(folder.file("stderr.txt"));
    return run;
}

CommandRun curvex(const TempFolder& folder, const std::string& arguments,
                  const std::string& setUp = "true") {
    return shell(folder, "'" + binFolder() + "/curvex' " + arguments, setUp);
}

std::string pdfText(const TempFolder& folder, const std::string& pdf) {
    return shell(folder, "pdftotext -layout '" + pdf + "' -").out;
}

std::string pdfInfo(const TempFolder& folder, const std::string& pdf) {
    return shell(folder, "pdfinfo '" + pdf + "'").out;
}

// "1:02:03.4" in seconds.
double secondsOf(const std::string& duration) {
    const double sign = !duration.empty() && duration[0] == '-' ? -1.0 : 1.0;
    double seconds = 0.0;
    std::istringstream in(duration.substr(sign < 0 ? 1 : 0));
    for (std::string part; std::getline(in, part, ':');)
        seconds = seconds * 60.0 + std::stod(part);
    return sign * seconds;
}

// A row of the machining-time table: its name and the numbers after it.
struct TableRow {
    std::string name;
    unsigned long long records = 0;
    double programmed = 0, optimised = 0, saved = 0, savedPercent = 0;
};

// The table's rows in the report's text: a line whose name is "T<n>", "Total" or "Shown range"
// followed by records, three durations and the percent.
std::vector<TableRow> tableRows(const std::string& text) {
    std::vector<TableRow> rows;
    std::istringstream in(text.substr(0, text.find("Where the optimisation acted")));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> words = wordsOf(line);
        if (words.size() == 7 && words[0] == "Shown" && words[1] == "range") {
            words.erase(words.begin());
            words[0] = "Shown range";
        }
        const bool tool = words.size() == 6 && words[0].size() > 1 && words[0][0] == 'T' &&
                          std::isdigit(static_cast<unsigned char>(words[0][1]));
        if (words.size() != 6 || !(tool || words[0] == "Total" || words[0] == "Shown range"))
            continue;
        rows.push_back({words[0], std::stoull(words[1]), secondsOf(words[2]), secondsOf(words[3]),
                        secondsOf(words[4]), std::stod(words[5])});
    }
    return rows;
}

// The rows of `curvex stats --csv`, by tool name ("1", "total").
std::map<std::string, std::vector<std::string>> statsRows(const std::string& csv) {
    std::map<std::string, std::vector<std::string>> rows;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            fields.push_back(cell);
        rows[fields.at(0)] = fields;
    }
    return rows;
}

// The report's row against a CSV row at the report's precision: tenths of seconds, percent
// with one decimal.
void expectSameRow(const TableRow& row, const std::vector<std::string>& csv,
                   const std::string& context) {
    ASSERT_GE(csv.size(), 8u) << context;
    EXPECT_EQ(row.records, std::stoull(csv[1])) << context;
    const double tenth = 0.05 + 1e-6;
    EXPECT_NEAR(row.programmed, std::stod(csv[4]), tenth) << context;
    EXPECT_NEAR(row.optimised, std::stod(csv[5]), tenth) << context;
    EXPECT_NEAR(row.saved, std::stod(csv[6]), tenth) << context;
    EXPECT_NEAR(row.savedPercent, std::stod(csv[7]), tenth) << context;
}

// Tool 1 cuts from x 0 to 10 and 20; tool 2 cuts on to 30 with more removal; tool 3 rapids
// back and cuts slower than programmed.
const char* const kText =
    "T1\nN1)G01X0Y0Z0F600(A0.5)F900\nN2)G01X10(A1)F800\nN3)G01X20(A0.5)F700\n"
    "T2\nN4)G01X30(A2)F1200\nN5)G01X45(A1)F600\nT3\nN6)G00X0\nN7)G01X5(A1)F500\n";

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(folder.file("cut.txt"), kText); }
    TempFolder folder;
};

TEST_F(ReportCommand, TheHeaderNamesTheFileOnA4LandscapePages) {
    CommandRun run = curvex(folder, "report -o out.pdf cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string info = pdfInfo(folder, "out.pdf");
    EXPECT_NE(info.find("Pages:           4\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       842 x 595 pts (A4)"), std::string::npos) << info;
    const std::string text = pdfText(folder, "out.pdf");
    const std::vector<std::string> first = wordsOf(text.substr(0, text.find('\n')));
    EXPECT_EQ(first, std::vector<std::string>{"cut.txt"}) << "the title: " << text;
    for (const std::string& expected :
         {"File: " + folder.file("cut.txt"), std::string("Modified: 20"),
          std::string("Report written: 20"), std::string("Records: 7"), std::string("Tools: 3"),
          std::string("Cutting Movement Distance [mm]"),
          std::string("Amount of Cutting Removal [mm3/mm]"), std::string("Page 1 of 4"),
          std::string("Page 4 of 4"), std::string("Where the optimisation acted")})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;

    run = curvex(folder, "report --title 'Feed trial 7' --func 1 --dist 2 -o out.pdf cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string titled = pdfText(folder, "out.pdf");
    EXPECT_EQ(wordsOf(titled.substr(0, titled.find('\n'))),
              (std::vector<std::string>{"Feed", "trial", "7"}));
    EXPECT_NE(titled.find("Seqence Block Number"), std::string::npos) << titled;
    EXPECT_NE(titled.find("Removal per Sec with OrgFeed [mm3/sec]"), std::string::npos) << titled;
}

// The title and the file's name show their whole text, each on its line: a line end is a space,
// any other control character U+FFFD.
TEST_F(ReportCommand, TheTitleAndFileNameShowTheirWholeText) {
    writeBytes(folder.file("two\nlines.txt"), kText);
    const CommandRun run =
        curvex(folder, "report --title \"$(printf 'Feed\\ntrial\\r\\n7\\001end')\" -o out.pdf "
                       "\"$(printf 'two\\nlines.txt')\"");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = pdfText(folder, "out.pdf");
    EXPECT_EQ(wordsOf(text.substr(0, text.find('\n'))), (std::vector<std::string>{"Feed", "trial",
                                                                                  "7\xEF\xBF\xBD"
                                                                                  "end"}))
        << text;
    const std::string file = "File: " + folder.file("two lines.txt") + "\n";
    EXPECT_NE(text.find(file), std::string::npos) << file << " in:\n" << text;
}

// The value of --title is the argument after it, whatever it looks like; the options it looks
// like are not taken.
TEST_F(ReportCommand, ATitleThatLooksLikeAnOptionIsTheTitle) {
    for (const char* title : {"--legend", "--fit-height", "--range", "--text", "--help", "-o"}) {
        const CommandRun run =
            curvex(folder, std::string("report --title ") + title + " -o out.pdf cut.txt");
        ASSERT_EQ(run.status, 0) << title << ": " << run.err;
        const std::string text = pdfText(folder, "out.pdf");
        EXPECT_EQ(wordsOf(text.substr(0, text.find('\n'))), std::vector<std::string>{title})
            << text;
    }
}

// Every row of the table equals `curvex stats --csv` at the printed precision: the tools and
// the total of the whole run, and the shown range's row, which is stats' total over the range.
TEST_F(ReportCommand, TheTimeTableIsTheStatsOfTheRun) {
    ASSERT_EQ(curvex(folder, "synth --seed 5 --blocks 4000 --text -o synth.txt").status, 0);
    struct Case {
        const char* file;
        const char* view;  // options of both commands
        const char* range; // of the report; stats gives the shown row with it
    };
    const Case cases[] = {
        {"cut.txt", "", ""},
        {"cut.txt", "--g00 2000", "--range 20 70"},
        {"synth.txt", "", ""},
        {"synth.txt", "--g00 800", "--range 10 35.5"},
    };
    for (const Case& c : cases) {
        const std::string context = std::string(c.file) + " " + c.view + " " + c.range;
        const std::string view = std::string(c.view) + " ";
        const CommandRun report =
            curvex(folder, "report " + view + c.range + " -o out.pdf " + c.file);
        ASSERT_EQ(report.status, 0) << context << report.err;
        const std::vector<TableRow> rows = tableRows(pdfText(folder, "out.pdf"));
        const auto whole = statsRows(curvex(folder, "stats --csv " + view + c.file).out);
        const bool ranged = *c.range != '\0';
        ASSERT_EQ(rows.size(), whole.size() + (ranged ? 1 : 0)) << context;
        std::size_t n = 0;
        for (; n + 1 < whole.size(); ++n) {
            const std::string tool = rows[n].name.substr(1);
            ASSERT_TRUE(whole.count(tool)) << context << " " << rows[n].name;
            expectSameRow(rows[n], whole.at(tool), context + " " + rows[n].name);
        }
        EXPECT_EQ(rows[n].name, "Total") << context;
        expectSameRow(rows[n], whole.at("total"), context + " total");
        if (!ranged)
            continue;
        const auto shown =
            statsRows(curvex(folder, "stats --csv " + view + c.range + " " + c.file).out);
        EXPECT_EQ(rows[n + 1].name, "Shown range") << context;
        expectSameRow(rows[n + 1], shown.at("total"), context + " shown range");
    }
}

// 60 tools do not fit under the chart: the table goes on over two more pages, every row once,
// the peaks after it, the toolpath on a page of its own; where the optimisation acted follows on
// two more.
TEST_F(ReportCommand, ALongTableGoesOnOverNumberedPages) {
    std::string text;
    for (int tool = 1; tool <= 60; ++tool)
        text += "T" + std::to_string(tool) + "\nN" + std::to_string(tool) + ")G01X" +
                std::to_string(tool * 10) + "Y0Z0F600(A1)F900\n";
    writeBytes(folder.file("tools.txt"), text);
    const CommandRun run = curvex(folder, "report -o out.pdf tools.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(pdfInfo(folder, "out.pdf").find("Pages:           6\n"), std::string::npos);
    const std::string report = pdfText(folder, "out.pdf");
    std::vector<std::string> pages;
    std::istringstream texts(report);
    for (std::string page; std::getline(texts, page, '\f');)
        pages.push_back(page);
    ASSERT_EQ(pages.size(), 6u);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::string foot = "Page " + std::to_string(page + 1) + " of 6\n";
        EXPECT_NE(pages[page].find(foot), std::string::npos) << foot;
    }
    EXPECT_EQ(pages[3].find("Toolpath\n"), 0u) << pages[3];
    EXPECT_EQ(pages[4].find("Where the optimisation acted\n"), 0u) << pages[4];
    const std::vector<TableRow> rows = tableRows(report);
    ASSERT_EQ(rows.size(), 61u);
    for (int tool = 1; tool <= 60; ++tool)
        EXPECT_EQ(rows[static_cast<std::size_t>(tool - 1)].name, "T" + std::to_string(tool));
    EXPECT_EQ(rows.back().name, "Total");
    // The next pages repeat the table's caption and heading.
    const std::string later = report.substr(report.find("Page 1 of 6"));
    EXPECT_NE(later.find("Machining time\nTool"), std::string::npos) << later;
}

// The captions come from [Extra Text] of the settings file, whose missing ones get the
// defaults written back.
TEST_F(ReportCommand, TheSettingsFileGivesTheCaptions) {
    writeBytes(folder.file("Plotwell.ini"),
               "[Extra Text]\nReport Total=Gesamt\nReport Page=Seite %1 "
               "von %2\nReport Speed Ups=Schneller\n");
    const CommandRun run = curvex(folder, "report --ini Plotwell.ini -o out.pdf cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = pdfText(folder, "out.pdf");
    EXPECT_NE(text.find("Seite 1 von 4"), std::string::npos) << text;
    EXPECT_NE(text.find("Schneller\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Largest speed-ups"), std::string::npos) << text;
    EXPECT_NE(text.find("Gesamt "), std::string::npos) << text;
    EXPECT_EQ(text.find("Total"), std::string::npos) << text;
    const std::string ini = readBytes(folder.file("Plotwell.ini"));
    for (const char* line :
         {"Report Total=Gesamt\n", "Report Page=Seite %1 von %2\n",
          "Report Saved Percent=Saved %\n", "Report File=File\n",
          "Report Optimisation Acted=Where the optimisation acted\n",
          "Report No Slowdowns=No slower blocks\n", "Report Air Cutting=Air cutting\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in:\n" << ini;
}

// The text without the line of the time the report was written.
std::string withoutWrittenTime(const std::string& text) {
    const std::size_t at = text.find("Report written: ");
    return at == std::string::npos ? text : text.substr(0, at) + text.substr(text.find('\n', at));
}

// The chart takes the compare and colour options of `curvex render`, and its legend is always on:
// the compare chart's legend names the programmed curve with the settings file's caption.
TEST_F(ReportCommand, TheChartTakesTheViewOptionsWithTheLegendOn) {
    writeBytes(folder.file("Plotwell.ini"), "[Extra Text]\nProgrammedCaption=Vorgabe\n");
    struct Case {
        const char* options;
        const char* expected; // in the text
    };
    const Case cases[] = {
        {"--compare rates", "Removal per Sec [mm3/sec]"},
        {"--compare feeds --colour-by tool", "Feed [mm/min]"},
        {"--compare rates --fit-height", "Vorgabe"},
        {"--compare feeds", "Vorgabe"},
    };
    for (const Case& c : cases) {
        const CommandRun run = curvex(folder, std::string("report --ini Plotwell.ini ") +
                                                  c.options + " -o out.pdf cut.txt");
        ASSERT_EQ(run.status, 0) << c.options << run.err;
        const std::string text = pdfText(folder, "out.pdf");
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.options << " in:\n" << text;
    }
    // Fit height scales the vertical axis to the shown range: its labels change.
    ASSERT_EQ(curvex(folder, "synth --seed 5 --blocks 4000 --text -o synth.txt").status, 0);
    const auto chartText = [&](const std::string& options) {
        EXPECT_EQ(
            curvex(folder, "report --range 40 45 " + options + " -o out.pdf synth.txt").status, 0);
        return withoutWrittenTime(pdfText(folder, "out.pdf"));
    };
    EXPECT_NE(chartText("--fit-height"), chartText(""));
}

TEST_F(ReportCommand, FailuresGiveStatusAndMessage) {
    std::filesystem::create_directory(folder.file("folder.pdf"));
    writeBytes(folder.file("bad.bin"), "short");
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"report cut.txt", 2, "-o OUT.pdf"},
        {"report -o out.png cut.txt", 2, "-o OUT.pdf"},
        {"report -o out.pdf", 2, "exactly one file"},
        {"report --func 3 -o out.pdf cut.txt", 2, "--func"},
        {"report --range 50 10 -o out.pdf cut.txt", 2, "--range"},
        {"report --title -o out.pdf cut.txt", 2, "-o OUT.pdf"},
        {"report --size 10x10 -o out.pdf cut.txt", 2, "unknown option"},
        {"report --compare speeds -o out.pdf cut.txt", 2, "--compare needs rates, feeds or change"},
        {"report --colour-by block -o out.pdf cut.txt", 2, "--colour-by needs tool"},
        {"report --program none.nc -o out.pdf cut.txt", 1, "cannot read none.nc"},
        {"report -o out.pdf missing.txt", 1, "cannot load missing.txt"},
        {"report -o out.pdf bad.bin", 1, "cannot load bad.bin: the file is shorter"},
        {"report -o nowhere/out.pdf cut.txt", 3, "cannot write nowhere/out.pdf"},
        {"report -o folder.pdf cut.txt", 3, "cannot write folder.pdf"},
        {"report --ini nowhere/Plotwell.ini -o out.pdf cut.txt", 1, "cannot write the settings"},
    };
    for (const Case& c : cases) {
        const CommandRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.pdf")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.png")));

    // A write that fails past the file-size limit keeps the older report whole.
    writeBytes(folder.file("out.pdf"), "old");
    const CommandRun run =
        curvex(folder, "report -o out.pdf cut.txt", "ulimit -f 2 && trap '' XFSZ");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("cannot write out.pdf: File too large"), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(folder.file("out.pdf")), "old");
    EXPECT_EQ(hiddenFiles(folder), std::vector<std::string>());
}

// The charts go through the column path: 200,000 blocks give a document whose drawing besides
// the toolpaths' images is of the size of a few thousand points, not one of every record.
TEST_F(ReportCommand, ALargeRunGivesASmallDocument) {
    ASSERT_EQ(curvex(folder, "synth --seed 3 --blocks 200000 --binary -o big.bin").status, 0);
    const CommandRun run = curvex(folder, "report -o out.pdf big.bin");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream list(shell(folder, "pdfimages -list out.pdf").out);
    std::string line;
    std::getline(list, line);
    std::getline(list, line);
    double images = 0.0;
    int count = 0;
    while (std::getline(list, line)) {
        const std::vector<std::string> words = wordsOf(line);
        ASSERT_GE(words.size(), 15u) << line;
        const std::string& size = words[14];
        const double factor = size.back() == 'M'   ? 1024.0 * 1024.0
                              : size.back() == 'K' ? 1024.0
                                                   : 1.0;
        images += std::stod(size) * factor;
        ++count;
    }
    EXPECT_EQ(count, 2);
    const double file = static_cast<double>(std::filesystem::file_size(folder.file("out.pdf")));
    EXPECT_LT(file - images, 200.0 * 1024.0);
}

} // namespace
