// The report's page layout with sections made here: a table of made rows (as the peaks will
// fill one), a section that cannot be split and one whose drawing fails.
#include "../../platform/tempfolder.h"

#include "reportapplication.h"
#include "reportcaptions.h"
#include "reportdocument.h"
#include "reportfont.h"
#include "reportheading.h"
#include "reporttable.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A block of a fixed height that draws a frame, or fails to draw.
class Block : public ReportSection {
public:
    Block(double height, bool draws) : mHeight(height), mDraws(draws) {}
    double height(QPaintDevice&, double) const override { return mHeight; }
    bool draw(QPainter& painter, const QRectF& area) const override {
        painter.drawRect(area);
        return mDraws;
    }

private:
    double mHeight;
    bool mDraws;
};

struct Written {
    bool ok = false;
    std::string info;
    std::string text;
};

std::string runText(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

Written write(ReportDocument& document) {
    application();
    TempFolder folder;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Written written;
    written.ok = document.write(buffer);
    const std::string pdf = folder.file("out.pdf");
    writeBytes(pdf, std::string_view(buffer.data().constData(),
                                     static_cast<std::size_t>(buffer.data().size())));
    written.info = runText("pdfinfo '" + pdf + "'");
    written.text = runText("pdftotext -layout '" + pdf + "' -");
    return written;
}

ReportDocument document() {
    const ReportCaptions captions;
    return ReportDocument(QStringLiteral("Test"), [captions](int page, int pages) {
        return captions.pageText(page, pages);
    });
}

std::unique_ptr<ReportTable> peaksTable(int rows) {
    auto table = std::make_unique<ReportTable>(
        QStringLiteral("Highest peaks"),
        QStringList{QStringLiteral("Rank"), QStringLiteral("Block"), QStringLiteral("Value")});
    for (int n = 1; n <= rows; ++n)
        table->addRow({QStringLiteral("#%1").arg(n), QString::number(1000 + n),
                       QString::number(n * 0.25, 'f', 2)});
    return table;
}

// The ranks "#n" in the order the text gives them.
std::vector<int> ranksOf(const std::string& text) {
    std::vector<int> ranks;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        if (word.size() > 1 && word[0] == '#')
            ranks.push_back(std::stoi(word.substr(1)));
    return ranks;
}

std::string pagesLine(const Written& written) {
    const std::size_t at = written.info.find("Pages:");
    return at == std::string::npos ? std::string()
                                   : written.info.substr(at, written.info.find('\n', at) - at);
}

// A table of made rows starts under what is above it and goes on over as many pages as it
// needs, each with its caption and heading; every row once, in order.
TEST(ReportDocument, ATableGoesOnOverPagesWithEveryRowOnce) {
    struct Case {
        double above; // height of the block before the table
        int rows;
        const char* pages;
    };
    const Case cases[] = {{100.0, 10, "Pages:           1"},
                          {600.0, 10, "Pages:           2"},
                          {100.0, 80, "Pages:           3"},
                          {600.0, 0, "Pages:           1"}};
    for (const Case& c : cases) {
        ReportDocument report = document();
        report.add(std::make_unique<Block>(c.above, true));
        report.add(peaksTable(c.rows));
        const Written written = write(report);
        ASSERT_TRUE(written.ok) << c.rows;
        EXPECT_EQ(pagesLine(written), c.pages) << c.above << " " << c.rows;
        std::vector<int> expected;
        for (int n = 1; n <= c.rows; ++n)
            expected.push_back(n);
        EXPECT_EQ(ranksOf(written.text), expected) << written.text;
        EXPECT_NE(written.text.find("Rank"), std::string::npos);
        const int pages = std::stoi(pagesLine(written).substr(6));
        // pdftotext ends each page with a form feed.
        std::istringstream pageTexts(written.text);
        for (std::string page; std::getline(pageTexts, page, '\f');)
            if (!ranksOf(page).empty()) {
                EXPECT_NE(page.find("Highest peaks\nRank"), std::string::npos)
                    << "caption and heading on every page of the table:\n"
                    << page;
            }
        for (int page = 1; page <= pages; ++page) {
            const std::string foot =
                "Page " + std::to_string(page) + " of " + std::to_string(pages);
            EXPECT_NE(written.text.find(foot), std::string::npos) << foot;
        }
    }
}

// A split leaves three rows or more in each part, as many in the first as the room holds: the
// rule read as a search over every place a table of n rows could be cut.
TEST(ReportTable, SplitsOnlyWhereBothPartsHoldThreeRows) {
    application();
    QImage device(800, 600, QImage::Format_RGB32);
    const double oneRow =
        peaksTable(1)->height(device, 700.0) - peaksTable(0)->height(device, 700.0);
    for (int n = 0; n <= 12; ++n) {
        const std::unique_ptr<ReportTable> table = peaksTable(n);
        for (int step = 0; step <= 2 * n + 2; ++step) {
            // Room for exactly `fit` rows, or for half a row more.
            const int fit = step / 2;
            const double room = peaksTable(fit)->height(device, 700.0) + (step % 2) * oneRow / 2;
            int expected = 0; // rows of the first part, 0: no split
            for (int k = 3; k <= n - 3; ++k)
                if (peaksTable(k)->height(device, 700.0) <= room)
                    expected = k;
            const auto [first, rest] = table->split(device, 700.0, room);
            const std::string name = std::to_string(n) + " rows, room for " + std::to_string(fit);
            if (expected == 0) {
                EXPECT_EQ(first, nullptr) << name;
                EXPECT_EQ(rest, nullptr) << name;
                continue;
            }
            ASSERT_NE(first, nullptr) << name;
            ASSERT_NE(rest, nullptr) << name;
            const auto& head = dynamic_cast<const ReportTable&>(*first);
            const auto& tail = dynamic_cast<const ReportTable&>(*rest);
            EXPECT_EQ(head.rows().size(), static_cast<std::size_t>(expected)) << name;
            EXPECT_EQ(tail.rows().size(), static_cast<std::size_t>(n - expected)) << name;
            EXPECT_LE(first->height(device, 700.0), room) << name;
            EXPECT_EQ(tail.rows().front().cells.front(), QStringLiteral("#%1").arg(expected + 1))
                << name;
        }
    }
}

// Ten peaks under a block that leaves room for one or two rows start on the next page whole;
// with room for seven they go 7 + 3, the second part under its caption and heading.
TEST(ReportDocument, ATableStartsOnTheNextPageRatherThanLeaveFewerThanThreeRows) {
    application();
    // The page's body as the document lays it out: A4 landscape at 96 units an inch, 40 units of
    // margin, the foot of 8 points and a gap of 14 units above it.
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter device(&sink);
    device.setResolution(96);
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    const double gap = 14.0;
    const double foot = QFontMetricsF(reportFont(8.0), &device).height();
    const double body = device.height() - 2 * 40.0 - foot - gap;
    const double bare = peaksTable(0)->height(device, 700.0);
    const double oneRow = peaksTable(1)->height(device, 700.0) - bare;
    const std::vector<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    struct Case {
        int left;               // rows that fit under the block
        std::vector<int> first; // ranks on the first page
    };
    const Case cases[] = {{1, {}}, {2, {}}, {7, {1, 2, 3, 4, 5, 6, 7}}, {9, {1, 2, 3, 4, 5, 6, 7}}};
    for (const Case& c : cases) {
        ReportDocument report = document();
        report.add(std::make_unique<Block>(body - gap - bare - (c.left + 0.4) * oneRow, true));
        report.add(peaksTable(10));
        const Written written = write(report);
        ASSERT_TRUE(written.ok);
        std::vector<std::string> pages;
        std::istringstream texts(written.text);
        for (std::string page; std::getline(texts, page, '\f');)
            pages.push_back(page);
        ASSERT_GE(pages.size(), 2u) << c.left;
        EXPECT_EQ(ranksOf(pages[0]), c.first) << c.left;
        std::vector<int> rest(all.begin() + static_cast<std::ptrdiff_t>(c.first.size()), all.end());
        EXPECT_EQ(ranksOf(pages[1]), rest) << c.left;
        EXPECT_NE(pages[1].find("Highest peaks\nRank"), std::string::npos) << pages[1];
    }
}

// The pages' texts, as pdftotext ends each with a form feed.
std::vector<std::string> pagesOf(const std::string& text) {
    std::vector<std::string> pages;
    std::istringstream texts(text);
    for (std::string page; std::getline(texts, page, '\f');)
        pages.push_back(page);
    return pages;
}

// A heading never stands alone at the foot of a page: with a block under it that does not fit it
// goes to the next page with the block; over a table that goes on it stays with the table's
// first part, once; over a table that cannot leave three rows it goes on with the whole table.
TEST(ReportDocument, AHeadingStaysWithWhatFollowsIt) {
    const std::string heading = "Where the optimisation acted";
    struct Case {
        double above;     // height of the block before the heading
        double block;     // height of the block under the heading, 0: a table
        int rows;         // of the table
        int headingPage;  // from 0
        int firstOnPage2; // the first rank on the second page, 0 for none
    };
    const Case cases[] = {
        {400.0, 300.0, 0, 1, 0}, {100.0, 300.0, 0, 0, 0}, {400.0, 0.0, 40, 0, 0},
        {600.0, 0.0, 10, 1, 1},  {100.0, 0.0, 5, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string name =
            std::to_string(c.above) + " " + std::to_string(c.block) + " " + std::to_string(c.rows);
        ReportDocument report = document();
        report.add(std::make_unique<Block>(c.above, true));
        std::unique_ptr<ReportSection> under;
        if (c.block > 0.0)
            under = std::make_unique<Block>(c.block, true);
        else
            under = peaksTable(c.rows);
        report.add(
            std::make_unique<ReportHeading>(QString::fromStdString(heading), std::move(under)));
        const Written written = write(report);
        ASSERT_TRUE(written.ok) << name;
        const std::vector<std::string> pages = pagesOf(written.text);
        ASSERT_GT(pages.size(), static_cast<std::size_t>(c.headingPage)) << name;
        for (std::size_t page = 0; page < pages.size(); ++page)
            EXPECT_EQ(pages[page].find(heading) != std::string::npos,
                      page == static_cast<std::size_t>(c.headingPage))
                << name << " page " << page + 1 << ":\n"
                << pages[page];
        std::vector<int> expected;
        for (int n = 1; n <= c.rows; ++n)
            expected.push_back(n);
        EXPECT_EQ(ranksOf(written.text), expected) << name;
        if (c.rows > 0) {
            const std::string& headed = pages[static_cast<std::size_t>(c.headingPage)];
            EXPECT_LT(headed.find(heading), headed.find("Highest peaks\nRank")) << headed;
            EXPECT_FALSE(ranksOf(headed).empty()) << "the first part under its heading: " << name;
        }
        if (c.firstOnPage2 > 0) {
            EXPECT_EQ(ranksOf(pages.at(1)).front(), c.firstOnPage2) << name;
        }
    }
}

// A block taller than a page stands on a page of its own, clipped; the next starts another.
TEST(ReportDocument, ABlockTallerThanAPageTakesAPageOfItsOwn) {
    ReportDocument report = document();
    report.add(std::make_unique<Block>(50.0, true));
    report.add(std::make_unique<Block>(5000.0, true));
    report.add(peaksTable(2));
    const Written written = write(report);
    ASSERT_TRUE(written.ok);
    EXPECT_EQ(pagesLine(written), "Pages:           3");
    EXPECT_EQ(ranksOf(written.text), (std::vector<int>{1, 2}));
}

TEST(ReportDocument, ASectionThatCannotBeDrawnFailsTheDocument) {
    ReportDocument report = document();
    report.add(peaksTable(3));
    report.add(std::make_unique<Block>(50.0, false));
    EXPECT_FALSE(write(report).ok);
    ReportDocument readOnly = document();
    QBuffer closed;
    application();
    EXPECT_FALSE(readOnly.write(closed));
}

} // namespace
