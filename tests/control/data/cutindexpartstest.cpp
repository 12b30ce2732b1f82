#include "binarycutwriter.h"
#include "cutdatatesting.h"
#include "cutindex.h"
#include "cutsynthesizer.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// The drawing index built in parts on several threads is the one built on one thread: every node
// of both pyramids to the bit, the colour steps and where the distances stop being numbers.

namespace {

std::uint32_t bits(float value) {
    std::uint32_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

auto rangeBits(const ValueRange& range) {
    return std::tuple(bits(range.lo), bits(range.hi));
}

auto seriesBits(const SeriesRanges& ranges) {
    return std::tuple(rangeBits(ranges.removal), rangeBits(ranges.rapidRemoval),
                      rangeBits(ranges.orgRate), rangeBits(ranges.optRate),
                      rangeBits(ranges.orgFeed), rangeBits(ranges.optFeed));
}

void expectSameIndex(const CutIndex& actual, const CutIndex& expected, const std::string& what) {
    ASSERT_EQ(actual.series().levels(), expected.series().levels()) << what;
    ASSERT_EQ(actual.blockNumbers().levels(), expected.blockNumbers().levels()) << what;
    for (int level = 1; level <= expected.series().levels(); ++level) {
        const std::uint64_t entries =
            (expected.series().count() + (std::uint64_t{1} << (4 * level)) - 1) >> (4 * level);
        for (std::uint64_t k = 0; k < entries; ++k) {
            ASSERT_EQ(seriesBits(actual.series().node(level, k)),
                      seriesBits(expected.series().node(level, k)))
                << what << ", level " << level << ", node " << k;
            ASSERT_EQ(rangeBits(actual.blockNumbers().node(level, k)),
                      rangeBits(expected.blockNumbers().node(level, k)))
                << what << ", level " << level << ", node " << k;
        }
    }
    EXPECT_EQ(actual.colourSteps(), expected.colourSteps()) << what;
    EXPECT_EQ(actual.firstNaNDistance(0), expected.firstNaNDistance(0)) << what;
    EXPECT_EQ(actual.firstNaNDistance(1), expected.firstNaNDistance(1)) << what;
    EXPECT_EQ(actual.bytes(), expected.bytes()) << what;
}

CutDataSet generated(std::uint64_t seed, std::int64_t blocks) {
    BinaryCutWriter writer;
    CutSynthesizer(seed).generate(blocks, writer);
    return loadBinary(writer.contents());
}

TEST(CutIndexParts, EveryThreadCountBuildsTheSameIndex) {
    struct Case {
        std::string what;
        CutDataSet data;
    };
    const Case cases[] = {
        {"generated", generated(4, 30000)},
        {"random blocks with NaN and tool 0", makeData(synthesizedBlocks(7, 20011))},
        {"a few records", makeData(synthesizedBlocks(8, 37))},
        {"one record", makeData(synthesizedBlocks(9, 1))},
    };
    for (const Case& c : cases) {
        const CutIndex single = CutIndex::build(c.data, 1);
        for (unsigned threads = 2; threads <= 7; ++threads)
            expectSameIndex(CutIndex::build(c.data, threads), single,
                            c.what + " on " + std::to_string(threads) + " threads");
    }
}

} // namespace
