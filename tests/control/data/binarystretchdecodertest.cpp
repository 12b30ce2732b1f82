#include "binarycutwriter.h"
#include "binaryentries.h"
#include "bitidenticaltesting.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"
#include "referenceload.h"

#include <cmath>
#include <span>
#include <string>
#include <vector>

namespace {

TEST(CutBinary, HeaderAloneGivesOneRecord) {
    const CutDataSet data = loadBinary(BinaryBytes().header(1.5f, -2, 3).bytes());
    ASSERT_EQ(data.count, 1u);
    expectArraysMatchCount(data);
    const CutRecord expected{0, 0, 255, 1.5f, -2, 3, 0, 0, 0, 0};
    EXPECT_EQ(recordFields(data.records[0]), recordFields(expected));
    EXPECT_EQ(data.totalDistance[0], 0.0f);
    EXPECT_EQ(data.cutDistance[0], 0.0f);
    EXPECT_EQ(data.blockNos[0], 0);
    EXPECT_EQ(data.maxima, (std::array<float, kMaximaCount>{}));
}

// One entry after a header at the origin: each field bit reads its field, every other field keeps
// the initial value.
struct FieldCase {
    const char* name;
    std::string entry;
    CutRecord expected;
};

TEST(CutBinary, EachFieldBitReadsItsField) {
    const FieldCase cases[] = {
        {"tool", BinaryBytes().u16(0x0001).u16(0xFFFE).bytes(), {-2, 0, 255, 0, 0, 0, 0, 0, 0, 0}},
        {"block",
         BinaryBytes().u16(0x0002).i32(-70000).bytes(),
         {0, -70000, 255, 0, 0, 0, 0, 0, 0, 0}},
        {"motion", BinaryBytes().u16(0x0004).u8(3).bytes(), {0, 0, 3, 0, 0, 0, 0, 0, 0, 0}},
        {"x", BinaryBytes().u16(0x0008).f32(1.25f).bytes(), {0, 0, 255, 1.25f, 0, 0, 0, 0, 0, 0}},
        {"y", BinaryBytes().u16(0x0010).f32(2.5f).bytes(), {0, 0, 255, 0, 2.5f, 0, 0, 0, 0, 0}},
        {"z", BinaryBytes().u16(0x0020).f32(-4).bytes(), {0, 0, 255, 0, 0, -4, 0, 0, 0, 0}},
        {"programmed feed",
         BinaryBytes().u16(0x0040).i32(1200).bytes(),
         {0, 0, 255, 0, 0, 0, 1200, 0, 0, 0}},
        {"kind", BinaryBytes().u16(0x0080).u8(3).bytes(), {0, 0, 255, 0, 0, 0, 0, 3, 0, 0}},
        {"removal needs a low bit too",
         BinaryBytes().u16(0x0101).u16(1).f32(0.75f).bytes(),
         {1, 0, 255, 0, 0, 0, 0, 0, 0.75f, 0}},
        {"optimised feed",
         BinaryBytes().u16(0x0201).u16(1).i32(900).bytes(),
         {1, 0, 255, 0, 0, 0, 0, 0, 0, 900}},
        {"all fields in bit order",
         BinaryBytes()
             .u16(0x03FF)
             .u16(7)
             .i32(42)
             .u8(2)
             .f32(1)
             .f32(2)
             .f32(3)
             .i32(800)
             .u8(1)
             .f32(0.5f)
             .i32(1000)
             .bytes(),
         {7, 42, 2, 1, 2, 3, 800, 1, 0.5f, 1000}},
        {"high bits carry no bytes",
         BinaryBytes().u16(0xFC01).u16(9).bytes(),
         {9, 0, 255, 0, 0, 0, 0, 0, 0, 0}},
        {"kind above 3 clears kind and removal",
         BinaryBytes().u16(0x0181).u16(1).u8(1).f32(0.5f).u16(0x0080).u8(7).bytes(),
         {1, 0, 255, 0, 0, 0, 0, 0, 0, 0}},
        {"a removal after kind 4 in the same entry stays",
         BinaryBytes().u16(0x0180).u8(4).f32(0.5f).bytes(),
         {0, 0, 255, 0, 0, 0, 0, 0, 0.5f, 0}},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CutDataSet data = loadBinary(BinaryBytes().header(0, 0, 0).bytes() + c.entry);
        ASSERT_GE(data.count, 2u);
        expectArraysMatchCount(data);
        EXPECT_EQ(recordFields(data.records.back()), recordFields(c.expected));
        EXPECT_EQ(data.blockNos.back(), c.expected.blockNo);
    }
}

TEST(CutBinary, EveryFieldIsModal) {
    const std::string bytes = BinaryBytes()
                                  .header(1, 1, 1)
                                  .u16(0x03FF)
                                  .u16(7)
                                  .i32(42)
                                  .u8(2)
                                  .f32(4)
                                  .f32(5)
                                  .f32(1)
                                  .i32(800)
                                  .u8(1)
                                  .f32(0.5f)
                                  .i32(1000)
                                  .u16(0x0008)
                                  .f32(7)
                                  .bytes();
    const CutDataSet data = loadBinary(bytes);
    ASSERT_EQ(data.count, 3u);
    const CutRecord expected{7, 42, 2, 7, 5, 1, 800, 1, 0.5f, 1000};
    EXPECT_EQ(recordFields(data.records[2]), recordFields(expected));
    EXPECT_EQ(data.blockNos, (LoadedArray<std::int32_t>{0, 42, 42}));
    EXPECT_EQ(data.totalDistance, (LoadedArray<float>{0, 5, 8}));
}

// What ends the data, and what comes after it is never read.
struct EndCase {
    const char* name;
    std::string entries;
    std::uint32_t count;
};

TEST(CutBinary, EndOfData) {
    const std::string block = BinaryBytes().u16(0x0002).i32(5).bytes();
    const EndCase cases[] = {
        {"end of file", block + block, 3},
        {"flag word 0", block + BinaryBytes().u16(0).bytes() + block, 2},
        {"flag word 0x0100", block + BinaryBytes().u16(0x0100).f32(1).bytes() + block, 2},
        {"flag word 0x0200", block + BinaryBytes().u16(0x0200).i32(1).bytes() + block, 2},
        {"flag word 0xFF00", block + BinaryBytes().u16(0xFF00).bytes() + block, 2},
        {"a last zero byte", block + std::string(1, '\0'), 2},
        {"garbage after the end", block + BinaryBytes().u16(0).bytes() + "\x01\x02\x03", 2},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CutDataSet data = loadBinary(BinaryBytes().header(0, 0, 0).bytes() + c.entries);
        EXPECT_EQ(data.count, c.count);
        expectArraysMatchCount(data);
    }
}

struct FailureCase {
    const char* name;
    std::string bytes;
    LoadError error;
    std::uint64_t offset;
};

TEST(CutBinary, FailuresKeepThePreviousDataSet) {
    const std::string header = BinaryBytes().header(0, 0, 0).bytes();
    const FailureCase cases[] = {
        {"no bytes", "", LoadError::Empty, 0},
        {"one byte", "\x01", LoadError::TooShort, 0},
        {"11 bytes", header.substr(0, 11), LoadError::TooShort, 0},
        {"cut in the middle of a float", header + BinaryBytes().u16(0x0008).u16(0).bytes(),
         LoadError::Truncated, 14},
        {"one byte of a float missing", header + BinaryBytes().u16(0x0008).u16(0).u8(0x80).bytes(),
         LoadError::Truncated, 14},
        {"the field after complete ones",
         header + BinaryBytes().u16(0x000A).i32(1).f32(1).u16(0x0010).u8(1).bytes(),
         LoadError::Truncated, 24},
        {"a field after a whole one of its entry",
         header + BinaryBytes().u16(0x000A).i32(1).u8(0).bytes(), LoadError::Truncated, 18},
        {"a one-byte field after the last byte", header + BinaryBytes().u16(0x0004).bytes(),
         LoadError::Truncated, 14},
        {"half a flag word", header + "\x02", LoadError::Truncated, 12},
        {"the file ends where a field ends, the next one missing",
         header + BinaryBytes().u16(0x000A).i32(1).bytes(), LoadError::Truncated, 18},
        {"a whole entry, then one cut after its second field",
         header + BinaryBytes().u16(0x0008).f32(1).u16(0x004A).i32(2).f32(3).bytes(),
         LoadError::Truncated, 28},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CutDataSet previous = previousDataSet();
        CutDataSet data = previous;
        const LoadResult result = decodeBinary(c.bytes, data);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.offset, c.offset);
        expectSameDataSet(data, previous);
    }
}

