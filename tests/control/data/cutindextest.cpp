#include "cutindex.h"
#include "graphtestsupport.h"
#include "series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

// The drawing index may hold at most 8 bytes per record whatever the records are: a new tool at
// every record is its worst case, as every record then is a colour step.

namespace {

std::vector<TestBlock> blocksWithTools(int count, int toolRun) {
    std::vector<TestBlock> blocks(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        blocks[static_cast<std::size_t>(i)].tool = static_cast<std::int16_t>(1 + (i / toolRun) % 2);
    return blocks;
}

TEST(CutIndex, HoldsAtMostEightBytesPerRecord) {
    struct Case {
        const char* what;
        std::vector<TestBlock> blocks;
        long long colourSteps; // -1: not counted here
    };
    const int count = 200'003;
    const Case cases[] = {
        {"one tool", blocksWithTools(count, count), 0},
        {"a new tool every 450 records", blocksWithTools(count, 450), (count - 1) / 450},
        {"a new tool at every record", blocksWithTools(count, 1), count - 1},
        {"random blocks", synthesizedBlocks(3, count), -1},
    };
    for (const Case& c : cases) {
        const CutDataSet data = makeData(c.blocks);
        ASSERT_TRUE(data.index.covers(data)) << c.what;
        if (c.colourSteps >= 0) {
            EXPECT_EQ(static_cast<long long>(data.index.colourSteps().size()), c.colourSteps)
                << c.what;
        }
        EXPECT_LE(data.index.bytes(), 8u * data.count) << c.what;
        EXPECT_GT(data.index.bytes(), data.count) << c.what << ": the pyramid is missing";
    }
}

// Each record's marks say what a look at it and the record before says.
TEST(CutIndex, MarksG00RecordsAndProgrammedFeedChanges) {
    struct Case {
        const char* what;
        CutDataSet data;
    };
    const Case cases[] = {
        {"stretches of 1 to 3", makeData(brokenFeedBlocks(1, 5003, {1, 2, 3}, 1.0f))},
        {"stretches of 1 to 400", makeData(brokenFeedBlocks(2, 20000, {1, 5, 16, 400}, 1.0f))},
        {"generated", makeData(synthesizedBlocks(3, 20000))},
        {"one record", makeData(brokenFeedBlocks(4, 1, {1}, 1.0f))},
        {"17 records", makeData(brokenFeedBlocks(5, 17, {1, 2}, 1.0f))},
    };
    for (const Case& c : cases) {
        const CutDataSet& data = c.data;
        ASSERT_EQ(data.index.marks().size(), (data.count + 15) / 16) << c.what;
        for (std::uint32_t i = 0; i < data.count; ++i) {
            const LeafMarks& marks = data.index.marks()[i / 16];
            const auto marked = [&](std::uint16_t bits) { return (bits >> (i % 16) & 1) != 0; };
            const CutRecord& record = data.records[i];
            ASSERT_EQ(marked(marks.rapid), record.motionCode == 0) << c.what << ", record " << i;
            ASSERT_EQ(marked(marks.newProgrammed),
                      i > 0 && record.orgFeed != data.records[i - 1].orgFeed)
                << c.what << ", record " << i;
        }
    }
}

// The list of long stretches between G00 records, against a walk over the records: every run of
// at least 64 cutting records, with the range and last value of each feed.
TEST(CutIndex, ListsTheFeedsOfEveryLongStretchBetweenG00Records) {
    struct Case {
        const char* what;
        CutDataSet data;
    };
    const Case cases[] = {
        {"stretches of 1 to 400",
         makeData(brokenFeedBlocks(2, 20000, {1, 5, 63, 64, 65, 400}, 1.0f))},
        {"machining stretches", makeData(machiningStretchBlocks(6, 30000, 1.0f))},
        {"generated", makeData(synthesizedBlocks(3, 20000))},
        {"one record", makeData(brokenFeedBlocks(4, 1, {1}, 1.0f))},
        {"64 cuts", makeData(std::vector<TestBlock>(64))},
        {"63 cuts", makeData(std::vector<TestBlock>(63))},
    };
    for (const Case& c : cases) {
        const CutDataSet& data = c.data;
        std::vector<FeedStretch> expected;
        for (std::uint32_t i = 0; i < data.count;) {
            std::uint32_t end = i;
            FeedStretch stretch{i, i, {}, {}};
            for (; end < data.count && data.records[end].motionCode != 0; ++end) {
                stretch.orgFeed.range.add(static_cast<float>(data.records[end].orgFeed));
                stretch.optFeed.range.add(static_cast<float>(data.records[end].optFeed));
            }
            if (end - i >= 64) {
                stretch.end = end;
                stretch.orgFeed.last = static_cast<float>(data.records[end - 1].orgFeed);
                stretch.optFeed.last = static_cast<float>(data.records[end - 1].optFeed);
                expected.push_back(stretch);
            }
            i = end + 1;
        }
        EXPECT_EQ(data.index.feedStretches(), expected) << c.what;
        EXPECT_LE(data.index.bytes(), 8u * data.count) << c.what;
    }
}

// Records whose values are the edge cases of the ranges: NaN and -0 removals now and then (-0 in
// one record of `negativeZeroIn`, or none), infinities, negative and zero feeds whose rates are -0
// or NaN, block numbers above 2^31 as unsigned numbers.
CutDataSet edgeRecords(unsigned seed, int count, int negativeZeroIn) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, 999);
    const float removals[] = {std::numeric_limits<float>::quiet_NaN(),
                              -std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              0.0f,
                              -3.5f,
                              1e30f};
    const std::int32_t feeds[] = {-600,
                                  0,
                                  1,
                                  600,
                                  1234,
                                  std::numeric_limits<std::int32_t>::max(),
                                  std::numeric_limits<std::int32_t>::min()};
    CutBuilder builder(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        CutRecord record;
        const int p = pick(random);
        record.removal = negativeZeroIn > 0 && p % negativeZeroIn == 0 ? -0.0f
                         : p < 50                                      ? removals[p % 7]
                                  : static_cast<float>(p) / 997.0f;
        record.orgFeed = p < 100 ? feeds[p % 7] : 600 + p;
        record.optFeed = feeds[pick(random) % 7];
        record.motionCode = pick(random) < 100 ? 0 : 1;
        record.blockNo = static_cast<std::int32_t>(random());
        builder.add(record, 1.0f, 0.0f, 0.0f);
    }
    return builder.take();
}

