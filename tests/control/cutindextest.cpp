#include "cutindex.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

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
        {"random blocks", randomBlocks(3, count), -1},
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

} // namespace