TEST(CutBinary, DistancesAndMaxima) {
    const std::string bytes = BinaryBytes()
                                  .header(0, 0, 10)
                                  .u16(0x00FF) // a G00 approach with removal 2: no rate maximum
                                  .u16(1)
                                  .i32(1)
                                  .u8(0)
                                  .f32(3)
                                  .f32(4)
                                  .f32(10)
                                  .i32(6000)
                                  .u8(1)
                                  .u16(0x0101)
                                  .u16(1)
                                  .f32(2)
                                  .u16(0x0226) // a cut with removal 2 at feed 600, 300
                                  .i32(2)
                                  .u8(1)
                                  .f32(0)
                                  .i32(300)
                                  .u16(0x0146)
                                  .i32(3)
                                  .u8(1)
                                  .i32(600)
                                  .f32(-1)
                                  .bytes();
    const CutDataSet data = loadBinary(bytes);
    ASSERT_EQ(data.count, 5u);
    EXPECT_EQ(data.totalDistance, (LoadedArray<float>{0, 5, 5, 15, 15}));
    EXPECT_EQ(data.cutDistance, (LoadedArray<float>{0, 0, 0, 10, 10}));
    EXPECT_EQ(data.maxRemoval(), 2.0f);
    EXPECT_EQ(data.maxRateOrg(), 6000 * 2.0f * 0.016666668f);
    EXPECT_EQ(data.maxRateOpt(), 300 * 2.0f * 0.016666668f);
}

