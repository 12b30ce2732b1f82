#include "series.h"
#include "cutdatatesting.h"

namespace {

struct MaskCase {
    std::int32_t mask;
    std::uint8_t previous;
    std::uint8_t expected;
};

TEST(Series, PrimaryDrawModeIsTheLowestSetBit) {
    const MaskCase cases[] = {
        {1, 5, 0},       {2, 0, 1},       {4, 0, 2},         {6, 0, 1},
        {8, 0, 3},       {0x8000, 0, 15}, {0, 2, 2},         {65536, 1, 1},
        {0x10008, 0, 3}, {-1, 9, 0},      {INT32_MIN, 7, 7}, {0x7FFF0000, 4, 4},
    };
    for (const MaskCase& c : cases)
        EXPECT_EQ(PrimaryDrawModeFromMask(c.mask, c.previous), c.expected) << "mask " << c.mask;
}

// Record 0 is a G00 move, record 1 a cut, record 2 a G00 move without removal.
CutDataSet seriesData() {
    return loadText("N1)G00X1F600(A2)F900\nN2)G01X2F600(A2)F900\nN3)G00X3(N)\n");
}

struct SeriesCase {
    std::uint32_t record;
    std::uint8_t drawMode;
    float g00Feed;
    float expected;
};

TEST(Series, ValueUsesTheFeedOfItsSeries) {
    const CutDataSet data = seriesData();
    const SeriesCase cases[] = {
        {0, 0, 5000, 2.0f},
        {0, 1, 5000, 2.0f * (5000 * kPerSecond)},
        {0, 2, 5000, 2.0f * (5000 * kPerSecond)},
        {0, 1, 6000, 2.0f * (6000 * kPerSecond)},
        {0, 2, 6000, 2.0f * (6000 * kPerSecond)},
        {0, 0, 6000, 2.0f},
        {1, 0, 6000, 2.0f},
        {1, 1, 6000, 2.0f * (600 * kPerSecond)},
        {1, 2, 6000, 2.0f * (900 * kPerSecond)},
        {1, 3, 6000, 2.0f},
        {1, 15, 6000, 2.0f},
        {2, 1, 6000, 0.0f},
        {2, 2, 6000, 0.0f},
    };
    for (const SeriesCase& c : cases) {
        EXPECT_EQ(seriesValue(data, c.record, c.drawMode, c.g00Feed), c.expected)
            << "record " << c.record << " mode " << int(c.drawMode) << " feed " << c.g00Feed;
    }
}

// The maxima cover cuts only and do not depend on the G00 feed.
TEST(Series, MaximaIgnoreTheG00Feed) {
    const CutDataSet data = seriesData();
    EXPECT_EQ(data.maxRemoval(), 2.0f);
    EXPECT_EQ(data.maxRateOrg(), 600 * 2.0f * kPerSecond);
    EXPECT_EQ(data.maxRateOpt(), 900 * 2.0f * kPerSecond);
    EXPECT_GT(seriesValue(data, 0, 1, 6000), data.maxRateOrg());
}

TEST(Series, HorizontalValueFollowsTheDistanceMode) {
    const CutDataSet data = loadText("N-1)G00X3Y4\nN7)G01X0Y0\n");
    struct Case {
        std::uint32_t record;
        std::int32_t mode;
        float expected;
    };
    const Case cases[] = {
        {0, 0, 5}, {1, 0, 10}, {0, 1, 0},  {1, 1, 5}, {0, 2, 4294967295.0f},
        {1, 2, 7}, {1, 3, 0},  {1, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(horizontalValue(data, c.record, c.mode), c.expected)
            << "record " << c.record << " mode " << c.mode;
}

} // namespace
