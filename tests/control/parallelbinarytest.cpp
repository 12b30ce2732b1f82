#include "binarycutwriter.h"
#include "bitidenticaltesting.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"

#include <random>
#include <span>
#include <string>

// Decoding a binary file in parts on several threads gives the data set of the sequential decoder
// to the bit: records, distances, block numbers, maxima and the move index.

namespace {

CutDataSet decodeOn(const std::string& bytes, unsigned threads) {
    CutDataSet data;
    const LoadResult result = DecodeCutBinaryBytes(std::span<const char>(bytes), data, threads);
    EXPECT_TRUE(result.ok()) << result.reason();
    return data;
}

void expectSameOnEveryThreadCount(const std::string& bytes, const std::string& name) {
    const CutDataSet sequential = decodeOn(bytes, 1);
    for (unsigned threads = 2; threads <= 9; ++threads)
        expectBitIdentical(decodeOn(bytes, threads), sequential,
                           name + " on " + std::to_string(threads) + " threads");
}

// Entries of random field sets, so that fields keep their value across the cuts between parts
// for some hundred entries: tool 0 and tool changes, G00 moves, removal kinds beyond 3 (which
// clear the removal), NaN, infinite and negative zero coordinates and removals, flag bits above
// the ten fields; now and then a flag word whose low byte is zero ends the data before the file.
std::string randomEntries(unsigned seed, int entries, bool endEarly) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    const float numbers[] = {1.5f,
                             -2.25f,
                             0.0f,
                             -0.0f,
                             12.125f,
                             1e30f,
                             7.0f,
                             0.03f,
                             std::numeric_limits<float>::quiet_NaN(),
                             -std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity()};
    const auto number = [&] { return numbers[percent(random) % 11]; };
    BinaryBytes bytes;
    bytes.header(number(), 2.0f, 3.0f);
    for (int i = 0; i < entries; ++i) {
        std::uint16_t flags = 0;
        const int chances[10] = {2, 60, 10, 40, 40, 20, 5, 15, 30, 20};
        for (int bit = 0; bit < 10; ++bit)
            if (percent(random) < chances[bit])
                flags = static_cast<std::uint16_t>(flags | (1u << bit));
        if ((flags & 0xFF) == 0)
            flags |= 0x0002;
        if (percent(random) < 3)
            flags |= 0x8400;
        bytes.u16(flags);
        if (flags & 0x0001)
            bytes.u16(static_cast<std::uint16_t>(percent(random) % 4));
        if (flags & 0x0002)
            bytes.i32(i * 3 - 50);
        if (flags & 0x0004)
            bytes.u8(static_cast<std::uint8_t>(percent(random) % 4));
        for (int axis = 0; axis < 3; ++axis)
            if (flags & (0x0008 << axis))
                bytes.f32(number());
        if (flags & 0x0040)
            bytes.i32(percent(random) * 40 - 400);
        if (flags & 0x0080)
            bytes.u8(static_cast<std::uint8_t>(percent(random) % 7));
        if (flags & 0x0100)
            bytes.f32(number());
        if (flags & 0x0200)
            bytes.i32(percent(random) * 50);
    }
    if (endEarly)
        bytes.u16(0x0100).f32(5.0f).u16(0x0008);
    return bytes.bytes();
}

TEST(ParallelBinary, RandomEntriesGiveTheSequentialDataSet) {
    for (const unsigned seed : {1u, 2u, 3u, 4u})
        expectSameOnEveryThreadCount(randomEntries(seed, 3000, seed % 2 == 0),
                                     "seed " + std::to_string(seed));
    expectSameOnEveryThreadCount(BinaryBytes().header(1, 2, 3).bytes(), "header alone");
    expectSameOnEveryThreadCount(BinaryBytes().header(1, 2, 3).u16(0x0008).f32(4).bytes(),
                                 "one entry");
}

// Entries that move and change the tool every `toolRun` entries: the move index keeps the runs of
// each part apart and adds them in order, or, with runs too short for that, indexes on one thread.
std::string toolChanges(int entries, int toolRun) {
    BinaryBytes bytes;
    bytes.header(0, 0, 0);
    for (int i = 0; i < entries; ++i)
        bytes.u16(0x024F)
            .u16(static_cast<std::uint16_t>(i / toolRun % 3))
            .i32(i)
            .u8(i % 5 == 0 ? 0 : 1)
            .f32(static_cast<float>(i % 13))
            .i32(1000 + i % 7)
            .i32(i % 11 == 0 ? 0 : 1500);
    return bytes.bytes();
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
    const LoadResult expected = DecodeCutBinaryBytes(std::span<const char>(cut), sequential, 1);
    ASSERT_EQ(expected.error, LoadError::Truncated);
    for (unsigned threads = 2; threads <= 4; ++threads) {
        CutDataSet data = previousDataSet();
        const LoadResult result = DecodeCutBinaryBytes(std::span<const char>(cut), data, threads);
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
    ASSERT_TRUE(DecodeCutBinaryBytes(std::span<const char>(bytes.bytes()), data, 2, &monitor).ok());
    EXPECT_EQ(data.count, 300001u);
    EXPECT_GT(monitor.permille, 400);

    CutDataSet previous = previousDataSet();
    monitor.cancelled = true;
    EXPECT_EQ(
        DecodeCutBinaryBytes(std::span<const char>(bytes.bytes()), previous, 2, &monitor).error,
        LoadError::Cancelled);
    expectSameDataSet(previous, previousDataSet());
}

} // namespace
