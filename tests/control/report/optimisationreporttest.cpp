// The section on where the optimisation acted, from a view made here: what it asks the view for,
// the change tables' cells, the line in place of an empty table, the air rows, and the parts a
// host that cannot draw leaves out.
#include "../../platform/tempfolder.h"

#include "machiningreport.h"
#include "madereportview.h"
#include "optimisationreport.h"
#include "reportapplication.h"
#include "reportcaptions.h"
#include "reportcomposition.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

const std::string kHeading = "Where the optimisation acted";
// Half the tenth a duration is printed to, and a little for the binary fractions.
constexpr double kTenth = 0.05 + 1e-9;

// "h:mm:ss.s" in seconds.
double secondsOf(const QString& text) {
    double seconds = 0.0;
    for (const QString& part : text.split(QLatin1Char(':')))
        seconds = seconds * 60.0 + part.toDouble();
    return seconds;
}

ReportChangeRow changeRow(std::int32_t firstBlock, std::int32_t lastBlock, std::int16_t tool,
                          double programmed, double optimised, quint32 line) {
    ReportChangeRow row;
    row.run.first = static_cast<std::uint32_t>(firstBlock) * 10u;
    row.run.last = row.run.first + 3u;
    row.run.firstBlock = firstBlock;
    row.run.lastBlock = lastBlock;
    row.run.toolNo = tool;
    row.run.length = 12.34567 * tool;
    row.run.programmed = programmed;
    row.run.optimised = optimised;
    row.line = line;
    return row;
}

