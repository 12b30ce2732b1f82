#include "machiningtime.h"
#include "binarycutwriter.h"
#include "cutdatatesting.h"
#include "durationtext.h"
#include "elapsedtime.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"
#include "shownrecords.h"
#include "synthrecorder.h"
#include "textcutwriter.h"
#include "timeaxisvalues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The figures of one record, worked out here in double precision from the coordinates.
struct RefRecord {
    std::int16_t tool = 0;
    bool rapid = false;
    double length = 0.0;
    std::int32_t orgFeed = 0;
    std::int32_t optFeed = 0;
};

// The records a loader makes of `blocks`: a binary file adds its start position as record 0.
std::vector<RefRecord> referenceRecords(const std::vector<SynthRecorder::Block>& blocks,
                                        bool binary) {
    std::vector<RefRecord> records;
    if (binary)
        records.push_back({0, false, 0.0, 0, 0});
    for (const SynthRecorder::Block& b : blocks)
        records.push_back({b.block.toolNo, b.block.motionCode == 0, b.length(), b.block.orgFeed,
                           b.block.optFeed});
    return records;
}

struct RefSums {
    std::int16_t tool = 0;
    std::uint64_t records = 0;
    double cut = 0.0, rapid = 0.0, programmed = 0.0, optimised = 0.0;
    std::uint64_t noFeedProgrammed = 0, noFeedOptimised = 0;

    void add(const RefRecord& r, double g00Feed) {
        ++records;
        if (r.length == 0.0)
            return;
        if (r.rapid) {
            rapid += r.length;
            programmed += 60.0 * r.length / g00Feed;
            optimised += 60.0 * r.length / g00Feed;
            return;
        }
        cut += r.length;
        if (r.orgFeed > 0)
            programmed += 60.0 * r.length / r.orgFeed;
        else
            ++noFeedProgrammed;
        if (r.optFeed > 0)
            optimised += 60.0 * r.length / r.optFeed;
        else
            ++noFeedOptimised;
    }
};

// One row per tool in the order of first use; a binary file's start record gives its tool a row
// only when another record has that tool.
std::vector<RefSums> referenceTools(const std::vector<RefRecord>& records, double g00Feed,
                                    bool binary) {
    std::vector<RefSums> tools;
    for (const RefRecord& r : records) {
        auto row = std::find_if(tools.begin(), tools.end(),
                                [&](const RefSums& s) { return s.tool == r.tool; });
        if (row == tools.end())
            row = tools.insert(tools.end(), RefSums{r.tool});
        row->add(r, g00Feed);
    }
    if (binary && std::none_of(records.begin() + 1, records.end(),
                               [&](const RefRecord& r) { return r.tool == records.front().tool; }))
        tools.erase(tools.begin());
    return tools;
}

RefSums referenceRange(const std::vector<RefRecord>& records, std::uint32_t first,
                       std::uint32_t end, double g00Feed) {
    RefSums sums;
    for (std::uint32_t i = first; i < end; ++i)
        sums.add(records[i], g00Feed);
    return sums;
}

void expectClose(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::fabs(expected))) << what;
}

void expectTimes(const MachiningTimes& actual, const RefSums& expected, const std::string& what) {
    EXPECT_EQ(actual.records, expected.records) << what;
    expectClose(actual.cutLength, expected.cut, what + " cut");
    expectClose(actual.rapidLength, expected.rapid, what + " rapid");
    expectClose(actual.programmed, expected.programmed, what + " programmed");
    expectClose(actual.optimised, expected.optimised, what + " optimised");
    expectClose(actual.saved, expected.programmed - expected.optimised, what + " saved");
    ASSERT_EQ(actual.savedPercent.has_value(), expected.programmed > 0.0) << what;
    if (actual.savedPercent)
        expectClose(*actual.savedPercent,
                    (expected.programmed - expected.optimised) / expected.programmed * 100.0,
                    what + " percent");
    EXPECT_EQ(actual.noFeedProgrammed, expected.noFeedProgrammed) << what;
    EXPECT_EQ(actual.noFeedOptimised, expected.noFeedOptimised) << what;
}

struct FileCase {
    const char* name;
    bool binary;
    int blocks;
};

const FileCase kFiles[] = {
    {"text with presets", false, 20000},
    {"binary", true, 20000},
    {"text, one block", false, 1},
    {"binary, start only", true, 0},
};

