#include "changeruns.h"
#include "curvexhostsupport.h"
#include "samplecutdata.h"
#include "shownrecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

// The change runs, the records shown and the air rows as a host sees them.

using namespace curvextest;
using component::InvokeKind;

namespace {

// Where record i lies on the distance axis, in percent of the whole.
float percentOf(std::uint32_t i) {
    const CutDataSet& data = SampleCutData();
    return data.totalDistance[i] / data.totalDistance[data.count - 1] * 100.0f;
}

using CurvexChangesTest = CurvexSampleTest;

// The air cutting of records first..end-1 summed here: moves that are not G00 and whose removal
// is 0 or less or not a number, their length the growth of the running distance.
struct Air {
    double length = 0.0, programmed = 0.0, optimised = 0.0;
};

Air airOf(const CutDataSet& data, std::uint32_t first, std::uint32_t end, int tool = -1) {
    Air air;
    for (std::uint32_t i = first; i < end; ++i) {
        const CutRecord& r = data.records[i];
        const double length = static_cast<double>(data.totalDistance[i]) -
                              (i > 0 ? static_cast<double>(data.totalDistance[i - 1]) : 0.0);
        if (r.motionCode == 0 || r.removal > 0.0f || !(length > 0.0) ||
            (tool >= 0 && r.toolNo != tool))
            continue;
        air.length += length;
        air.programmed += r.orgFeed > 0 ? 60.0 * length / r.orgFeed : 0.0;
        air.optimised += r.optFeed > 0 ? 60.0 * length / r.optFeed : 0.0;
    }
    return air;
}

void expectAirRow(const QVariant& row, const Air& expected, const std::string& what) {
    const QVariantList fields = row.toList();
    ASSERT_EQ(fields.size(), curvex::AirFieldCount) << what;
    const double want[] = {expected.length, expected.programmed, expected.optimised};
    for (int k = 0; k < curvex::AirFieldCount; ++k)
        EXPECT_NEAR(fields[k].toDouble(), want[k], 1e-4 * std::max(1.0, want[k]))
            << what << " field " << k;
}

} // namespace

TEST_F(CurvexChangesTest, RowsGiveEveryFieldOfTheLargestRuns) {
    const ChangeLists lists = LargestChangeRuns(SampleCutData(), 50);
    ASSERT_FALSE(lists.faster.empty());
    for (const auto kind : {curvex::ChangeKind::Slower, curvex::ChangeKind::Faster}) {
        for (const int top : {0, 1, 20, 50}) {
            const QVariantList rows =
                call(curvex::DispGetChanges, {static_cast<int>(kind), top}).toList();
            const std::vector<ChangeRun>& expected = lists.of(kind);
            ASSERT_EQ(rows.size(),
                      std::min<qsizetype>(top, static_cast<qsizetype>(expected.size())));
            for (qsizetype n = 0; n < rows.size(); ++n) {
                const QVariantList row = rows[n].toList();
                const ChangeRun& run = expected[static_cast<std::size_t>(n)];
                ASSERT_EQ(row.size(), curvex::ChangeFieldCount);
                EXPECT_EQ(row[curvex::ChangeFirst].toUInt(), run.first);
                EXPECT_EQ(row[curvex::ChangeLast].toUInt(), run.last);
                EXPECT_EQ(row[curvex::ChangeFirstBlock].toInt(),
                          SampleCutData().blockNos[run.first]);
                EXPECT_EQ(row[curvex::ChangeLastBlock].toInt(), SampleCutData().blockNos[run.last]);
                EXPECT_EQ(row[curvex::ChangeToolNo].toInt(),
                          SampleCutData().records[run.first].toolNo);
                EXPECT_EQ(row[curvex::ChangeLength].toDouble(), run.length);
                EXPECT_EQ(row[curvex::ChangeProgrammed].toDouble(), run.programmed);
                EXPECT_EQ(row[curvex::ChangeOptimised].toDouble(), run.optimised);
            }
        }
    }
}

