#include "chartframe.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"
#include "recordpick.h"
#include "shownrecords.h"
#include "timeaxisticks.h"
#include "timeaxisvalues.h"
#include "viewranges.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using curvex::TimeAxisMode;

constexpr float kG00Feed = 120.0f;

// Blocks whose times are exact in float: lengths in halves of a mm, feeds of 30 to 240 mm/min and
// G00 moves at 120 mm/min, so that 60 x length / feed is a multiple of 1/8 s. Some moves have no
// programmed feed and take no programmed time; the tool changes now and then.
std::vector<TestBlock> timedBlocks(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    const std::int32_t feeds[] = {30, 60, 120, 240};
    std::vector<TestBlock> blocks;
    std::int16_t tool = 1;
    for (int i = 0; i < count; ++i) {
        TestBlock block;
        block.step = 0.5f * static_cast<float>(1 + percent(random) % 40);
        block.removal = static_cast<float>(percent(random)) * 0.05f;
        block.blockNo = i * 10;
        block.motionCode = percent(random) < 8 ? 0 : 1;
        block.orgFeed = percent(random) < 4 ? 0 : feeds[percent(random) % 4];
        block.optFeed = feeds[percent(random) % 4];
        if (percent(random) < 2)
            tool = static_cast<std::int16_t>(tool % 5 + 1);
        block.tool = tool;
        blocks.push_back(block);
    }
    return blocks;
}

// The seconds a block takes on the axis, worked out here: G00 moves at the G00 feed, other moves
// at their feed, moves without feed none.
float secondsOf(const TestBlock& block, TimeAxisMode mode) {
    const std::int32_t feed =
        mode == TimeAxisMode::Programmed ? block.orgFeed : block.optFeed.value_or(block.orgFeed);
    if (block.motionCode == 0)
        return 60.0f * block.step / kG00Feed;
    return feed > 0 ? 60.0f * block.step / static_cast<float>(feed) : 0.0f;
}

// The same blocks moving as far as they take seconds: their distances are the times.
std::vector<TestBlock> blocksAlongTime(std::vector<TestBlock> blocks, TimeAxisMode mode) {
    for (TestBlock& block : blocks)
        block.step = secondsOf(block, mode);
    return blocks;
}

ChartState chartOf(int width, int height, ShownRange shown) {
    ChartState chart;
    chart.width = width;
    chart.height = height;
    chart.shown = shown;
    chart.g00Feed = kG00Feed;
    return chart;
}

// The rows above the horizontal axis's ticks, where both charts draw the same: the curves, the
// vertical scale and the maximum. The tick labels and titles below the axis differ by design.
std::string firstDifferenceAbove(const QImage& a, const QImage& b, int rows) {
    return firstDifference(a.copy(0, 0, a.width(), rows), b.copy(0, 0, b.width(), rows));
}

int pixelsOtherThan(const QImage& image, QRgb background, int rows) {
    int count = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != background;
    return count;
}

struct ViewCase {
    const char* name;
    ShownRange shown;
    CompareMode compare;
    std::uint8_t drawMode;
    bool fitHeight;
    bool legend;
};

const ViewCase kViews[] = {
    {"whole", {0.0f, 100.0f}, CompareMode::None, 0, false, false},
    {"window", {12.5f, 37.0f}, CompareMode::None, 1, false, false},
    {"window fitted", {40.0f, 41.0f}, CompareMode::None, 2, true, false},
    {"last percent", {99.0f, 100.0f}, CompareMode::None, 0, false, true},
    {"below the minimum span", {50.0f, 50.0001f}, CompareMode::None, 0, false, false},
    {"feeds compared", {0.0f, 100.0f}, CompareMode::Feeds, 0, false, true},
    {"rates compared in a window", {20.0f, 60.0f}, CompareMode::Rates, 0, true, false},
};

} // namespace

// The chart over the time axis is, above the axis, pixel for pixel the plain chart of a data set
// whose distances are those times; the read-out picks the same record in every column and the
// shown records are the same.
TEST(TimeAxis, DrawsAndPicksAsThePlainChartOverTheSameValues) {
    ensureGuiApplication();
    const std::vector<TestBlock> blocks = timedBlocks(41, 30000);
    const CutDataSet data = makeData(blocks);
    for (const TimeAxisMode mode : {TimeAxisMode::Programmed, TimeAxisMode::Optimised}) {
        const CutDataSet alongTime = makeData(blocksAlongTime(blocks, mode));
        const TimeAxisValues times(data, mode, kG00Feed);
        ASSERT_EQ(times.total(), alongTime.totalDistance[alongTime.count - 1]);
        for (const ViewCase& view : kViews) {
            for (const auto& [width, height] : {std::pair{1000, 600}, std::pair{333, 201}}) {
                const std::string what =
                    std::string(view.name) + " " + std::to_string(width) +
                    (mode == TimeAxisMode::Programmed ? " programmed" : " optimised");
                ChartState plain = chartOf(width, height, view.shown);
                plain.compareMode = view.compare;
                plain.drawMode = view.drawMode;
                plain.fitHeight = view.fitHeight;
                plain.legend = view.legend;
                ChartState timed = plain;
                timed.timeAxis = mode;
                timed.timeValues = &times;
                QImage expected = blankImage(width, height);
                QImage actual = blankImage(width, height);
                DrawGraph(expected, plain, &alongTime);
                DrawGraph(actual, timed, &data);
                const int rows = LayoutFrame(width, height).y0 - kTickLength;
                EXPECT_GT(pixelsOtherThan(expected, qRgb(255, 255, 255), rows), 200) << what;
                EXPECT_EQ(firstDifferenceAbove(actual, expected, rows), "no difference") << what;
                const RecordPicker plainPicker(alongTime);
                const RecordPicker timedPicker(data);
                for (int column = 0; column < width; column += 7) {
                    const auto a = timedPicker.pick(timed, column);
                    const auto b = plainPicker.pick(plain, column);
                    ASSERT_EQ(a.has_value(), b.has_value()) << what << " column " << column;
                    if (a) {
                        EXPECT_EQ(a->index, b->index) << what << " column " << column;
                    }
                }
                const RecordRange timedShown = ShownRecords(data, HorizontalOf(timed), view.shown);
                const RecordRange plainShown = ShownRecords(alongTime, 0, view.shown);
                EXPECT_EQ(timedShown.first, plainShown.first) << what;
                EXPECT_EQ(timedShown.end, plainShown.end) << what;
            }
        }
    }
}