// Generated files with everything the figures have rules for: rapid moves that remove material,
// moves of length 0, feeds of 0 and below, tool 0 and tools used more than once, and in the text
// G92 presets between blocks.
CutDataSet loadCase(const FileCase& c, std::vector<RefRecord>& reference) {
    SynthOptions options = SynthOptions::mixed();
    options.presets = c.binary ? 0 : 3;
    TextCutWriter text;
    BinaryCutWriter binary;
    CutWriter& file = c.binary ? static_cast<CutWriter&>(binary) : text;
    reference = referenceRecords(SynthRecorder::generate(7, c.blocks, options, file), c.binary);
    return c.binary ? loadBinary(file.contents()) : loadText(file.contents());
}

TEST(MachiningTime, ToolRowsAndTotalsMatchIndependentSums) {
    for (const FileCase& c : kFiles) {
        std::vector<RefRecord> reference;
        const CutDataSet data = loadCase(c, reference);
        ASSERT_EQ(data.count, reference.size()) << c.name;
        for (const double g00Feed : {5000.0, 1234.5}) {
            const std::string what = std::string(c.name) + " G00 " + std::to_string(g00Feed);
            const std::vector<RefSums> tools = referenceTools(reference, g00Feed, c.binary);
            const std::vector<ToolTimes> rows = ToolTimesOf(data, g00Feed);
            ASSERT_EQ(rows.size(), tools.size()) << what;
            for (std::size_t t = 0; t < rows.size(); ++t) {
                EXPECT_EQ(rows[t].toolNo, tools[t].tool) << what;
                expectTimes(rows[t].times, tools[t], what + " tool row " + std::to_string(t));
            }
            expectTimes(TotalTimesOf(data, g00Feed),
                        referenceRange(reference, 0, data.count, g00Feed), what + " total");
        }
    }
}

TEST(MachiningTime, MoveLengthsFollowPresetsAndStayExactWhereTheFloatSumsDoNot) {
    std::vector<RefRecord> reference;
    const CutDataSet data = loadCase(kFiles[0], reference);
    double floatSumError = 0.0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        expectClose(MoveLength(data, i), reference[i].length, "record " + std::to_string(i));
        const double fromSums =
            data.totalDistance[i] - (i > 0 ? static_cast<double>(data.totalDistance[i - 1]) : 0.0);
        floatSumError = std::max(floatSumError, std::fabs(fromSums - reference[i].length));
    }
    // What subtracting the rounded running sums would have lost on a single record.
    EXPECT_GT(floatSumError, 1e-4);
}

TEST(MachiningTime, WithoutAG00FeedRapidMovesCountAsMovesWithoutFeed) {
    const CutDataSet data = loadText("T1\nN1)G00X3Y4(N)\nN2)G01X6Y8F600(A1)F1200\nN3)G00X6Y8\n");
    for (const double g00Feed : {0.0, -5.0, std::nan(""), HUGE_VAL}) {
        const MachiningTimes total = TotalTimesOf(data, g00Feed);
        EXPECT_EQ(total.rapidLength, 5.0) << g00Feed;
        EXPECT_EQ(total.noFeedProgrammed, 1u) << g00Feed;
        EXPECT_EQ(total.noFeedOptimised, 1u) << g00Feed;
        EXPECT_DOUBLE_EQ(total.programmed, 0.5) << g00Feed;
        EXPECT_DOUBLE_EQ(total.optimised, 0.25) << g00Feed;
    }
    const MachiningTimes total = TotalTimesOf(data, 3000.0);
    EXPECT_DOUBLE_EQ(total.programmed, 0.6);
    EXPECT_DOUBLE_EQ(total.optimised, 0.35);
    ASSERT_TRUE(total.savedPercent);
    EXPECT_DOUBLE_EQ(*total.savedPercent, 0.25 / 0.6 * 100.0);
    EXPECT_EQ(total.records, 3u);
}