// Each stretch of 16 records holds the ranges that adding its records' values one by one gives, to
// the bit: removal everywhere, G00 removal, the two rates elsewhere, NaN as 0, and block numbers.
TEST(CutIndex, StretchesHoldTheRangesOfTheirRecords) {
    const auto same = [](const ValueRange& a, const ValueRange& b) {
        return std::memcmp(&a.lo, &b.lo, sizeof a.lo) == 0 &&
               std::memcmp(&a.hi, &b.hi, sizeof a.hi) == 0;
    };
    // Random blocks (seeds 3 to 5), edge values without -0 (6) and with -0 in one record of 97 (7).
    const struct {
        std::uint64_t seed;
        CutDataSet data;
    } cases[] = {
        {3, makeData(synthesizedBlocks(3, 4099))},
        {4, makeData(synthesizedBlocks(4, 4099))},
        {5, makeData(synthesizedBlocks(5, 4099))},
        {6, edgeRecords(6, 4099, 0)},
        {7, edgeRecords(7, 4099, 97)},
    };
    for (const auto& [seed, data] : cases) {
        const std::uint64_t stretches = (data.count + 15) / 16;
        for (std::uint64_t k = 0; k < stretches; ++k) {
            SeriesRanges expected;
            ValueRange numbers;
            for (auto i = static_cast<std::uint32_t>(16 * k);
                 i < std::min<std::uint64_t>(data.count, 16 * k + 16); ++i) {
                const float removal = numberOrZero(data.records[i].removal);
                expected.removal.add(removal);
                if (data.records[i].motionCode == 0) {
                    expected.rapidRemoval.add(removal);
                } else {
                    expected.orgRate.add(numberOrZero(seriesValue(data, i, 1, 0.0f)));
                    expected.optRate.add(numberOrZero(seriesValue(data, i, 2, 0.0f)));
                    expected.orgFeed.add(static_cast<float>(data.records[i].orgFeed));
                    expected.optFeed.add(static_cast<float>(data.records[i].optFeed));
                }
                numbers.add(horizontalValue(data, i, 2));
            }
            const SeriesRanges& actual = data.index.series().node(1, k);
            EXPECT_TRUE(same(actual.removal, expected.removal)) << seed << ", stretch " << k;
            EXPECT_TRUE(same(actual.rapidRemoval, expected.rapidRemoval))
                << seed << ", stretch " << k;
            EXPECT_TRUE(same(actual.orgRate, expected.orgRate)) << seed << ", stretch " << k;
            EXPECT_TRUE(same(actual.optRate, expected.optRate)) << seed << ", stretch " << k;
            EXPECT_TRUE(same(actual.orgFeed, expected.orgFeed)) << seed << ", stretch " << k;
            EXPECT_TRUE(same(actual.optFeed, expected.optFeed)) << seed << ", stretch " << k;
            EXPECT_TRUE(same(data.index.blockNumbers().node(1, k), numbers))
                << seed << ", stretch " << k;
        }
    }
}

// Removals from 1000 and block numbers from 1,000,000, far from 0, so that an entry left unwritten
// or merged with nothing would pull a range to 0. Counts that are multiples of 16 (and of 256)
// fill the last entry of a level exactly.
TEST(CutIndex, TheTopEntryHoldsTheRangesOfEveryRecord) {
    for (const int count : {16, 4096, 65536, 4099}) {
        std::mt19937 random(static_cast<unsigned>(count));
        std::vector<TestBlock> blocks(static_cast<std::size_t>(count));
        for (TestBlock& block : blocks) {
            block.removal = 1000.0f + static_cast<float>(random() % 10);
            block.blockNo = 1'000'000 + static_cast<std::int32_t>(random() % 1000);
        }
        const CutDataSet data = makeData(blocks);
        const auto [removalLo, removalHi] = std::minmax_element(
            blocks.begin(), blocks.end(),
            [](const TestBlock& a, const TestBlock& b) { return a.removal < b.removal; });
        const auto [numberLo, numberHi] = std::minmax_element(
            blocks.begin(), blocks.end(),
            [](const TestBlock& a, const TestBlock& b) { return a.blockNo < b.blockNo; });
        const auto& series = data.index.series();
        const ValueRange& removal = series.node(series.levels(), 0).removal;
        EXPECT_EQ(removal.lo, removalLo->removal) << count << " records";
        EXPECT_EQ(removal.hi, removalHi->removal) << count << " records";
        const auto& numbers = data.index.blockNumbers();
        const ValueRange& top = numbers.node(numbers.levels(), 0);
        EXPECT_EQ(top.lo, static_cast<float>(numberLo->blockNo)) << count << " records";
        EXPECT_EQ(top.hi, static_cast<float>(numberHi->blockNo)) << count << " records";
    }
}

} // namespace
