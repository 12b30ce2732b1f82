#include "cutbinaryscan.h"
#include "binarycutwriter.h"
#include "binaryentries.h"
#include "cutsynthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace {

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

} // namespace