// A step of 1e20 mm overflows the float step length: it counts as a record and adds nothing, in
// the whole file's figures, in a tool's row and in a range summed record by record.
TEST(MachiningTime, AStepThatOverflowsToInfinityCountsOnlyAsARecord) {
    const CutDataSet data =
        loadText("T1\nN1)G01X3Y4F600(A1)F1200\nN2)G01X1e20Y4\nN3)G01X1e20Y10\nN4)G00X1e20Y11\n");
    ASSERT_EQ(data.count, 4u);
    ASSERT_TRUE(std::isinf(MoveLength(data, 1)));
    const std::vector<ToolTimes> rows = ToolTimesOf(data, 6000.0);
    ASSERT_EQ(rows.size(), 1u);
    const MachiningTimes figures[] = {TotalTimesOf(data, 6000.0), rows[0].times,
                                      TimesOf(SumsOfRecords(data, {0, 4}), 6000.0)};
    for (const MachiningTimes& times : figures) {
        EXPECT_EQ(times.records, 4u);
        EXPECT_DOUBLE_EQ(times.cutLength, 11.0);
        EXPECT_DOUBLE_EQ(times.rapidLength, 1.0);
        EXPECT_DOUBLE_EQ(times.programmed, 1.11);
        EXPECT_DOUBLE_EQ(times.optimised, 0.56);
        EXPECT_EQ(times.noFeedProgrammed, 0u);
        EXPECT_EQ(times.noFeedOptimised, 0u);
    }
    const std::vector<ToolTimes> shown = ToolTimesOf(data, RecordRange{1, 3}, 6000.0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].times.records, 2u);
    EXPECT_DOUBLE_EQ(shown[0].times.cutLength, 6.0);
}

// The time axis's value of every record is the running sum, record by record, of the times the
// figures count: G00 moves at the G00 feed (none without one), the other moves at the programmed
// or optimised feed, moves without feed adding nothing. It agrees with the read-out's elapsed time.
TEST(MachiningTime, TimeAxisValuesAreTheRunningSumsOfARecordByRecordWalk) {
    for (const FileCase& c : kFiles) {
        std::vector<RefRecord> reference;
        const CutDataSet data = loadCase(c, reference);
        const ElapsedTime elapsed(data);
        for (const double g00Feed : {5000.0, 1234.5, 0.0}) {
            for (const auto mode :
                 {curvex::TimeAxisMode::Programmed, curvex::TimeAxisMode::Optimised}) {
                const bool optimised = mode == curvex::TimeAxisMode::Optimised;
                const std::string what = std::string(c.name) + " G00 " + std::to_string(g00Feed) +
                                         (optimised ? " optimised" : " programmed");
                const TimeAxisValues times(data, mode, g00Feed);
                ASSERT_EQ(times.count(), data.count) << what;
                double sum = 0.0;
                for (std::uint32_t i = 0; i < data.count; ++i) {
                    const RefRecord& r = reference[i];
                    const double feed = r.rapid ? g00Feed : optimised ? r.optFeed : r.orgFeed;
                    if (r.length > 0.0 && feed > 0.0)
                        sum += 60.0 * r.length / feed;
                    const double tolerance = 1e-6 * std::max(1.0, sum);
                    ASSERT_NEAR(times[i], sum, tolerance) << what << " record " << i;
                    if (i % 97 != 0 && i + 1 != data.count)
                        continue;
                    const ElapsedTime::Seconds read = elapsed.atEndOf(i, g00Feed);
                    ASSERT_NEAR(times[i], optimised ? read.optimised : read.programmed, tolerance)
                        << what << " record " << i;
                }
                if (data.count > 0) {
                    EXPECT_EQ(times.total(), times[data.count - 1]) << what;
                }
            }
        }
    }
}

TEST(MachiningTime, TimeAxisValuesKnowWhatTheyWereBuiltFor) {
    const CutDataSet data = loadText("T1\nN1)G00X3Y4(N)\nN2)G01X6Y8F600(A1)F1200\n");
    const CutDataSet other = loadText("T1\nN1)G00X3Y4(N)\nN2)G01X6Y8F600(A1)F1200\n");
    using curvex::TimeAxisMode;
    const TimeAxisValues times(data, TimeAxisMode::Programmed, 3000.0);
    EXPECT_TRUE(times.builtFor(data, TimeAxisMode::Programmed, 3000.0));
    EXPECT_FALSE(times.builtFor(other, TimeAxisMode::Programmed, 3000.0));
    EXPECT_FALSE(times.builtFor(data, TimeAxisMode::Optimised, 3000.0));
    EXPECT_FALSE(times.builtFor(data, TimeAxisMode::Programmed, 3001.0));
    const TimeAxisValues withoutFeed(data, TimeAxisMode::Programmed, std::nan(""));
    EXPECT_TRUE(withoutFeed.builtFor(data, TimeAxisMode::Programmed, std::nan("")));
    EXPECT_FLOAT_EQ(withoutFeed[0], 0.0f);
    EXPECT_FLOAT_EQ(withoutFeed[1], 0.5f);
    EXPECT_FLOAT_EQ(times[0], 0.1f);
    EXPECT_FLOAT_EQ(times[1], 0.6f);
}