TEST_F(CurvexChangesTest, BadKindsAndCountsAreRefused) {
    for (const auto& [kind, top] : {std::pair{2, 20}, std::pair{-1, 20}, std::pair{0, -1}}) {
        const QVariant result = call(curvex::DispGetChanges, {kind, top});
        EXPECT_EQ(result.typeId(), QMetaType::Bool) << kind << " " << top;
        EXPECT_FALSE(result.toBool()) << kind << " " << top;
    }
    QVariantList notANumber{QStringLiteral("x"), 20};
    EXPECT_EQ(
        hosted->control().invoke(curvex::DispGetChanges, InvokeKind::Method, notANumber, nullptr),
        component::InvokeResult::TypeMismatch);
    QVariantList one{0};
    EXPECT_EQ(hosted->control().invoke(curvex::DispGetChanges, InvokeKind::Method, one, nullptr),
              component::InvokeResult::BadParamCount);
}

// The shown range covers the records with a tenth of their width either side, within 0..100; a
// single record gets the narrowest range about it. The first record is marked.
TEST_F(CurvexChangesTest, ShowRecordsShowsTheRunWithATenthEitherSide) {
    const CutDataSet& data = SampleCutData();
    const std::uint32_t last = data.count - 1;
    const float narrowest = 300.0f / data.totalDistance[last];
    const struct {
        std::uint32_t first, last;
    } cases[] = {{data.count / 3, data.count / 2}, {0, data.count / 5},
                 {data.count * 9 / 10, last},      {2, 3},
                 {data.count / 2, data.count / 2}, {0, last}};
    for (const auto& c : cases) {
        sink.events.clear();
        ASSERT_TRUE(
            call(curvex::DispShowRecords, {static_cast<int>(c.first), static_cast<int>(c.last)})
                .toBool());
        const float a = percentOf(c.first);
        const float b = percentOf(c.last);
        float lower = std::max(0.0f, a - (b - a) / 10.0f);
        float upper = std::min(100.0f, b + (b - a) / 10.0f);
        if (upper - lower < narrowest) {
            lower = std::clamp((a + b) / 2.0f - narrowest / 2.0f, 0.0f, 100.0f - narrowest);
            upper = lower + narrowest;
        }
        const auto [shownLower, shownUpper] = distArea();
        EXPECT_NEAR(shownLower, lower, 1e-3f) << c.first << ".." << c.last;
        EXPECT_NEAR(shownUpper, upper, 1e-3f) << c.first << ".." << c.last;
        const auto readOut = std::find_if(sink.events.begin(), sink.events.end(),
                                          [](auto& e) { return e.dispid == curvex::EventReadOut; });
        ASSERT_NE(readOut, sink.events.end());
        EXPECT_EQ(readOut->args[0].toUInt(), c.first);
    }
    for (const auto& [first, lastRecord] :
         {std::pair{-1, 5}, std::pair{6, 5}, std::pair{0, static_cast<int>(data.count)}})
        EXPECT_FALSE(call(curvex::DispShowRecords, {first, lastRecord}).toBool())
            << first << ".." << lastRecord;
}

TEST_F(CurvexChangesTest, AirRowsMatchSumsOverTheRecords) {
    const CutDataSet& data = SampleCutData();
    expectAirRow(call(curvex::DispGetTotalAirRow), airOf(data, 0, data.count), "total");
    const int tools = call(curvex::DispGetToolRowCount).toInt();
    ASSERT_GT(tools, 1);
    for (int index = 0; index < tools; ++index) {
        const int tool = call(curvex::DispGetToolRow, {index}).toList()[curvex::TimeToolNo].toInt();
        expectAirRow(call(curvex::DispGetToolAirRow, {index}), airOf(data, 0, data.count, tool),
                     "tool " + std::to_string(tool));
    }
    EXPECT_FALSE(call(curvex::DispGetToolAirRow, {tools}).isValid());
    EXPECT_FALSE(call(curvex::DispGetToolAirRow, {-1}).isValid());
    setDistArea(20.0f, 45.0f);
    const RecordRange shown = ShownRecords(data, 0, {20.0f, 45.0f});
    expectAirRow(call(curvex::DispGetShownAirRow), airOf(data, shown.first, shown.end), "shown");
    // The machining-time rows keep their fields.
    EXPECT_EQ(call(curvex::DispGetTotalRow).toList().size(), curvex::TimeFieldCount);
    EXPECT_EQ(call(curvex::DispGetShownRow).toList().size(), curvex::TimeFieldCount);
    EXPECT_GT(airOf(data, 0, data.count).length, 0.0) << "the sample cuts air";
}