// The text of the report of `view`, as pdftotext reads it; empty when none was written.
std::string reportText(MadeView& view) {
    application();
    const QByteArray pdf = ReportPdf(view, QStringLiteral("t"), QStringLiteral("d"), {});
    if (pdf.isEmpty())
        return {};
    TempFolder folder;
    writeBytes(folder.file("out.pdf"),
               std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    const std::string command =
        "pdftotext -layout '" + folder.file("out.pdf") + "' '" + folder.file("out.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return readBytes(folder.file("out.txt"));
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The report asks for the chart in the feed-change mode, the toolpath coloured by feed change
// and five runs of each kind.
TEST(OptimisationReport, TheViewIsAskedForTheFeedChangeViewsAndFiveRunsOfEachKind) {
    MadeView view;
    const ReportCaptions captions;
    ComposeReport(view, QStringLiteral("t"), QStringLiteral("d"), captions);
    EXPECT_EQ(view.chartModes, std::vector<curvex::CompareMode>{curvex::CompareMode::FeedChange});
    EXPECT_EQ(view.colourings,
              std::vector<curvex::ToolpathColourMode>{curvex::ToolpathColourMode::FeedChange});
    EXPECT_EQ(view.changeCounts, (std::vector<std::size_t>{5, 5}));
}

// Each run is one row: "T" and the tool, the blocks (one number within a block), the line of its
// first record when a program is given (empty for none), the length to the thousandth, the two
// times and the time lost (slower) or saved (faster), read back here as seconds.
TEST(OptimisationReport, AChangeRowHoldsTheRunsFigures) {
    application();
    const ReportCaptions captions;
    const std::vector<ReportChangeRow> slower{changeRow(5, 9, 2, 3.0, 4.5, 31),
                                              changeRow(7, 7, 1, 1.0, 1.25, 0)};
    const std::vector<ReportChangeRow> faster{changeRow(40, 52, 3, 100.0, 61.5, 8)};
    for (const bool program : {true, false}) {
        MadeView view;
        view.program = program;
        view.slower = slower;
        view.faster = faster;
        const ReportFacts facts =
            ComposeReport(view, QStringLiteral("t"), QStringLiteral("d"), captions);
        const OptimisationReport report(facts, captions);
        for (const ChangeKind kind : {ChangeKind::Slower, ChangeKind::Faster}) {
            const std::vector<ReportChangeRow>& made = kind == ChangeKind::Slower ? slower : faster;
            const std::unique_ptr<ReportTable> table = report.changeTable(kind);
            ASSERT_EQ(table->rows().size(), made.size());
            for (std::size_t i = 0; i < made.size(); ++i) {
                const ChangeRun& run = made[i].run;
                const std::string name = std::string(program ? "program " : "") +
                                         (kind == ChangeKind::Slower ? "slower " : "faster ") +
                                         std::to_string(i);
                QStringList cells = table->rows()[i].cells;
                ASSERT_EQ(cells.size(), program ? 7 : 6) << name;
                EXPECT_FALSE(table->rows()[i].bold) << name;
                EXPECT_EQ(cells[0], QStringLiteral("T%1").arg(run.toolNo)) << name;
                const QStringList blocks = cells[1].split(QChar(0x2013));
                EXPECT_EQ(blocks.front().toInt(), run.firstBlock) << name;
                EXPECT_EQ(blocks.back().toInt(), run.lastBlock) << name;
                EXPECT_EQ(blocks.size(), run.firstBlock == run.lastBlock ? 1 : 2) << name;
                if (program) {
                    EXPECT_EQ(cells[2],
                              made[i].line > 0 ? QString::number(made[i].line) : QString())
                        << name;
                    cells.removeAt(2);
                }
                EXPECT_NEAR(cells[2].toDouble(), run.length, 0.0005) << name;
                EXPECT_EQ(cells[2].section(QLatin1Char('.'), 1).size(), 3) << name;
                EXPECT_NEAR(secondsOf(cells[3]), run.programmed, kTenth) << name;
                EXPECT_NEAR(secondsOf(cells[4]), run.optimised, kTenth) << name;
                EXPECT_NEAR(secondsOf(cells[5]), std::abs(run.optimised - run.programmed), kTenth)
                    << name;
            }
        }
    }
}

// The air rows: the whole file's always, the shown range's only when it is narrowed; each the
// view's figures under the captions' names.
TEST(OptimisationReport, TheAirRowsAreTheWholeFileAndANarrowedRange) {
    application();
    const ReportCaptions captions;
    const ShownRange whole{0.0f, 100.0f};
    const ShownRange narrowed{10.0f, 100.0f};
    for (const ShownRange& range : {whole, narrowed}) {
        MadeView view;
        view.range = range;
        view.total = ReportAirRow{QString(), 1234.5678, 61.25, 30.0};
        view.shown = ReportAirRow{QString(), 0.5, 0.04, 3661.0};
        const ReportFacts facts =
            ComposeReport(view, QStringLiteral("t"), QStringLiteral("d"), captions);
        const std::unique_ptr<ReportTable> table = OptimisationReport(facts, captions).airTable();
        const bool shown = range.narrowed();
        ASSERT_EQ(table->rows().size(), shown ? 2u : 1u);
        const ReportAirRow* expected[] = {&*view.total, &*view.shown};
        const QString names[] = {captions.text(ReportCaptions::Total),
                                 captions.text(ReportCaptions::ShownRange)};
        for (std::size_t i = 0; i < table->rows().size(); ++i) {
            const QStringList& cells = table->rows()[i].cells;
            ASSERT_EQ(cells.size(), 4);
            EXPECT_EQ(cells[0], names[i]);
            EXPECT_NEAR(cells[1].toDouble(), expected[i]->length, 0.0005) << i;
            EXPECT_NEAR(secondsOf(cells[2]), expected[i]->programmed, kTenth) << i;
            EXPECT_NEAR(secondsOf(cells[3]), expected[i]->optimised, kTenth) << i;
        }
    }
}

// Under the heading: a table for a kind with runs, the line "No slower blocks" or "No faster
// blocks" for one without (never a table of only its heading), nothing for a host that cannot
// list them; the pictures only from a host that can draw them; no heading without any part.
TEST(OptimisationReport, TheSectionSaysWhatItHasAndLeavesOutWhatTheHostCannotGive) {
    const std::vector<ReportChangeRow> runs{changeRow(5, 9, 2, 3.0, 4.5, 31)};
    struct Case {
        std::optional<std::vector<ReportChangeRow>> slower;
        std::optional<std::vector<ReportChangeRow>> faster;
        bool pictures;
        bool air;
    };
    const Case cases[] = {
        {runs, runs, true, true},
        {std::vector<ReportChangeRow>(), runs, false, true},
        {runs, std::vector<ReportChangeRow>(), true, false},
        {std::vector<ReportChangeRow>(), std::vector<ReportChangeRow>(), false, false},
        {std::nullopt, std::nullopt, true, false},
        {std::nullopt, std::nullopt, false, true},
        {std::nullopt, std::nullopt, false, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "case " + std::to_string(n++);
        MadeView view;
        view.program = false;
        view.slower = c.slower;
        view.faster = c.faster;
        view.pictures = c.pictures;
        if (c.air)
            view.total = ReportAirRow{QString(), 10.0, 1.0, 2.0};
        const std::string text = reportText(view);
        ASSERT_FALSE(text.empty()) << name;
        const bool any = c.slower || c.faster || c.pictures || c.air;
        EXPECT_EQ(has(text, kHeading), any) << name << ":\n" << text;
        EXPECT_EQ(has(text, "Toolpath by feed change"), c.pictures) << name;
        const struct {
            const std::optional<std::vector<ReportChangeRow>>& runs;
            const char* caption;
            const char* none;
        } kinds[] = {{c.slower, "Largest slowdowns", "No slower blocks"},
                     {c.faster, "Largest speed-ups", "No faster blocks"}};
        for (const auto& kind : kinds) {
            const bool listed = kind.runs.has_value();
            const bool rows = listed && !kind.runs->empty();
            EXPECT_EQ(has(text, kind.caption), listed) << name << " " << kind.caption;
            EXPECT_EQ(has(text, std::string(kind.caption) + "\nNo"), listed && !rows)
                << name << " " << kind.caption << ":\n"
                << text;
            EXPECT_EQ(has(text, kind.none), listed && !rows) << name << " " << kind.none;
        }
        const bool tables = (c.slower && !c.slower->empty()) || (c.faster && !c.faster->empty());
        EXPECT_EQ(has(text, "Blocks"), tables) << name << ":\n" << text;
        EXPECT_EQ(has(text, "Air cutting"), c.air) << name;
    }
}

} // namespace