TEST(MachiningTime, PercentIsEmptyWithoutProgrammedTime) {
    const struct {
        const char* text;
        std::uint64_t records;
    } cases[] = {
        {"%\n", 0},
        {"N1)G01X0Y0F600(N)F600\n", 1},
        {"N1)G01X3Y4F0(N)F600\n", 1},
    };
    for (const auto& c : cases) {
        const MachiningTimes total = TotalTimesOf(loadText(c.text), 5000.0);
        EXPECT_EQ(total.records, c.records) << c.text;
        EXPECT_FALSE(total.savedPercent) << c.text;
        EXPECT_EQ(total.programmed, 0.0) << c.text;
    }
}

// The records and pens of a render through a path that sees every record.
class PenPath : public CurvePath {
public:
    void selectPen(ColorRef colour) override { pen_ = colour; }
    void moveTo(int, int) override {}
    void lineTo(int, int) override { pens.push_back(pen_); }
    void finish() override {}

    std::vector<ColorRef> pens;

private:
    ColorRef pen_ = 0;
};

PenPath renderPens(const CutDataSet& data, std::int32_t distanceMode, float lower, float upper) {
    ensureGuiApplication();
    ChartState chart;
    chart.width = 400;
    chart.height = 300;
    chart.distanceMode = distanceMode;
    chart.shown.lower = lower;
    chart.shown.upper = upper;
    for (int n = 0; n < kCurveColours; ++n)
        chart.colours[n] = static_cast<ColorRef>(n);
    QImage image = blankImage(chart.width, chart.height);
    GdiCanvas canvas(image);
    PenPath path;
    DrawGraph(canvas, chart, &data, path);
    return path;
}

TEST(MachiningTime, ShownRangeIsWhatTheChartDrawsAndMatchesIndependentSums) {
    std::vector<RefRecord> reference;
    const CutDataSet data = loadCase(kFiles[0], reference);
    const struct {
        std::int32_t mode;
        float lower, upper;
    } windows[] = {
        {0, 0.0f, 100.0f},   {0, 12.5f, 61.0f}, {0, 40.0f, 40.5f}, {0, 99.99f, 100.0f},
        {1, 3.0f, 97.0f},    {1, 50.0f, 50.0f}, {2, 20.0f, 80.0f}, {2, 0.0f, 0.001f},
        {0, 0.0f, 0.00001f}, {3, 0.0f, 100.0f},
    };
    for (const auto& w : windows) {
        const std::string what = "mode " + std::to_string(w.mode) + " " + std::to_string(w.lower) +
                                 ".." + std::to_string(w.upper);
        const RecordRange range = ShownRecords(data, w.mode, {w.lower, w.upper});
        EXPECT_EQ(range.end - range.first, renderPens(data, w.mode, w.lower, w.upper).pens.size())
            << what;
        expectTimes(ShownTimesOf(data, w.mode, {w.lower, w.upper}, 2500.0),
                    referenceRange(reference, range.first, range.end, 2500.0), what);
        const std::vector<RefSums> tools = referenceTools(
            {reference.begin() + range.first, reference.begin() + range.end}, 2500.0, false);
        const std::vector<ToolTimes> rows = ToolTimesOf(data, range, 2500.0);
        ASSERT_EQ(rows.size(), tools.size()) << what;
        for (std::size_t t = 0; t < rows.size(); ++t) {
            EXPECT_EQ(rows[t].toolNo, tools[t].tool) << what;
            expectTimes(rows[t].times, tools[t], what + " tool row " + std::to_string(t));
        }
    }
}

// The whole range ends at the last record's distance itself: for these totals 100 percent of the
// distance, taken as a percentage, rounds to the float below it.
TEST(MachiningTime, WholeRangeShowsAndDrawsEveryRecord) {
    for (const char* total : {"210606.328125", "45960348", "49543508"}) {
        const CutDataSet data = loadText(std::string("N1)G01X0\nN2)G01X") + total + "\n");
        ASSERT_EQ(data.count, 2u);
        for (const std::int32_t mode : {0, 1}) {
            SCOPED_TRACE(std::string(total) + " mode " + std::to_string(mode));
            const RecordRange range = ShownRecords(data, mode, {0.0f, 100.0f});
            EXPECT_EQ(range.first, 0u);
            EXPECT_EQ(range.end, 2u);
            EXPECT_EQ(renderPens(data, mode, 0.0f, 100.0f).pens.size(), 2u);
            EXPECT_EQ(ShownTimesOf(data, mode, {0.0f, 100.0f}, 5000.0).records, 2u);
        }
    }
}

