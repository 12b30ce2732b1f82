// What the report's tables hold, from a view made here: the rows of the time table and their
// weight, the peaks' program lines, and when the shown range's row is there.
#include "machiningreport.h"
#include "madereportview.h"
#include "reportapplication.h"
#include "reportcaptions.h"
#include "reportcomposition.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Only the total is bold; the shown range's row follows it whenever either end of the range is
// narrowed, also the upper end alone.
TEST(MachiningReport, TheTimeTableHasABoldTotalAndTheShownRangeWhenNarrowed) {
    application();
    const ReportCaptions captions;
    struct Case {
        ShownRange range;
        bool shownRow;
    };
    const Case cases[] = {{{0.0f, 100.0f}, false},
                          {{0.0f, 50.0f}, true},
                          {{20.0f, 100.0f}, true},
                          {{20.0f, 70.0f}, true},
                          {{0.0f, 99.9f}, true}};
    for (const Case& c : cases) {
        MadeView view;
        view.range = c.range;
        const ReportFacts facts =
            ComposeReport(view, QStringLiteral("t"), QStringLiteral("d"), captions);
        MachiningReport report(facts, captions);
        const std::unique_ptr<ReportTable> table = report.timeTable();
        const std::string name =
            std::to_string(c.range.lower) + ".." + std::to_string(c.range.upper);
        const std::vector<ReportTable::Row>& rows = table->rows();
        ASSERT_EQ(rows.size(), c.shownRow ? 5u : 4u) << name;
        const QStringList names{QStringLiteral("T3"), QStringLiteral("T1"), QStringLiteral("T7"),
                                captions.text(ReportCaptions::Total),
                                captions.text(ReportCaptions::ShownRange)};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].cells.front(), names[static_cast<qsizetype>(i)]) << name << i;
            EXPECT_EQ(rows[i].bold, i == 3) << name << " row " << i;
        }
        EXPECT_EQ(rows[3].cells[1], QStringLiteral("60")) << name;
    }
}

// A peak whose record has no program line shows an empty cell, never 0; without a program the
// column is not there.
TEST(MachiningReport, APeakWithoutALineHasAnEmptyProgramLine) {
    application();
    const ReportCaptions captions;
    MadeView view;
    const ReportFacts facts =
        ComposeReport(view, QStringLiteral("t"), QStringLiteral("d"), captions);
    MachiningReport report(facts, captions);
    const std::unique_ptr<ReportTable> table = report.peaksTable();
    ASSERT_EQ(table->rows().size(), 3u);
    EXPECT_EQ(table->rows()[0].cells.back(), QStringLiteral("12"));
    EXPECT_EQ(table->rows()[1].cells.back(), QString());
    EXPECT_EQ(table->rows()[2].cells.back(), QStringLiteral("7"));
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(table->rows()[i].cells.front(), QString::number(i + 1)) << "ranks from 1";
        EXPECT_FALSE(table->rows()[i].bold);
    }

    MadeView without;
    without.program = false;
    const ReportFacts plain =
        ComposeReport(without, QStringLiteral("t"), QStringLiteral("d"), captions);
    MachiningReport plainReport(plain, captions);
    EXPECT_EQ(plainReport.peaksTable()->rows()[0].cells.size(), 6);
}

} // namespace
