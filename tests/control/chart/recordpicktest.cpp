#include "recordpick.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"
#include "seriesmaxindex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <vector>

namespace {

// At 1000 x 600 the plot starts at column 63 and a range of 100 units takes 9.17 pixels per unit:
// distance 10 falls into column 154, 10.6 into 160, 100 into 980.
ChartState view(std::int32_t distanceMode = 0, float lower = 0.0f, float upper = 100.0f) {
    ChartState v;
    v.width = 1000;
    v.height = 600;
    v.distanceMode = distanceMode;
    v.shown.lower = lower;
    v.shown.upper = upper;
    return v;
}

std::optional<PickedRecord> pickAt(const CutDataSet& data, const ChartState& v, int column) {
    return RecordPicker(data).pick(v, column);
}

// Blocks at the given distances along x with the given removals (the first at distance 0).
CutDataSet blocksAt(const std::vector<float>& distances, const std::vector<float>& removals) {
    std::vector<TestBlock> blocks;
    float previous = 0.0f;
    for (std::size_t i = 0; i < distances.size(); ++i) {
        TestBlock block;
        block.step = distances[i] - previous;
        block.removal = removals[i];
        block.blockNo = static_cast<std::int32_t>(i);
        previous = distances[i];
        blocks.push_back(block);
    }
    return makeData(blocks);
}

TEST(RecordPick, PicksTheHighestRecordOfTheColumnOrOfTheNearestOne) {
    // Records 1 to 4 share column 154; 2 and 4 tie on the largest value.
    const CutDataSet crowded =
        blocksAt({0.0f, 10.0f, 10.01f, 10.02f, 10.03f, 100.0f}, {1, 2, 5, 3, 5, 1});
    // Columns 154 and 160 with nothing between them.
    const CutDataSet gap = blocksAt({0.0f, 10.0f, 10.6f, 100.0f}, {1, 4, 2, 1});
    const CutDataSet level = blocksAt({0.0f, 10.0f, 10.01f, 10.02f, 100.0f}, {0, 3, 3, 3, 0});
    struct Case {
        const char* what;
        const CutDataSet& data;
        int column;
        std::uint32_t index;
        int x;
    };
    const Case cases[] = {
        {"the largest of a crowded column, first of equals", crowded, 154, 2, 154},
        {"the only record of the last column", crowded, 980, 5, 980},
        {"left of the first record: the first column", crowded, 10, 0, 63},
        {"right of the last record: the last column", crowded, 2000, 5, 980},
        {"an empty column nearer the left one", gap, 156, 1, 154},
        {"an empty column as near to both: the left one", gap, 157, 1, 154},
        {"an empty column nearer the right one", gap, 158, 2, 160},
        {"an empty column beside a crowded one", crowded, 155, 2, 154},
        {"equal values: the first of them", level, 154, 1, 154},
    };
    for (const Case& c : cases) {
        const auto picked = pickAt(c.data, view(), c.column);
        ASSERT_TRUE(picked) << c.what;
        EXPECT_EQ(picked->index, c.index) << c.what;
        EXPECT_EQ(picked->x, c.x) << c.what;
    }
}

// Records 1 to `records` at distance 10 (column 154), all with removal 1 but those at `highest`
// with 7; a last record at 100 has 9. The pick is the first of the 7s, also where a column longer
// than 1,024 records takes its maximum from the block index.
TEST(RecordPick, TheHighestRecordOfAColumnWhereverItLies) {
    const struct {
        const char* what;
        std::uint32_t records;
        std::vector<std::uint32_t> highest;
    } cases[] = {
        {"a few records, the last highest", 5, {5}},
        {"thousands, two equal highest", 5000, {1500, 4000}},
        {"thousands, the first highest", 5000, {1}},
        {"more than 1,024, the last highest", 1500, {1500}},
        {"the last highest ends a block of the index", 1279, {1279}},
    };
    for (const auto& c : cases) {
        std::vector<float> distances(c.records + 2, 10.0f);
        std::vector<float> removals(c.records + 2, 1.0f);
        distances.front() = 0.0f;
        distances.back() = 100.0f;
        removals.back() = 9.0f;
        for (const std::uint32_t i : c.highest)
            removals[i] = 7.0f;
        const CutDataSet data = blocksAt(distances, removals);
        const auto picked = pickAt(data, view(), 154);
        ASSERT_TRUE(picked) << c.what;
        EXPECT_EQ(picked->index, c.highest.front()) << c.what;
        EXPECT_EQ(picked->value, 7.0f) << c.what;
    }
}

// The block maxima give what a scan of every record gives, on values with many ties and NaNs.
TEST(SeriesMaxIndex, AgreesWithAScanOverAnyRun) {
    std::mt19937 random(5);
    std::vector<TestBlock> blocks(3000);
    const float values[] = {0.0f, 1.0f, 2.0f, std::nanf("")};
    for (TestBlock& block : blocks)
        block.removal = values[random() % 4];
    const CutDataSet data = makeData(blocks);
    SeriesMaxIndex index;
    index.build(data, 0, 5000.0f);
    ASSERT_TRUE(index.covers(0, 5000.0f));
    EXPECT_FALSE(index.covers(1, 5000.0f));
    EXPECT_FALSE(index.covers(0, 6000.0f));
    for (int round = 0; round < 2000; ++round) {
        std::uint32_t lo = random() % data.count;
        std::uint32_t hi = random() % data.count;
        if (lo > hi)
            std::swap(lo, hi);
        ++hi;
        std::uint32_t expected = lo;
        for (std::uint32_t i = lo + 1; i < hi; ++i)
            if (IsHigherValue(data.records[i].removal, data.records[expected].removal))
                expected = i;
        EXPECT_EQ(index.highest(data, lo, hi).index, expected) << lo << ".." << hi;
    }
}

// Block numbers 10, 50, 20, 80, 50, 80, 100: both 50s fall into column 521, both 80s into 796,
// 20 into 246. In a column without records the nearer crowded column gives its highest record.
TEST(RecordPick, BlockNumbersThatGoUpAndDownAreWalked) {
    std::vector<TestBlock> blocks;
    const std::int32_t numbers[] = {10, 50, 20, 80, 50, 80, 100};
    const float removals[] = {1, 2, 9, 1, 3, 4, 1};
    for (int i = 0; i < 7; ++i)
        blocks.push_back({1.0f, removals[i], 1, numbers[i], 1, 600});
    const CutDataSet data = makeData(blocks);
    const struct {
        const char* what;
        int column;
        std::uint32_t index;
        int x;
    } cases[] = {
        {"the higher of two records of a column", 521, 4, 521},
        {"column 246 of block 20 is nearer than 521", 300, 2, 246},
        {"a gap nearer a crowded column on the left", 600, 4, 521},
        {"a gap nearer a crowded column on the right", 720, 5, 796},
    };
    for (const auto& c : cases) {
        const auto picked = pickAt(data, view(2), c.column);
        ASSERT_TRUE(picked) << c.what;
        EXPECT_EQ(picked->index, c.index) << c.what;
        EXPECT_EQ(picked->x, c.x) << c.what;
        EXPECT_EQ(picked->value, removals[c.index]) << c.what;
    }
}

TEST(RecordPick, NothingWhenTheChartDrawsNoRecord) {
    const CutDataSet twoEnds = blocksAt({0.0f, 100.0f}, {1, 1});
    const CutDataSet empty;
    EXPECT_FALSE(pickAt(empty, view(), 500)) << "no data";
    EXPECT_FALSE(pickAt(twoEnds, view(3), 500)) << "a horizontal quantity without a curve";
    EXPECT_FALSE(pickAt(twoEnds, view(0, 40.0f, 41.0f), 500)) << "a window between records";
    EXPECT_TRUE(pickAt(twoEnds, view(0, 0.0f, 41.0f), 500)) << "the first record is shown";
}

TEST(RecordPick, ThePlottedSeriesDecides) {
    // The G00 block has little removal but the G00 feed makes its rate the largest.
    std::vector<TestBlock> blocks{{0.0f, 1.0f, 1, 1, 1, 600},
                                  {0.01f, 0.5f, 1, 2, 0, 600},
                                  {0.01f, 0.8f, 1, 3, 1, 600},
                                  {100.0f, 0.0f, 1, 4, 1, 600}};
    const CutDataSet data = makeData(blocks);
    ChartState removal = view();
    EXPECT_EQ(pickAt(data, removal, 63).value().index, 0u);
    ChartState rate = view();
    rate.drawMode = 1;
    rate.g00Feed = 6000.0f;
    const auto picked = pickAt(data, rate, 63);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->index, 1u);
    EXPECT_FLOAT_EQ(picked->value, 0.5f * 6000.0f / 60.0f);
}