TEST(MachiningTime, ToolColoursAreThoseTheChartDrawsTheToolIn) {
    for (const FileCase& c : {kFiles[0], kFiles[1]}) {
        std::vector<RefRecord> reference;
        const CutDataSet data = loadCase(c, reference);
        std::map<std::int16_t, std::uint16_t> drawn;
        const std::vector<ColorRef> pens = renderPens(data, 0, 0.0f, 100.0f).pens;
        ASSERT_EQ(pens.size(), data.count) << c.name;
        for (std::uint32_t i = 0; i < data.count; ++i)
            drawn[data.records[i].toolNo] |= static_cast<std::uint16_t>(1u << pens[i]);
        for (const ToolTimes& row : ToolTimesOf(data, 5000.0))
            EXPECT_EQ(row.colours, drawn[row.toolNo]) << c.name << " tool " << row.toolNo;
    }
    // Tool 1 comes back after tool 0: the colour moves on at every change except one from 0.
    const CutDataSet data = loadText("T1\nN1)X1\nT2\nN2)X2\nT0\nN3)X3\nT3\nN4)X4\nT1\nN5)X5\n");
    const std::map<std::int16_t, std::uint16_t> expected = {
        {1, 0b1001}, {2, 0b0010}, {0, 0b0100}, {3, 0b0100}};
    for (const ToolTimes& row : ToolTimesOf(data, 5000.0))
        EXPECT_EQ(row.colours, expected.at(row.toolNo)) << row.toolNo;
}

// A narrowed window draws each record in the colour the whole chart draws it in, also when the
// records before the window left tool 0; the tool rows of the window name the colours drawn in it.
// The windows start in records of tools 3, 7, 0 and 12.
TEST(MachiningTime, AWindowKeepsTheColoursOfTheWholeChart) {
    std::vector<RefRecord> reference;
    const CutDataSet data = loadCase(kFiles[0], reference);
    const std::vector<ColorRef> whole = renderPens(data, 0, 0.0f, 100.0f).pens;
    ASSERT_EQ(whole.size(), data.count);
    const struct {
        float lower, upper;
    } windows[] = {
        {12.5f, 61.0f}, {37.5f, 38.0f}, {40.0f, 40.5f}, {52.5f, 100.0f}, {97.0f, 99.0f},
    };
    for (const auto& w : windows) {
        const std::string what = std::to_string(w.lower) + ".." + std::to_string(w.upper);
        const RecordRange range = ShownRecords(data, 0, {w.lower, w.upper});
        const std::vector<ColorRef> pens = renderPens(data, 0, w.lower, w.upper).pens;
        ASSERT_EQ(pens.size(), range.end - range.first) << what;
        std::map<std::int16_t, std::uint16_t> drawn;
        for (std::uint32_t k = 0; k < pens.size(); ++k) {
            ASSERT_EQ(pens[k], whole[range.first + k]) << what << " record " << range.first + k;
            drawn[data.records[range.first + k].toolNo] |=
                static_cast<std::uint16_t>(1u << pens[k]);
        }
        const std::vector<ToolTimes> rows = ToolTimesOf(data, range, 5000.0);
        ASSERT_EQ(rows.size(), drawn.size()) << what;
        for (const ToolTimes& row : rows)
            EXPECT_EQ(row.colours, drawn[row.toolNo]) << what << " tool " << row.toolNo;
    }
}

// Blocks of a tool moving along X; tool -1 leaves the tool as it was.
struct ToolMove {
    std::int16_t tool;
    float x;
};

std::string binaryOf(const std::vector<ToolMove>& moves) {
    BinaryBytes bytes;
    bytes.header(0.0f, 0.0f, 0.0f);
    for (const ToolMove& m : moves) {
        if (m.tool >= 0)
            bytes.u16(0x0049).u16(static_cast<std::uint16_t>(m.tool));
        else
            bytes.u16(0x0048);
        bytes.f32(m.x).i32(600);
    }
    return bytes.bytes();
}

// The same as a text whose first block is tool 0 at the origin, as the binary file's start.
std::string textOf(const std::vector<ToolMove>& moves) {
    std::string text = "T0\nN1)G01X0Y0Z0F600\n";
    int block = 2;
    for (const ToolMove& m : moves) {
        if (m.tool >= 0)
            text += "T" + std::to_string(m.tool) + "\n";
        text += "N" + std::to_string(block++) + ")G01X" + std::to_string(m.x) + "F600\n";
    }
    return text;
}

