#include "binarycutwriter.h"
#include "binaryentries.h"
#include "bitidenticaltesting.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"
#include "referenceload.h"

#include <span>
#include <string>
#include <vector>

// Decoding a binary file in parts on any number of threads gives the data set of the reference
// decoder, record by record, to the bit: records, distances, block numbers, maxima and the move
// index.

namespace {

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
