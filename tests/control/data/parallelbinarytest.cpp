#include "binarycutwriter.h"
#include "bitidenticaltesting.h"
#include "cutbinaryscan.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

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

// The scan of the flag words: walks from every share of the file, joined where they meet, give
// what one walk from the first entry gives, and cut where an entry starts.

std::span<const unsigned char> bytesOf(const std::string& file) {
    return {reinterpret_cast<const unsigned char*>(file.data()), file.size()};
}

// Where the entries start, walking from the first one; false in `complete` when one does not fit.
std::vector<std::size_t> entryStarts(const std::string& file, bool& complete) {
    std::vector<std::size_t> starts;
    std::size_t pos = cutbinary::kHeaderSize;
    complete = true;
    while (pos < file.size() && file[pos] != 0) {
        const std::size_t end =
            pos + 2 +
            cutbinary::kEntrySizes[cutbinary::flagsAt(bytesOf(file).data() + pos) & 0x3FF];
        if (pos + 2 > file.size() || end > file.size()) {
            complete = false;
            break;
        }
        starts.push_back(pos);
        pos = end;
    }
    return starts;
}

void expectScanOfAWalk(const std::string& file, const std::string& name) {
    bool complete = true;
    const std::vector<std::size_t> starts = entryStarts(file, complete);
    const cutbinary::EntryScan single = cutbinary::ScanEntries(bytesOf(file), 1, 1);
    ASSERT_EQ(single.complete, complete) << name;
    ASSERT_EQ(single.entries, starts.size()) << name;
    for (unsigned walks = 1; walks <= 9; ++walks) {
        for (const std::size_t settling : {std::size_t{1}, std::size_t{2}, std::size_t{7},
                                           std::size_t{64}, cutbinary::kSettlingEntries}) {
            const unsigned pieces = walks * (settling % 5) + 1;
            const std::string where = name + ", " + std::to_string(walks) + " walks, " +
                                      std::to_string(pieces) + " pieces, settling " +
                                      std::to_string(settling);
            const cutbinary::EntryScan scan =
                cutbinary::ScanEntries(bytesOf(file), walks, pieces, settling);
            EXPECT_EQ(scan.complete, single.complete) << where;
            EXPECT_EQ(scan.entries, single.entries) << where;
            EXPECT_EQ(scan.truncatedAt, single.truncatedAt) << where;
            ASSERT_FALSE(scan.cuts.empty()) << where;
            EXPECT_EQ(scan.cuts[0].entry, 0u) << where;
            EXPECT_EQ(scan.cuts[0].offset, cutbinary::kHeaderSize) << where;
            EXPECT_LE(scan.cuts.size(), walks + pieces - 1) << where;
            for (std::size_t k = 1; k < scan.cuts.size(); ++k) {
                EXPECT_GT(scan.cuts[k].entry, scan.cuts[k - 1].entry) << where;
                ASSERT_LT(scan.cuts[k].entry, starts.size()) << where;
                EXPECT_EQ(scan.cuts[k].offset, starts[scan.cuts[k].entry]) << where;
            }
        }
    }
}

// Entries up to a zero flag word, with walks from five shares that start in its entries, in the
// last entry and after the zero flag word.
constexpr char kFuzzFinding[] =
    "\x00\x00\x00\x00\x00\x00\x00\xb9\x00\x00\x48\x42\x1f\x00\x01\x00\x01\x00\x00\x00"
    "\x00\x21\xb0\x2c\x42\xa2\x45\xab\x41\x22\x00\x02\x00\x00\x00\x00\x00\x00\x40\xe6"
    "\x03\x03\x00\x00\x00\x01\x81\x95\x83\xbf\xaa\x05\x00\x00\x02\x3d\x0a\x97\x3e\x0f"
    "\x08\x00\x00\xba\x03\x04\x00\x00\x00\x93\x98\x3f\xe6\x06\x29\x00\xbe\x03\x07\x00"
    "\x00\x00\x01\xb6\xf3\x39\x42\x9c\xc4\x00\xa3\x41\x03\x0c\x00\x00\x00\x8d\x17\x12"
    "\x42\xb4\xc8\x99\x41\x00\x00\x80\xbf\x00\x00\x00\x00\x00\x7f\x08\x00\x00";

TEST(BinaryScan, WalksJoinedGiveTheWalkFromTheStart) {
    BinaryCutWriter generated;
    CutSynthesizer(3).generate(5000, generated);
    const std::string random = randomEntries(6, 3000, false);
    const std::string ended = randomEntries(7, 3000, true);
    const struct {
        std::string name;
        std::string file;
    } cases[] = {
        {"random entries", random},
        {"random entries ended early, bytes after", ended},
        {"truncated by one byte", random.substr(0, random.size() - 1)},
        {"truncated in the middle", random.substr(0, random.size() / 2 + 1)},
        {"ended early and truncated", ended.substr(0, ended.size() - 1)},
        {"generated", generated.contents()},
        {"generated with a zero flag word at the end", generated.contents() + std::string(2, '\0')},
        {"short tool runs", toolChanges(2000, 1)},
        {"header alone", BinaryBytes().header(1, 2, 3).bytes()},
        {"a flag word cut short", BinaryBytes().header(1, 2, 3).u8(0x08).bytes()},
        {"an input found by fuzzing", std::string(kFuzzFinding, sizeof kFuzzFinding - 1)},
        {"zero bytes after the header",
         BinaryBytes().header(1, 2, 3).bytes() + std::string(300, '\0')},
    };
    for (const auto& test : cases)
        expectScanOfAWalk(test.file, test.name);
}

// Walks that start inside an entry meet the file's entries within the default settling length, so
// that a large file is cut where the walks meet, within some kilobytes after each walk's start,
// and at an entry right after each bound of the pieces.
TEST(BinaryScan, LargeFileIsCutIntoEveryShare) {
    BinaryCutWriter writer;
    CutSynthesizer(11).generate(200000, writer);
    const std::string file = writer.contents();
    const auto cutWithin = [](const cutbinary::EntryScan& scan, std::size_t from, std::size_t to) {
        return std::any_of(scan.cuts.begin(), scan.cuts.end(), [&](const cutbinary::EntryCut& cut) {
            return cut.offset >= from && cut.offset < to;
        });
    };
    for (unsigned walks = 2; walks <= 5; ++walks) {
        for (const unsigned pieces : {1u, 16 * walks + 3}) {
            const cutbinary::EntryScan scan = cutbinary::ScanEntries(bytesOf(file), walks, pieces);
            EXPECT_LE(scan.cuts.size(), walks + pieces - 1);
            for (std::size_t k = 1; k < walks; ++k)
                EXPECT_TRUE(cutWithin(scan, file.size() * k / walks,
                                      file.size() * k / walks + 40 * cutbinary::kSettlingEntries))
                    << walks << " walks, " << pieces << " pieces: where walk " << k << " starts";
            for (std::size_t j = 1; j < pieces; ++j)
                EXPECT_TRUE(
                    cutWithin(scan, file.size() * j / pieces, file.size() * j / pieces + 36))
                    << walks << " walks, " << pieces << " pieces: bound " << j;
        }
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
