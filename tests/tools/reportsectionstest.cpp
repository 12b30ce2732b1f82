// The peaks and toolpath sections of `curvex report`, read back with pdftotext and pdfimages.
#include "curvexrun.h"
#include "textwords.h"

#include <gtest/gtest.h>

#include <QImage>

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

// One image lies in the document, the toolpath: lossless, at twice the page's resolution, drawn
// with the chart's colours, the records outside a narrowed range faded. The pages stay A4.
TEST_F(ReportSections, TheToolpathIsOneLosslessImage) {
    for (const char* range : {"", "--range 30 50"}) {
        ASSERT_EQ(curvex(folder, std::string("report ") + range + " -o out.pdf s.txt").status, 0);
        const std::string info = shellOut(folder, "pdfinfo out.pdf");
        EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Page size:       842 x 595 pts (A4)"), std::string::npos) << info;
        std::istringstream list(shellOut(folder, "pdfimages -list out.pdf"));
        std::vector<std::vector<std::string>> images;
        std::string line;
        std::getline(list, line);
        std::getline(list, line);
        while (std::getline(list, line))
            images.push_back(wordsOf(line));
        ASSERT_EQ(images.size(), 1u) << range;
        EXPECT_EQ(images[0].at(0), "2") << "on the second page";
        EXPECT_EQ(images[0].at(2), "image") << range;
        EXPECT_EQ(images[0].at(8), "image") << "flate, not jpeg: " << line;

        shellOut(folder, "pdfimages -png out.pdf path");
        const QImage path(QString::fromStdString(folder.file("path-000.png")));
        ASSERT_FALSE(path.isNull());
        std::map<QRgb, int> counts;
        for (int y = 0; y < path.height(); ++y)
            for (int x = 0; x < path.width(); ++x)
                ++counts[path.pixel(x, y) | 0xFF000000u];
        const auto has = [&](QRgb colour) { return counts.count(colour | 0xFF000000u) > 0; };
        EXPECT_GT(path.width(), 1000) << "twice the page's units";
        EXPECT_TRUE(has(qRgb(0, 255, 0)) || has(qRgb(0, 255, 255))) << range << " chart colours";
        const bool faded = has(qRgb(191, 255, 191)) || has(qRgb(191, 255, 255));
        EXPECT_EQ(faded, *range != '\0') << range;
    }
}

} // namespace
