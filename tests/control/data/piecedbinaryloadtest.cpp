#include "piecedbinaryload.h"
#include "../../platform/tempfolder.h"
#include "binaryentries.h"
#include "bitidenticaltesting.h"
#include "cutdatatesting.h"
#include "referenceload.h"

#include <string>

// A binary file read and decoded in stretches, on one thread or several, gives the data set of the
// reference decoder to the bit however the stretches cut its entries, stops where the data end,
// and names a truncated entry's offset in the file as the bytes' decoder does.

namespace {

LoadResult loadInStretches(const std::string& path, std::size_t stretch, unsigned threads,
                           CutDataSet& data) {
    FilePieces file;
    if (LoadResult result = file.open(path); !result.ok())
        return result;
    return PiecedBinaryLoad(threads, nullptr, stretch).load(file, data);
}

TEST(PiecedBinaryLoad, StretchesGiveTheReferenceDataSet) {
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"random entries", randomEntries(3, 3000, false)},
        {"data ended by a zero flag word", randomEntries(4, 3000, true)},
        {"tool changes", toolChanges(5000, 3)},
        {"header alone", BinaryBytes().header(1, 2, 3).bytes()},
        {"one entry", BinaryBytes().header(1, 2, 3).u16(0x0008).f32(4).bytes()},
    };
    TempFolder folder;
    const std::string path = folder.file("b.bin");
    for (const auto& f : files) {
        writeBytes(path, f.bytes);
        const CutDataSet reference = ReferenceBinaryLoad(f.bytes);
        for (const std::size_t stretch :
             {std::size_t{37}, std::size_t{101}, std::size_t{4096}, std::size_t{1} << 20}) {
            for (const unsigned threads : {1u, 2u, 3u}) {
                const std::string what = std::string(f.name) + ", stretches of " +
                                         std::to_string(stretch) + " on " +
                                         std::to_string(threads) + " threads";
                CutDataSet data;
                const LoadResult result = loadInStretches(path, stretch, threads, data);
                ASSERT_TRUE(result.ok()) << what << ": " << result.reason();
                expectBitIdentical(data, reference, what);
            }
        }
    }
}

// Cut anywhere in its entries, a file fails as truncated at the offset the bytes' decoder names,
// whichever stretch the cut falls in, and the previous data set stays.
TEST(PiecedBinaryLoad, ATruncatedEntryIsNamedByItsOffsetInTheFile) {
    const std::string whole = randomEntries(6, 2000, false);
    TempFolder folder;
    const std::string path = folder.file("b.bin");
    for (const std::size_t cutOff : {std::size_t{1}, std::size_t{3}, std::size_t{17}}) {
        const std::string cut = whole.substr(0, whole.size() - cutOff);
        writeBytes(path, cut);
        CutDataSet fromBytes;
        const LoadResult expected = decodeBinary(cut, fromBytes, 1);
        ASSERT_EQ(expected.error, LoadError::Truncated) << cutOff;
        for (const std::size_t stretch : {std::size_t{37}, std::size_t{999}, cut.size()}) {
            CutDataSet data = previousDataSet();
            const LoadResult result = loadInStretches(path, stretch, 2, data);
            EXPECT_EQ(result.error, LoadError::Truncated) << cutOff << " " << stretch;
            EXPECT_EQ(result.offset, expected.offset) << cutOff << " " << stretch;
            expectSameDataSet(data, previousDataSet());
        }
    }
}

} // namespace
