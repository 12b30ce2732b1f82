#include "changeruns.h"
#include "cutdatatesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// One block as this test writes it: moves along X by a whole number of mm, so that every length
// is exact in float and in double.
struct Block {
    std::int16_t tool = 1;
    int gCode = 1;
    int step = 1; // mm along X
    std::int32_t orgFeed = 0;
    std::int32_t optFeed = 0;
};

struct Written {
    std::string text;
    std::vector<Block> blocks; // one per record
};

// Blocks with ties, equal feeds, tool changes, G00 moves, zero feeds and moves of no length.
Written randomBlocks(unsigned seed, int count) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::int32_t feeds[] = {0, 600, 800, 800, 1000, 1200};
    Written written;
    std::int16_t tool = 1;
    int x = 0;
    written.text = "T1\n";
    for (int n = 0; n < count; ++n) {
        if (pick(40) == 0) {
            tool = static_cast<std::int16_t>(1 + pick(3));
            written.text += "T" + std::to_string(tool) + "\n";
        }
        Block b;
        b.tool = tool;
        b.gCode = pick(10) == 0 ? 0 : 1;
        b.step = pick(6) == 0 ? 0 : 1 + pick(3);
        b.orgFeed = feeds[pick(6)];
        b.optFeed = pick(3) == 0 ? b.orgFeed : feeds[pick(6)];
        x += b.step;
        written.text += "N" + std::to_string(n + 1) + ")G0" + std::to_string(b.gCode) + "X" +
                        std::to_string(x) + "F" + std::to_string(b.orgFeed) + "(A1)F" +
                        std::to_string(b.optFeed) + "\n";
        written.blocks.push_back(b);
    }
    return written;
}

// The change runs of `blocks` found record by record, in record order. The first record of a
// text file starts at the origin.
std::vector<ChangeRun> walkRuns(const std::vector<Block>& blocks) {
    std::vector<ChangeRun> runs;
    int previousSign = 0;
    std::int16_t previousTool = -1;
    for (std::uint32_t i = 0; i < blocks.size(); ++i) {
        const Block& b = blocks[i];
        const bool held = b.gCode != 0 && b.orgFeed > 0 && b.optFeed > 0 && b.orgFeed != b.optFeed;
        const int sign = !held ? 0 : (b.optFeed < b.orgFeed ? -1 : 1);
        if (sign != 0 && (sign != previousSign || b.tool != previousTool)) {
            ChangeRun run;
            run.first = i;
            run.toolNo = b.tool;
            run.firstBlock = static_cast<std::int32_t>(i + 1);
            runs.push_back(run);
        }
        if (sign != 0) {
            ChangeRun& run = runs.back();
            run.last = i;
            run.lastBlock = static_cast<std::int32_t>(i + 1);
            run.length += b.step;
            run.programmed += 60.0 * b.step / b.orgFeed;
            run.optimised += 60.0 * b.step / b.optFeed;
        }
        previousSign = sign;
        previousTool = b.tool;
    }
    return runs;
}

// The runs of `all` (in record order) of one kind, by the feeds of their first record, most time
// lost or saved first; the stable sort keeps the earlier run first among equals.
std::vector<ChangeRun> expectedList(const std::vector<ChangeRun>& all,
                                    const std::vector<Block>& blocks, ChangeKind kind,
                                    std::uint32_t top) {
    std::vector<ChangeRun> list;
    for (const ChangeRun& run : all) {
        const Block& b = blocks[run.first];
        if ((b.optFeed < b.orgFeed) == (kind == ChangeKind::Slower))
            list.push_back(run);
    }
    std::stable_sort(list.begin(), list.end(), [&](const ChangeRun& a, const ChangeRun& b) {
        return kind == ChangeKind::Slower ? a.difference() > b.difference()
                                          : a.difference() < b.difference();
    });
    if (list.size() > top)
        list.resize(top);
    return list;
}

auto fieldsOf(const ChangeRun& r) {
    return std::tuple(r.first, r.last, r.firstBlock, r.lastBlock, r.toolNo, r.length, r.programmed,
                      r.optimised);
}

void expectSameRuns(const std::vector<ChangeRun>& actual, const std::vector<ChangeRun>& expected,
                    const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(fieldsOf(actual[k]), fieldsOf(expected[k])) << what << " rank " << k + 1;
}

} // namespace

