#include "curvexhostsupport.h"
#include "cutdatatesting.h"
#include "cutloader.h"
#include "machiningtime.h"

#include "../../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace curvextest;

namespace {

class CurvexChartViewsTest : public CurvexHostTest {
protected:
    void SetUp() override {
        CurvexHostTest::SetUp();
        ASSERT_TRUE(loadSample());
        render();
        waitFor([this] { return sink.count(kReDrawed) > 0; });
        sink.events.clear();
    }
};

TEST_F(CurvexChartViewsTest, CompareModeTakesNoneRatesFeedsOrFeedChangeOnly) {
    const struct {
        int mode;
        bool taken;
        int after;
    } cases[] = {{1, true, 1},   {2, true, 2}, {3, true, 3},  {4, false, 3},
                 {-1, false, 3}, {2, true, 2}, {4, false, 2}, {0, true, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(call(curvex::DispSetCompareMode, {c.mode}).toBool(), c.taken) << c.mode;
        EXPECT_EQ(call(curvex::DispGetCompareMode).toInt(), c.after) << c.mode;
    }
}

TEST_F(CurvexChartViewsTest, ChartOptionsAreSetAndReadEachOnItsOwn) {
    for (int option = 0; option < 3; ++option) {
        EXPECT_TRUE(call(curvex::DispSetChartOption, {option, 1}).toBool()) << option;
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(call(curvex::DispGetChartOption, {other}).toBool(), other == option)
                << option << " " << other;
        EXPECT_TRUE(call(curvex::DispSetChartOption, {option, 0}).toBool()) << option;
        EXPECT_FALSE(call(curvex::DispGetChartOption, {option}).toBool()) << option;
    }
    for (const int unknown : {-1, 3, 58})
        EXPECT_FALSE(call(curvex::DispSetChartOption, {unknown, 1}).toBool()) << unknown;
}

TEST_F(CurvexChartViewsTest, TimeAxisTakesOffProgrammedOrOptimisedOnly) {
    EXPECT_EQ(call(curvex::DispGetTimeAxis).toInt(), 0);
    const struct {
        int mode;
        bool taken;
        int after;
    } cases[] = {{1, true, 1}, {2, true, 2}, {3, false, 2}, {-1, false, 2}, {0, true, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(call(curvex::DispSetTimeAxis, {c.mode}).toBool(), c.taken) << c.mode;
        EXPECT_EQ(call(curvex::DispGetTimeAxis).toInt(), c.after) << c.mode;
    }
}

// Switching the axis, or the G00 feed while a time axis is on, keeps the records shown (as the
// shown row counts them) and converts the percent window; the distance mode stays as it was.
// While a time axis is on, the read-out's place is the marked record's elapsed time.
TEST_F(CurvexChartViewsTest, SwitchingTheAxisOrTheG00FeedKeepsTheShownRecords) {
    call(curvex::DispDistanceMode, {1}, component::InvokeKind::PropertyPut);
    setDistArea(20.0f, 45.0f);
    const auto shownRecords = [this] {
        return call(curvex::DispGetShownRow).toList().value(curvex::TimeRecords).toULongLong();
    };
    const std::uint64_t records = shownRecords();
    ASSERT_GT(records, 100u);
    std::pair<float, float> window = distArea();
    const auto step = [&](int dispid, QVariant value, int timeAxis, const char* what) {
        call(dispid, {value});
        EXPECT_EQ(call(curvex::DispGetTimeAxis).toInt(), timeAxis) << what;
        EXPECT_EQ(shownRecords(), records) << what;
        EXPECT_NE(distArea(), window) << what;
        window = distArea();
    };
    step(curvex::DispSetTimeAxis, 1, 1, "programmed");
    step(curvex::DispSetG00feed, 1234.0f, 1, "G00 feed");
    step(curvex::DispSetTimeAxis, 2, 2, "optimised");
    step(curvex::DispSetTimeAxis, 0, 0, "off");
    EXPECT_EQ(call(curvex::DispDistanceMode, {}, component::InvokeKind::PropertyGet).toInt(), 1);
    call(curvex::DispSetG00feed, {5000.0f});
    EXPECT_EQ(distArea(), window) << "a G00 feed without a time axis leaves the range";
    call(curvex::DispSetTimeAxis, {2});
    ASSERT_TRUE(call(curvex::DispMarkRecord, {777}).toBool());
    const QVariantList place = call(curvex::DispGetReadOutPlace).toList();
    ASSERT_EQ(place.size(), 3);
    EXPECT_NEAR(place[0].toDouble(), place[2].toDouble(), 1e-6 * place[2].toDouble());
}

// The marked record's distance and the machining time up to the end of its block, against a
// plain sum over the records' moves: G00 at the G00 feed, moves without feed counting zero.
TEST_F(CurvexChartViewsTest, TheReadOutPlaceGivesPositionAndElapsedTimes) {
    EXPECT_FALSE(call(curvex::DispGetReadOutPlace).isValid());
    CutDataSet data;
    ASSERT_TRUE(LoadCutFile("samples/CUTDATA.txt", CutFormat::Text, data).ok());
    const double g00Feed = call(curvex::DispGetG00feed).toDouble();
    for (const std::uint32_t index : {0u, 17u, data.count / 3, data.count - 1}) {
        ASSERT_TRUE(call(curvex::DispMarkRecord, {static_cast<int>(index)}).toBool());
        const QVariantList place = call(curvex::DispGetReadOutPlace).toList();
        ASSERT_EQ(place.size(), 3) << index;
        double programmed = 0.0;
        double optimised = 0.0;
        for (std::uint32_t i = 0; i <= index; ++i) {
            const double length = MoveLength(data, i);
            const CutRecord& r = data.records[i];
            const double org = r.motionCode == 0 ? g00Feed : r.orgFeed;
            const double opt = r.motionCode == 0 ? g00Feed : r.optFeed;
            programmed += org > 0.0 ? 60.0 * length / org : 0.0;
            optimised += opt > 0.0 ? 60.0 * length / opt : 0.0;
        }
        EXPECT_EQ(place[0].toDouble(), data.totalDistance[index]) << index;
        EXPECT_NEAR(place[1].toDouble(), programmed, 1e-9 * std::max(1.0, programmed)) << index;
        EXPECT_NEAR(place[2].toDouble(), optimised, 1e-9 * std::max(1.0, optimised)) << index;
    }
}

} // namespace

namespace {

// A compare chart's read-out gives the optimised series: removal per second, or the feed; the
// feed-change chart's the change in percent.
TEST_F(CurvexChartViewsTest, TheReadOutOfACompareChartGivesTheOptimisedSeries) {
    CutDataSet data;
    ASSERT_TRUE(LoadCutFile("samples/CUTDATA.txt", CutFormat::Text, data).ok());
    const std::uint32_t index = data.count / 2;
    const CutRecord& r = data.records[index];
    const struct {
        int mode;
        double value;
    } cases[] = {{1, r.removal * (static_cast<float>(r.optFeed) * 0.016666668f)},
                 {2, static_cast<double>(r.optFeed)},
                 {3, (static_cast<double>(r.optFeed) - r.orgFeed) * 100.0 / r.orgFeed}};
    ASSERT_NE(r.motionCode, 0);
    ASSERT_GT(r.orgFeed, 0);
    for (const auto& c : cases) {
        ASSERT_TRUE(call(curvex::DispSetCompareMode, {c.mode}).toBool());
        sink.events.clear();
        ASSERT_TRUE(call(curvex::DispMarkRecord, {static_cast<int>(index)}).toBool());
        const auto readOut = std::find_if(sink.events.begin(), sink.events.end(),
                                          [](auto& e) { return e.dispid == curvex::EventReadOut; });
        ASSERT_NE(readOut, sink.events.end()) << c.mode;
        EXPECT_FLOAT_EQ(readOut->args[11].toFloat(), static_cast<float>(c.value)) << c.mode;
    }
}

} // namespace

namespace {

// The machining-time rows name the colours the chart draws each tool in.
TEST_F(CurvexChartViewsTest, ToolRowsFollowTheColoursByToolNumber) {
    const int rows = call(curvex::DispGetToolRowCount).toInt();
    ASSERT_GT(rows, 1);
    std::vector<int> stepped;
    for (int row = 0; row < rows; ++row)
        stepped.push_back(
            call(curvex::DispGetToolRow, {row}).toList()[curvex::TimeColours].toInt());
    ASSERT_TRUE(call(curvex::DispSetChartOption, {0, 1}).toBool());
    for (int row = 0; row < rows; ++row) {
        const QVariantList fields = call(curvex::DispGetToolRow, {row}).toList();
        const int tool = fields[curvex::TimeToolNo].toInt();
        EXPECT_EQ(fields[curvex::TimeColours].toInt(), 1 << (tool & 15)) << "tool " << tool;
    }
    ASSERT_TRUE(call(curvex::DispSetChartOption, {0, 0}).toBool());
    for (int row = 0; row < rows; ++row)
        EXPECT_EQ(call(curvex::DispGetToolRow, {row}).toList()[curvex::TimeColours].toInt(),
                  stepped[static_cast<std::size_t>(row)])
            << row;
}

// The machining-time rows of a binary file: its start point (tool 0) gives tool 0 a row only when
// another record has tool 0; the rows are the tools of a walk over the records otherwise.
TEST_F(CurvexChartViewsTest, TheStartPointGivesToolZeroARowOnlyWhenAnotherRecordHasIt) {
    const std::vector<std::vector<std::int16_t>> files = {{}, {1, 2}, {1, 0, 2}, {3, 1, 3}};
    TempFolder folder;
    for (const std::vector<std::int16_t>& tools : files) {
        BinaryBytes bytes;
        bytes.header(0.0f, 0.0f, 0.0f);
        for (std::size_t k = 0; k < tools.size(); ++k)
            bytes.u16(0x0049).u16(static_cast<std::uint16_t>(tools[k])).f32(1.0f + k).i32(600);
        writeBytes(folder.file("tools.bin"), bytes.bytes());
        ASSERT_TRUE(call(5, {QString::fromStdString(folder.file("tools.bin")), 0}).toBool());
        // The records' tools in order of first use, the start's tool 0 first.
        std::vector<int> expected = {0};
        for (const std::int16_t tool : tools)
            if (std::find(expected.begin(), expected.end(), tool) == expected.end())
                expected.push_back(tool);
        if (std::find(tools.begin(), tools.end(), 0) == tools.end())
            expected.erase(expected.begin());
        const std::string what = "tools " + std::to_string(tools.size());
        const int rows = call(curvex::DispGetToolRowCount).toInt();
        ASSERT_EQ(rows, static_cast<int>(expected.size())) << what;
        std::vector<int> listed;
        for (int row = 0; row < rows; ++row)
            listed.push_back(
                call(curvex::DispGetToolRow, {row}).toList()[curvex::TimeToolNo].toInt());
        EXPECT_EQ(listed, expected) << what;
        EXPECT_FALSE(call(curvex::DispGetToolRow, {rows}).isValid()) << what;
        const int records = call(curvex::DispGetTotalRow).toList()[curvex::TimeRecords].toInt();
        EXPECT_EQ(records, static_cast<int>(tools.size()) + 1) << what;
    }
}

} // namespace
