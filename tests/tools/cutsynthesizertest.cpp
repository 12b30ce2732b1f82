#include "cutsynthesizer.h"
#include "binarycutwriter.h"
#include "cutloader.h"
#include "synthtesting.h"
#include "textcutwriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(CutSynthesizer, SameSeedSameFile) {
    EXPECT_EQ(generate<TextCutWriter>(5, 2000), generate<TextCutWriter>(5, 2000));
    EXPECT_EQ(generate<BinaryCutWriter>(5, 2000), generate<BinaryCutWriter>(5, 2000));
    EXPECT_NE(generate<TextCutWriter>(5, 2000), generate<TextCutWriter>(6, 2000));
}

TEST(CutSynthesizer, WritesExactlyTheBlocksAskedFor) {
    for (const std::int64_t blocks : {0, 1, 2, 57, 3000}) {
        EXPECT_EQ(load(generate<TextCutWriter>(1, blocks), true).count, blocks);
        EXPECT_EQ(load(generate<BinaryCutWriter>(1, blocks), false).count, blocks + 1);
    }
}

// Every line ends in CR LF, and the file has lines that the loader ignores.
TEST(CutSynthesizer, TextLinesLookLikeAProgram) {
    const std::string text = generate<TextCutWriter>(2, 3000);
    std::set<char> firstLetters;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\n', start);
        ASSERT_NE(feed, std::string::npos);
        ASSERT_GT(feed, start);
        EXPECT_EQ(text[feed - 1], '\r');
        firstLetters.insert(text[start]);
        start = feed + 1;
    }
    EXPECT_EQ(firstLetters, (std::set<char>{'\r', '%', '(', 'G', 'M', 'N', 'O', 'T'}));
}

TEST(CutSynthesizer, CoversToolsMotionsAndRemovalKinds) {
    const CutDataSet data = load(generate<TextCutWriter>(3, 3000), true);
    std::set<int> tools;
    std::set<int> motions;
    std::set<int> kinds;
    for (const CutRecord& r : data.records) {
        tools.insert(r.toolNo);
        motions.insert(r.motionCode);
        kinds.insert(r.removalKind);
    }
    EXPECT_GE(tools.size(), 3u);
    EXPECT_EQ(motions, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_GT(data.cutDistance.back(), 0.0f);
    EXPECT_LT(data.cutDistance.back(), data.totalDistance.back());
    EXPECT_GT(data.maxRateOpt(), 0.0f);
}

// Each rare case appears in the loaded data when its option is on, and in no plain file.
TEST(CutSynthesizer, OptionsMixInTheirRareCases) {
    const auto countIn = [](const CutDataSet& data, auto rare) {
        int count = 0;
        for (std::uint32_t i = 0; i < data.count; ++i)
            count += rare(data, i) ? 1 : 0;
        return count;
    };
    const auto moved = [](const CutDataSet& d, std::uint32_t i) {
        return i == 0 || d.totalDistance[i] != d.totalDistance[i - 1];
    };
    const struct {
        const char* name;
        void (*set)(SynthOptions&);
        bool (*rare)(const CutDataSet&, std::uint32_t);
    } cases[] = {
        {"tool 0", [](SynthOptions& o) { o.toolRun = 6; },
         [](const CutDataSet& d, std::uint32_t i) { return d.records[i].toolNo == 0; }},
        {"NaN removal", [](SynthOptions& o) { o.nanRemoval = 20; },
         [](const CutDataSet& d, std::uint32_t i) { return std::isnan(d.records[i].removal); }},
        {"spikes", [](SynthOptions& o) { o.spikes = 20; },
         [](const CutDataSet& d, std::uint32_t i) {
             return d.records[i].removal >= 100.0f || d.records[i].removal < 0.0f;
         }},
        {"G00 removing material", [](SynthOptions& o) { o.rapidRemoval = 200; },
         [](const CutDataSet& d, std::uint32_t i) {
             return d.records[i].motionCode == 0 && d.records[i].removal > 0.0f;
         }},
        {"feeds of 0 and below", [](SynthOptions& o) { o.feedsNotPositive = 50; },
         [](const CutDataSet& d, std::uint32_t i) {
             return d.records[i].motionCode != 0 &&
                    (d.records[i].orgFeed <= 0 || d.records[i].optFeed <= 0);
         }},
        {"block numbers starting lower", [](SynthOptions& o) { o.blockNumbersRestart = true; },
         [](const CutDataSet& d, std::uint32_t i) {
             return i > 0 && d.blockNos[i] < d.blockNos[i - 1];
         }},
    };
    const CutDataSet plain = load(generate<TextCutWriter>(4, 5000), true);
    for (const auto& c : cases) {
        SynthOptions options;
        c.set(options);
        TextCutWriter writer;
        CutSynthesizer(4, options).generate(5000, writer);
        const CutDataSet data = load(writer.contents(), true);
        EXPECT_EQ(data.count, 5000u) << c.name;
        EXPECT_GT(countIn(data, c.rare), 0) << c.name;
        EXPECT_EQ(countIn(plain, c.rare), 0) << c.name;
    }
    SynthOptions still;
    still.standingStill = 100;
    TextCutWriter writer;
    CutSynthesizer(4, still).generate(5000, writer);
    const CutDataSet data = load(writer.contents(), true);
    EXPECT_LT(countIn(data, moved), countIn(plain, moved) - 100) << "blocks that stand still";
    TextCutWriter presets;
    SynthOptions withPresets;
    withPresets.presets = 20;
    CutSynthesizer(4, withPresets).generate(5000, presets);
    const auto presetLines = [](const std::string& text) {
        std::size_t count = 0;
        for (std::size_t at = text.find("\nG92"); at != std::string::npos;
             at = text.find("\nG92", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(presetLines(generate<TextCutWriter>(4, 5000)), 1u) << "the start alone";
    EXPECT_GT(presetLines(presets.contents()), 10u);
}

// Both formats carry the same values: the binary file adds its start record, and its removal
// kind 4 loads as 0 while the removal written after it stays.
TEST(CutSynthesizer, TextAndBinaryAgree) {
    const auto fields = [](const CutRecord& r, int kind) {
        return std::tuple(r.toolNo, r.blockNo, r.motionCode, r.x, r.y, r.z, r.orgFeed, kind,
                          r.removal, r.optFeed);
    };
    const CutDataSet text = load(generate<TextCutWriter>(4, 5000), true);
    const CutDataSet binary = load(generate<BinaryCutWriter>(4, 5000), false);
    ASSERT_EQ(binary.count, text.count + 1);
    for (std::uint32_t i = 0; i < text.count; ++i) {
        const CutRecord& t = text.records[i];
        const CutRecord& b = binary.records[i + 1];
        const int textKind = t.removalKind == 4 ? 0 : t.removalKind;
        ASSERT_EQ(fields(t, textKind), fields(b, b.removalKind)) << "record " << i;
        ASSERT_EQ(text.totalDistance[i], binary.totalDistance[i + 1]);
        ASSERT_EQ(text.cutDistance[i], binary.cutDistance[i + 1]);
    }
    EXPECT_EQ(text.maxima, binary.maxima);
}

} // namespace
