#include "partsynthesizer.h"
#include "binarycutwriter.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"
#include "textcutwriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

template <typename Synthesizer, typename Writer>
std::string generate(std::uint64_t seed, std::int64_t blocks) {
    Writer writer;
    Synthesizer(seed).generate(blocks, writer);
    return writer.contents();
}

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

CutDataSet load(const std::string& bytes, bool text) {
    return text ? loadText(bytes) : loadBinary(bytes);
}

// The default generator writes the very bytes it wrote before the part paths came (the sample
// files samples/CUTDATA.txt and .bin are these).
TEST(PartSynthesizer, defaultPathsStayAsTheyWere) {
    const std::string text = generate<CutSynthesizer, TextCutWriter>(1, 3000);
    const std::string binary = generate<CutSynthesizer, BinaryCutWriter>(1, 3000);
    EXPECT_EQ(text.size(), 164957u);
    EXPECT_EQ(fnv1a(text), 0x26c706a7c1d03ef2ull);
    EXPECT_EQ(binary.size(), 79232u);
    EXPECT_EQ(fnv1a(binary), 0x6478838df582b2a3ull);
}

TEST(PartSynthesizer, writesTheBlocksAskedForTheSameForASeed) {
    for (const std::int64_t blocks : {0, 1, 5, 999, 20000}) {
        EXPECT_EQ(load(generate<PartSynthesizer, TextCutWriter>(1, blocks), true).count, blocks);
        EXPECT_EQ(load(generate<PartSynthesizer, BinaryCutWriter>(1, blocks), false).count,
                  blocks + 1);
    }
    EXPECT_EQ((generate<PartSynthesizer, TextCutWriter>(4, 3000)),
              (generate<PartSynthesizer, TextCutWriter>(4, 3000)));
}

// Four tools, rapid moves between them, the part inside 200 x 120 mm, and a surface: many
// different depths where the last tool cuts.
TEST(PartSynthesizer, pathsLookLikeAPart) {
    const CutDataSet data = load(generate<PartSynthesizer, TextCutWriter>(2, 20000), true);
    std::set<int> tools;
    std::set<float> surfaceDepths;
    int rapids = 0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& r = data.records[i];
        tools.insert(r.toolNo);
        rapids += r.motionCode == 0;
        if (r.motionCode == 0)
            continue;
        EXPECT_LE(std::abs(r.x), 100.0f) << i;
        EXPECT_LE(std::abs(r.y), 60.0f) << i;
        EXPECT_LE(r.z, 0.0f) << i;
        EXPECT_GT(r.removal, 0.0f) << i;
        if (r.removalKind == 3)
            surfaceDepths.insert(r.z);
    }
    EXPECT_EQ(tools.size(), 4u);
    EXPECT_GT(rapids, 8);
    EXPECT_GT(surfaceDepths.size(), 1000u);
}

} // namespace