// The tool rows of records first..end - 1 by a walk: tools in order of first use with their record
// counts; a binary file's start record gives its tool a row only when another record of the range
// has that tool.
std::vector<std::pair<std::int16_t, std::uint64_t>>
rowsByWalk(const CutDataSet& data, bool binary, std::uint32_t first, std::uint32_t end) {
    std::vector<std::pair<std::int16_t, std::uint64_t>> rows;
    bool startAlone = binary && first == 0 && end > 0;
    for (std::uint32_t i = first; i < end; ++i) {
        const std::int16_t tool = data.records[i].toolNo;
        startAlone = startAlone && (i == 0 || tool != data.records[0].toolNo);
        auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == tool; });
        if (row == rows.end())
            row = rows.insert(rows.end(), {tool, 0});
        ++row->second;
    }
    if (startAlone)
        rows.erase(rows.begin());
    return rows;
}

std::vector<std::pair<std::int16_t, std::uint64_t>> rowsOf(const std::vector<ToolTimes>& times) {
    std::vector<std::pair<std::int16_t, std::uint64_t>> rows;
    for (const ToolTimes& row : times)
        rows.emplace_back(row.toolNo, row.times.records);
    return rows;
}

// A binary file's start point (tool 0) counts in the totals; tool 0 has a row only when another
// record has it. A text's first record is a record like any other.
TEST(MachiningTime, TheStartPointGivesToolZeroARowOnlyWhenAnotherRecordHasIt) {
    const struct Case {
        const char* name;
        std::vector<ToolMove> moves;
    } cases[] = {
        {"start only", {}},
        {"tools 1 and 2", {{1, 5.0f}, {1, 9.0f}, {2, 12.0f}}},
        {"tool 0 again later", {{1, 5.0f}, {0, 7.0f}, {2, 12.0f}, {0, 13.0f}}},
        {"tool 0 right after the start", {{-1, 3.0f}, {-1, 4.0f}, {1, 9.0f}}},
        {"tool 2 comes back", {{2, 1.0f}, {1, 2.0f}, {2, 3.0f}}},
    };
    for (const Case& c : cases) {
        for (const bool binary : {true, false}) {
            const std::string what = std::string(c.name) + (binary ? ", binary" : ", text");
            const CutDataSet data =
                binary ? loadBinary(binaryOf(c.moves)) : loadText(textOf(c.moves));
            ASSERT_EQ(data.count, c.moves.size() + 1) << what;
            EXPECT_EQ(data.moves.startPoint, binary) << what;
            EXPECT_EQ(FirstToolRecord(data, 0), binary ? 1u : 0u) << what;
            EXPECT_EQ(rowsOf(ToolTimesOf(data, 5000.0)), rowsByWalk(data, binary, 0, data.count))
                << what;
            EXPECT_EQ(TotalTimesOf(data, 5000.0).records, data.count) << what;
            for (const std::uint32_t first : {0u, 1u}) {
                const RecordRange range{first, data.count};
                EXPECT_EQ(FirstToolRecord(data, first), binary && first == 0 ? 1u : first) << what;
                EXPECT_EQ(rowsOf(ToolTimesOf(data, range, 5000.0)),
                          rowsByWalk(data, binary, first, data.count))
                    << what << " from record " << first;
            }
        }
    }
}

TEST(MachiningTime, ADataSetWithoutMoveIndexHasNoFigures) {
    CutDataSet data = loadText("T1\nN1)G01X3Y4F600(N)F600\n");
    data.moves = MoveIndex();
    EXPECT_TRUE(ToolTimesOf(data, 5000.0).empty());
    EXPECT_EQ(TotalTimesOf(data, 5000.0).records, 0u);
    EXPECT_EQ(ShownTimesOf(data, 0, {0.0f, 100.0f}, 5000.0).records, 0u);
    EXPECT_EQ(MoveLength(data, 0), 0.0);
}

TEST(DurationText, HoursMinutesAndSecondsToTheTenth) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0.0, "0:00:00.0"},      {0.04, "0:00:00.0"},     {0.05, "0:00:00.1"},
        {59.96, "0:01:00.0"},    {1176.108, "0:19:36.1"}, {3599.95, "1:00:00.0"},
        {36000.0, "10:00:00.0"}, {-62.34, "-0:01:02.3"},  {-0.04, "0:00:00.0"},
        {1e300, "1e+300"},       {INFINITY, "inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DurationText(c.seconds), c.text) << c.seconds;
}

} // namespace