// Records the points of the curve the renderer sends, by pixel column.
class RecordingPath : public CurvePath {
public:
    void selectPen(ColorRef) override {}
    void moveTo(int, int) override {}
    void lineTo(int x, int y) override {
        auto [it, inserted] = topByColumn.try_emplace(x, y);
        if (!inserted)
            it->second = std::min(it->second, y);
    }
    void finish() override {}

    // The column the read-out must pick for `column`, with the top pixel drawn there.
    std::optional<std::pair<int, int>> expected(int column) const {
        if (topByColumn.empty())
            return std::nullopt;
        const auto right = topByColumn.lower_bound(column);
        if (right != topByColumn.end() && right->first == column)
            return *right;
        if (right == topByColumn.begin())
            return *right;
        const auto left = std::prev(right);
        if (right == topByColumn.end() || column - left->first <= right->first - column)
            return *left;
        return *right;
    }

    std::map<int, int> topByColumn;
};

// The pick agrees with what the renderer draws on random data: the picked record's pixel is the
// highest point drawn in the pointer's column, or in the nearest column with points.
TEST(RecordPick, AgreesWithTheRenderedCurve) {
    ensureGuiApplication();
    struct Window {
        float lower;
        float upper;
    };
    const Window windows[] = {{0.0f, 100.0f}, {37.5f, 38.0f}, {99.0f, 100.0f}, {50.0f, 50.0f}};
    QImage image = blankImage(1000, 600);
    for (const unsigned seed : {1u, 2u, 3u}) {
        CutDataSet data = synthesizedData(seed, 3000);
        // The third data set's block numbers ascend, as they do in most files: they are bisected.
        // Its index is made again for the records as they now are, as a load makes it.
        if (seed == 3) {
            std::sort(data.blockNos.begin(), data.blockNos.end());
            data.index = CutIndex::build(data);
        }
        for (std::int32_t distanceMode = 0; distanceMode <= 2; ++distanceMode)
            for (std::uint8_t function = 0; function <= 2; ++function)
                for (const Window& window : windows) {
                    ChartState v = view(distanceMode, window.lower, window.upper);
                    v.drawMode = function;
                    GdiCanvas canvas(image);
                    RecordingPath path;
                    DrawGraph(canvas, v, &data, path);
                    for (int column = -3; column < 1005; column += 4) {
                        const auto picked = pickAt(data, v, column);
                        const auto expected = path.expected(column);
                        ASSERT_EQ(picked.has_value(), expected.has_value());
                        if (!expected)
                            continue;
                        ASSERT_EQ(std::pair(picked->x, picked->y), *expected)
                            << "seed " << seed << ", mode " << distanceMode << ", function "
                            << int(function) << ", window " << window.lower << ", column "
                            << column;
                    }
                }
    }
}

// The read-out keeps its picker from render to render while it serves the records; a data set
// replaced in the same place (as a load replaces the shared one) needs a new picker.
TEST(RecordPick, APickerServesOnlyTheRecordsItWasMadeFor) {
    CutDataSet data = blocksAt({0.0f, 10.0f, 10.01f, 100.0f}, {1, 2, 5, 1});
    const RecordPicker picker(data);
    EXPECT_TRUE(picker.serves(data));
    const CutDataSet same = data;
    EXPECT_FALSE(picker.serves(same)) << "another data set";
    data = blocksAt({0.0f, 10.0f, 10.01f, 100.0f}, {1, 6, 5, 1});
    EXPECT_FALSE(picker.serves(data)) << "records replaced in place";
    CutDataSet unindexed;
    EXPECT_FALSE(RecordPicker(unindexed).serves(unindexed)) << "no index";
}

} // namespace