// The arrays grow past any first guess and keep every record.
TEST(CutBinary, ManyEntriesKeepEveryRecord) {
    BinaryBytes bytes;
    bytes.header(0, 0, 0);
    constexpr int kEntries = 25000;
    for (int i = 1; i <= kEntries; ++i)
        bytes.u16(0x000A).i32(i).f32(static_cast<float>(i));
    const CutDataSet data = loadBinary(bytes.bytes());
    ASSERT_EQ(data.count, kEntries + 1u);
    expectArraysMatchCount(data);
    for (int i = 0; i <= kEntries; ++i) {
        ASSERT_EQ(data.blockNos[i], i);
        ASSERT_EQ(data.records[i].x, static_cast<float>(i));
        ASSERT_EQ(data.totalDistance[i], static_cast<float>(i));
    }
}

// Decoding a binary file in parts on any number of threads gives the data set of the reference
// decoder, record by record, to the bit: records, distances, block numbers, maxima and the move
// index.

CutDataSet decodeOn(const std::string& bytes, unsigned threads) {
    CutDataSet data;
    const LoadResult result = decodeBinary(bytes, data, threads);
    EXPECT_TRUE(result.ok()) << result.reason();
    return data;
}

void expectSameOnEveryThreadCount(const std::string& bytes, const std::string& name) {
    const CutDataSet reference = ReferenceBinaryLoad(bytes);
    for (unsigned threads = 1; threads <= 9; ++threads)
        expectBitIdentical(decodeOn(bytes, threads), reference,
                           name + " on " + std::to_string(threads) + " threads");
}

TEST(ParallelBinary, RandomEntriesGiveTheSequentialDataSet) {
    for (const unsigned seed : {1u, 2u, 3u, 4u})
        expectSameOnEveryThreadCount(randomEntries(seed, 3000, seed % 2 == 0),
                                     "seed " + std::to_string(seed));
    expectSameOnEveryThreadCount(BinaryBytes().header(1, 2, 3).bytes(), "header alone");
    expectSameOnEveryThreadCount(BinaryBytes().header(1, 2, 3).u16(0x0008).f32(4).bytes(),
                                 "one entry");
}

TEST(ParallelBinary, ToolChangesGiveTheSequentialMoveIndex) {
    for (const int toolRun : {1, 2, 40, 5000})
        expectSameOnEveryThreadCount(toolChanges(30000, toolRun),
                                     "a new tool every " + std::to_string(toolRun) + " entries");
}

TEST(ParallelBinary, GeneratedFilesGiveTheSequentialDataSet) {
    for (const std::uint64_t seed : {1u, 9u}) {
        BinaryCutWriter writer;
        CutSynthesizer(seed).generate(20000, writer);
        expectSameOnEveryThreadCount(writer.contents(), "generated seed " + std::to_string(seed));
    }
}

// The parts see a field that does not fit where the sequential decoder sees it.
TEST(ParallelBinary, TruncatedEntryFailsAndKeepsThePreviousDataSet) {
    const std::string whole = randomEntries(5, 2000, false);
    const std::string cut = whole.substr(0, whole.size() - 3);
    CutDataSet sequential;
    const LoadResult expected = decodeBinary(cut, sequential, 1);
    ASSERT_EQ(expected.error, LoadError::Truncated);
    for (unsigned threads = 2; threads <= 4; ++threads) {
        CutDataSet data = previousDataSet();
        const LoadResult result = decodeBinary(cut, data, threads);
        EXPECT_EQ(result.error, LoadError::Truncated);
        EXPECT_EQ(result.offset, expected.offset);
        expectSameDataSet(data, previousDataSet());
    }
}

// A monitor sees the decoding move on and stops it: a stopped decoding leaves the data set.
TEST(ParallelBinary, MonitorFollowsAndStopsTheParts) {
    BinaryBytes bytes;
    bytes.header(0, 0, 0);
    for (int i = 0; i < 300000; ++i)
        bytes.u16(0x000A).i32(i).f32(static_cast<float>(i % 97));
    LoadMonitor monitor;
    CutDataSet data;
    const LoadOptions options{.threads = 2, .monitor = &monitor};
    ASSERT_TRUE(LoadCutBytes(bytes.bytes(), CutFormat::Binary, data, options).ok());
    EXPECT_EQ(data.count, 300001u);
    EXPECT_GT(monitor.permille, 400);

    CutDataSet previous = previousDataSet();
    monitor.cancelled = true;
    EXPECT_EQ(LoadCutBytes(bytes.bytes(), CutFormat::Binary, previous, options).error,
              LoadError::Cancelled);
    expectSameDataSet(previous, previousDataSet());
}

} // namespace
