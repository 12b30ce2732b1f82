#include "binarycutwriter.h"
#include "cutbuilder.h"
#include "cutdatatesting.h"
#include "cutindex.h"
#include "cutsynthesizer.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// The drawing index built in parts on several threads is the one built on one thread: every node
// of both pyramids to the bit, the colour steps, the marks of the G00 records and the programmed
// feed's changes (which look at the record before, in the part before for a part's first record),
// and where the distances stop being numbers.

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
    ASSERT_EQ(actual.marks().size(), expected.marks().size()) << what;
    for (std::size_t leaf = 0; leaf < expected.marks().size(); ++leaf) {
        const LeafMarks& a = actual.marks()[leaf];
        const LeafMarks& e = expected.marks()[leaf];
        ASSERT_EQ(std::tuple(a.rapid, a.newProgrammed), std::tuple(e.rapid, e.newProgrammed))
            << what << ", leaf " << leaf;
    }
    EXPECT_EQ(actual.feedStretches(), expected.feedStretches()) << what;
    EXPECT_EQ(actual.firstNaNDistance(0), expected.firstNaNDistance(0)) << what;
    EXPECT_EQ(actual.firstNaNDistance(1), expected.firstNaNDistance(1)) << what;
    EXPECT_EQ(actual.blockNumbersAscend(), expected.blockNumbersAscend()) << what;
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
        {"G00 stretches of 1 to 40 blocks",
         makeData(brokenFeedBlocks(10, 20011, {1, 2, 17, 40}, 1.0f))},
        {"one record", makeData(synthesizedBlocks(9, 1))},
    };
    for (const Case& c : cases) {
        const CutIndex single = CutIndex::build(c.data, 1);
        for (unsigned threads = 2; threads <= 7; ++threads)
            expectSameIndex(CutIndex::build(c.data, threads), single,
                            c.what + " on " + std::to_string(threads) + " threads");
    }
}

// Records with these block numbers, one a record.
CutDataSet withBlockNumbers(const std::vector<std::int32_t>& numbers) {
    CutBuilder builder(numbers.size());
    for (const std::int32_t number : numbers) {
        CutRecord record;
        record.blockNo = number;
        record.motionCode = 1;
        builder.add(record, 1.0f, 0.0f, 0.0f);
    }
    return builder.take();
}

bool ascendByTheRule(const std::vector<std::int32_t>& numbers) {
    return std::is_sorted(numbers.begin(), numbers.end(), [](std::int32_t a, std::int32_t b) {
        return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b);
    });
}

// A block number below the one before it, wherever it lies (inside a stretch of 16 records, at
// a stretch's start, where the parts of 2 to 7 threads meet, at the ends), makes them not ascend;
// equal numbers ascend, and the numbers count as unsigned. The index says so on any number of
// threads.
TEST(CutIndexParts, BlockNumbersAscendAsTheRecordsSay) {
    constexpr std::uint32_t kCount = 20011;
    std::vector<std::int32_t> ascending(kCount);
    for (std::uint32_t i = 0; i < kCount; ++i)
        ascending[i] = static_cast<std::int32_t>(10 + i / 3);
    std::vector<std::uint32_t> drops = {1, 5, 15, 16, 17, 4096, 10000, kCount - 1};
    const std::uint64_t leaves = (kCount + 15) / 16;
    for (std::uint64_t parts = 2; parts <= 7; ++parts)
        for (std::uint64_t k = 1; k < parts; ++k)
            drops.push_back(static_cast<std::uint32_t>(leaves * k / parts * 16));
    std::vector<std::pair<std::string, std::vector<std::int32_t>>> cases = {
        {"ascending", ascending},
        {"one record", {7}},
        {"equal", std::vector<std::int32_t>(100, 4)},
        {"unsigned above the largest int", {1, 2, INT32_MAX, -5, -1}},
        {"unsigned drop from the top", {1, -1, 0}},
    };
    for (const std::uint32_t at : drops) {
        std::vector<std::int32_t> numbers = ascending;
        numbers[at] = numbers[at - 1] - 1;
        cases.emplace_back("drop at " + std::to_string(at), numbers);
    }
    for (const auto& [what, numbers] : cases) {
        const CutDataSet data = withBlockNumbers(numbers);
        for (unsigned threads = 1; threads <= 7; ++threads)
            EXPECT_EQ(CutIndex::build(data, threads).blockNumbersAscend(), ascendByTheRule(numbers))
                << what << " on " << threads << " threads";
    }
}

} // namespace