TEST(ChangeRuns, ListsMatchARecordByRecordWalk) {
    struct Case {
        unsigned seed;
        int blocks;
        std::uint32_t top;
        unsigned threads;
    };
    const Case cases[] = {
        {1, 3000, 20, 1}, {1, 3000, 20, 3},     {2, 5000, 5, 4},
        {3, 800, 0, 2},   {4, 2000, 100000, 1}, {4, 2000, 100000, 5},
        {5, 40, 1, 9},    {6, 1, 20, 1},        {7, 20000, 50, 8},
    };
    for (const Case& c : cases) {
        const Written written = randomBlocks(c.seed, c.blocks);
        const CutDataSet data = loadText(written.text);
        ASSERT_EQ(data.count, written.blocks.size());
        const std::vector<ChangeRun> all = walkRuns(written.blocks);
        const ChangeLists lists = LargestChangeRuns(data, c.top, c.threads);
        const std::string what = "seed " + std::to_string(c.seed) + " top " +
                                 std::to_string(c.top) + " threads " + std::to_string(c.threads);
        for (const ChangeKind kind : {ChangeKind::Slower, ChangeKind::Faster}) {
            const std::vector<ChangeRun> ofKind = expectedList(all, written.blocks, kind, c.top);
            expectSameRuns(lists.of(kind), ofKind, what);
        }
    }
}

TEST(ChangeRuns, TiesGoToTheEarlierRunAndEqualFeedsEndARun) {
    // Three runs that cost the same, the second split by a block with equal feeds, a G00 move
    // and a tool change; the lists must put them in record order.
    const char* const text = "T1\n"
                             "N1)G01X2F1000(A1)F500\n"
                             "N2)G01X4F1000(A1)F1000\n"
                             "N3)G01X6F1000(A1)F500\n"
                             "N4)G00X8F1000(A1)F500\n"
                             "N5)G01X10F1000(A1)F500\n"
                             "T2\n"
                             "N6)G01X12F1000(A1)F500\n"
                             "N7)G01X14F0(A1)F500\n"
                             "N8)G01X16F800(A1)F1600\n"
                             "N9)G01X18F800(A1)F1600\n";
    const std::vector<Block> blocks = {
        {1, 1, 2, 1000, 500}, {1, 1, 2, 1000, 1000}, {1, 1, 2, 1000, 500},
        {1, 0, 2, 1000, 500}, {1, 1, 2, 1000, 500},  {2, 1, 2, 1000, 500},
        {2, 1, 2, 0, 500},    {2, 1, 2, 800, 1600},  {2, 1, 2, 800, 1600},
    };
    const CutDataSet data = loadText(text);
    const std::vector<ChangeRun> all = walkRuns(blocks);
    ASSERT_EQ(all.size(), 5u);
    for (const unsigned threads : {1u, 2u, 9u}) {
        const ChangeLists lists = LargestChangeRuns(data, 20, threads);
        for (const ChangeKind kind : {ChangeKind::Slower, ChangeKind::Faster})
            expectSameRuns(lists.of(kind), expectedList(all, blocks, kind, 20),
                           "threads " + std::to_string(threads));
        ASSERT_EQ(lists.slower.size(), 4u);
        EXPECT_EQ(lists.slower[0].first, 0u);
        EXPECT_EQ(lists.slower[3].first, 5u);
        ASSERT_EQ(lists.faster.size(), 1u);
        EXPECT_EQ(lists.faster[0].last, 8u);
    }
}

TEST(ChangeRuns, TheCacheAnswersEveryLengthOfListAndFollowsNewData) {
    const Written first = randomBlocks(11, 4000);
    const Written second = randomBlocks(12, 3000);
    CutDataSet data = loadText(first.text);
    const ChangeLists whole = LargestChangeRuns(data, 1000);
    ChangeRunCache cache;
    for (const std::uint32_t top : {3u, 20u, 7u, 1000u, 0u}) {
        for (const ChangeKind kind : {ChangeKind::Slower, ChangeKind::Faster}) {
            std::vector<ChangeRun> expected = whole.of(kind);
            expected.resize(std::min<std::size_t>(top, expected.size()));
            expectSameRuns(cache.runs(data, kind, top), expected, "top " + std::to_string(top));
        }
    }
    data = loadText(second.text);
    expectSameRuns(cache.runs(data, ChangeKind::Faster, 10),
                   expectedList(walkRuns(second.blocks), second.blocks, ChangeKind::Faster, 10),
                   "new data");
}

TEST(ChangeRuns, NoRunsWithoutRecordsOrMoveIndex) {
    EXPECT_TRUE(LargestChangeRuns(CutDataSet(), 20).slower.empty());
    CutDataSet data = loadText("T1\nN1)G01X3F600(A1)F300\n");
    EXPECT_EQ(LargestChangeRuns(data, 20).slower.size(), 1u);
    data.moves = MoveIndex();
    EXPECT_TRUE(LargestChangeRuns(data, 20).slower.empty());
}