// Switching between a distance axis and a time axis keeps the records shown: the range of the
// records on the other axis shows them again, and besides them only records whose value there
// ties with the first or the last of them.
TEST(TimeAxis, RangeOfRecordsShowsTheSameRecordsOnTheOtherAxis) {
    const std::vector<TestBlock> blocks = timedBlocks(7, 20000);
    const CutDataSet data = makeData(blocks);
    const TimeAxisValues programmed(data, TimeAxisMode::Programmed, kG00Feed);
    const TimeAxisValues optimised(data, TimeAxisMode::Optimised, kG00Feed);
    const HorizontalAxis axes[] = {HorizontalAxis(0), HorizontalAxis(1), HorizontalAxis(2),
                                   HorizontalAxis(0, &programmed), HorizontalAxis(0, &optimised)};
    std::mt19937 random(3);
    std::uniform_real_distribution<float> lower(0.0f, 90.0f);
    std::uniform_real_distribution<float> width(5.0f, 60.0f);
    for (int k = 0; k < 200; ++k) {
        const float a = lower(random);
        const ShownRange shown{a, std::min(100.0f, a + width(random))};
        for (const HorizontalAxis& from : axes) {
            const RecordRange records = ShownRecords(data, from, shown);
            ASSERT_LT(records.first, records.end);
            for (const HorizontalAxis& to : axes) {
                const ShownRange converted =
                    RangeOfRecords(data, to, records, MinimumWidthPercent(data, to));
                const RecordRange again = ShownRecords(data, to, converted);
                const std::string what =
                    std::to_string(shown.lower) + ".." + std::to_string(shown.upper) + " from " +
                    std::to_string(from.distanceMode()) + (from.isTime() ? "t" : "") + " to " +
                    std::to_string(to.distanceMode()) + (to.isTime() ? "t" : "");
                // Records that tie on the other axis with the first or the last shown one (G00
                // moves without cutting distance, moves without time) cannot be told apart.
                ASSERT_LE(again.first, records.first) << what;
                ASSERT_GE(again.end, records.end) << what;
                for (std::uint32_t i = again.first; i < records.first; ++i)
                    ASSERT_EQ(to.valueAt(data, i), to.valueAt(data, records.first)) << what;
                for (std::uint32_t i = records.end; i < again.end; ++i)
                    ASSERT_EQ(to.valueAt(data, i), to.valueAt(data, records.end - 1)) << what;
            }
        }
    }
    EXPECT_EQ(RangeOfRecords(data, axes[3], {0, data.count}, 0.0f), (ShownRange{0.0f, 100.0f}));
}

TEST(TimeAxis, StepsAreTheLargestOfAtMostHalfTheSpanWithTwoTicks) {
    const struct {
        float a, b, step;
    } cases[] = {
        {0.0f, 1.0f, 1.0f},         {0.0f, 3.0f, 1.0f},         {0.0f, 4.0f, 2.0f},
        {0.0f, 10.0f, 5.0f},        {0.0f, 25.0f, 10.0f},       {0.0f, 59.0f, 15.0f},
        {0.0f, 60.0f, 30.0f},       {100.0f, 130.0f, 10.0f},    {0.0f, 150.0f, 60.0f},
        {0.0f, 717.0f, 300.0f},     {0.0f, 1800.0f, 900.0f},    {0.0f, 3599.0f, 900.0f},
        {0.0f, 7200.0f, 3600.0f},   {0.0f, 14400.0f, 7200.0f},  {0.0f, 36000.0f, 18000.0f},
        {0.0f, 1.0e6f, 360000.0f},  {3600.0f, 3660.0f, 30.0f},  {590.0f, 610.0f, 10.0f},
        {0.0f, 72000.0f, 36000.0f}, {0.0f, 4352018.0f, 1.8e6f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NiceTimeStep(c.a, c.b), c.step) << c.a << ".." << c.b;
}

TEST(TimeAxis, LabelsAreMinutesAndSecondsBelowAnHourAndHoursFromIt) {
    const struct {
        float seconds;
        const char* label;
    } cases[] = {
        {0.0f, "0:00"},       {5.0f, "0:05"},         {59.0f, "0:59"},        {60.0f, "1:00"},
        {75.0f, "1:15"},      {12.6f, "0:13"},        {3599.0f, "59:59"},     {3600.0f, "1:00:00"},
        {3725.0f, "1:02:05"}, {36000.0f, "10:00:00"}, {90000.0f, "25:00:00"}, {-3.0f, "0:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClockLabel(c.seconds), c.label) << c.seconds;
}
