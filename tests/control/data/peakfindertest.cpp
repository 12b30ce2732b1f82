#include "peakfinder.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"
#include "series.h"
#include "shownpeaks.h"
#include "shownrecords.h"
#include "textcutwriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

namespace {

// The rule as it reads: all records of the range that the series draws, by value, highest first
// and the earlier of equals first, each taken when it lies `gap` or more records away from every
// one taken before. `valueOf` gives a record's value, nothing for a record not drawn.
template <class ValueOf>
std::vector<Peak> peaksByTheRule(const CutDataSet& data, RecordRange range, ValueOf valueOf,
                                 std::uint32_t top, std::uint32_t gap) {
    std::vector<Peak> all;
    for (std::uint32_t i = range.first; i < std::min(range.end, data.count); ++i)
        if (const std::optional<float> value = valueOf(i))
            all.push_back({i, std::isnan(*value) ? 0.0f : *value});
    std::stable_sort(all.begin(), all.end(),
                     [](const Peak& a, const Peak& b) { return a.value > b.value; });
    std::vector<Peak> taken;
    for (const Peak& candidate : all) {
        if (taken.size() == top)
            break;
        const bool apart = std::all_of(taken.begin(), taken.end(), [&](const Peak& peak) {
            return std::llabs(static_cast<long long>(peak.index) - candidate.index) >=
                   std::max(gap, 1u);
        });
        if (apart)
            taken.push_back(candidate);
    }
    return taken;
}

std::vector<Peak> peaksByTheRule(const CutDataSet& data, RecordRange range, std::uint8_t drawMode,
                                 float g00Feed, std::uint32_t top, std::uint32_t gap) {
    return peaksByTheRule(
        data, range,
        [&](std::uint32_t i) { return std::optional(seriesValue(data, i, drawMode, g00Feed)); },
        top, gap);
}

// The optimised feed, drawn at every record that is no G00 move.
std::vector<Peak> feedPeaksByTheRule(const CutDataSet& data, RecordRange range, std::uint32_t top,
                                     std::uint32_t gap) {
    return peaksByTheRule(
        data, range,
        [&](std::uint32_t i) -> std::optional<float> {
            const CutRecord& r = data.records[i];
            if (r.motionCode == 0)
                return std::nullopt;
            return static_cast<float>(r.optFeed);
        },
        top, gap);
}

void expectSamePeaks(const std::vector<Peak>& actual, const std::vector<Peak>& expected,
                     const std::string& name) {
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(actual[k].index, expected[k].index) << name << " peak " << k;
        EXPECT_EQ(actual[k].value, expected[k].value) << name << " peak " << k;
    }
}

CutDataSet generatedData(std::uint64_t seed, std::int64_t blocks) {
    TextCutWriter writer;
    CutSynthesizer(seed).generate(blocks, writer);
    return loadText(writer.contents());
}

// As many peaks as there are: what `curvex peaks --top 4294967295` asks for.
constexpr std::uint32_t kAll = 0xFFFFFFFFu;

struct PeakCase {
    std::uint8_t drawMode;
    float g00Feed;
    RecordRange range;
    std::uint32_t top;
    std::uint32_t gap;
};

// Generated data has many equal values and G00 moves among the cuts; with and without the data
// set's index the peaks are those of the rule.
TEST(PeakFinder, GeneratedDataGivesThePeaksOfTheRule) {
    CutDataSet data = generatedData(5, 30000);
    ASSERT_TRUE(data.index.covers(data));
    const PeakCase cases[] = {
        {0, 5000, {0, 30000}, 20, 100},    {1, 5000, {0, 30000}, 20, 100},
        {2, 5000, {0, 30000}, 20, 100},    {1, 90000, {0, 30000}, 20, 100},
        {2, 1.0f, {0, 30000}, 20, 100},    {0, 5000, {0, 30000}, 50, 1},
        {0, 5000, {0, 30000}, 5, 0},       {0, 5000, {1234, 25678}, 20, 100},
        {1, 5000, {17, 33}, 20, 3},        {0, 5000, {0, 30000}, 40, 1000},
        {0, 5000, {0, 30000}, 0, 100},     {0, 5000, {100, 100}, 20, 100},
        {2, 5000, {29990, 40000}, 20, 2},  {0, 5000, {0, 30000}, 20, 30000},
        {1, 5000, {4095, 8193}, 30, 7},    {2, -500, {0, 30000}, 20, 100},
        {0, 5000, {0, 3000}, kAll, 1},     {2, 5000, {500, 3500}, kAll, 3},
        {1, 5000, {0, 30000}, 600, 40},    {0, 5000, {0, 30000}, kAll, 60},
        {1, 5000, {0, 30000}, kAll, 4000}, {0, 5000, {0, 30000}, 9, 3400},
    };
    for (const bool indexed : {true, false}) {
        if (!indexed)
            data.index = CutIndex();
        for (const PeakCase& c : cases) {
            const std::string name = std::string(indexed ? "indexed" : "walked") + " mode " +
                                     std::to_string(c.drawMode) + " range " +
                                     std::to_string(c.range.first) + ".." +
                                     std::to_string(c.range.end) + " top " + std::to_string(c.top) +
                                     " gap " + std::to_string(c.gap);
            const auto peaks = PeakFinder(data, c.drawMode, c.g00Feed).find(c.range, c.top, c.gap);
            expectSamePeaks(
                peaks, peaksByTheRule(data, c.range, c.drawMode, c.g00Feed, c.top, c.gap), name);
        }
    }
}

// G00 moves with removal, also below 0: their values come with the G00 feed, which may turn the
// order of their removal round.
TEST(PeakFinder, RapidMovesTakeTheirValueFromTheG00Feed) {
    std::mt19937 random(11);
    std::string text;
    for (int k = 0; k < 6000; ++k) {
        const int removal = static_cast<int>(random() % 2001) - 600;
        text += "N" + std::to_string(k + 1) + (random() % 3 == 0 ? ")G00X" : ")G01X") +
                std::to_string(k + 2) + "F" + std::to_string(100 + random() % 900) + "(A" +
                std::to_string(removal) + ")F" + std::to_string(100 + random() % 900) + "\n";
    }
    const CutDataSet data = loadText(text);
    ASSERT_TRUE(data.index.covers(data));
    for (const std::uint8_t drawMode : {1, 2}) {
        for (const float g00Feed : {50000.0f, 10.0f, -3000.0f}) {
            const auto peaks = PeakFinder(data, drawMode, g00Feed).find({5, 5900}, 20, 50);
            expectSamePeaks(peaks, peaksByTheRule(data, {5, 5900}, drawMode, g00Feed, 20, 50),
                            "mode " + std::to_string(drawMode) + " G00 feed " +
                                std::to_string(g00Feed));
        }
    }
}

// Equal values: the earlier record wins, and a peak rules out the records closer than the gap on
// both sides. A NaN removal is plotted as 0.
TEST(PeakFinder, EqualValuesGoToTheEarlierRecord) {
    std::string text;
    const char* removals[] = {"1", "5", "5", "2", "5", "nan", "3", "5", "1", "4"};
    for (int k = 0; k < 10; ++k)
        text += "N" + std::to_string(k + 1) + ")G01X" + std::to_string(k + 2) + "F600(A" +
                removals[k] + ")F900\n";
    const CutDataSet data = loadText(text);
    ASSERT_EQ(data.count, 10u);
    struct Case {
        std::uint32_t gap;
        std::vector<std::uint32_t> indexes;
    };
    const Case cases[] = {
        {1, {1, 2, 4, 7, 9, 6, 3, 0, 8, 5}},
        {2, {1, 4, 7, 9}},
        {3, {1, 4, 7}},
        {4, {1, 7}},
        {7, {1, 9}},
        {10, {1}},
    };
    for (const Case& c : cases) {
        const auto peaks = PeakFinder(data, 0, 5000).find({0, data.count}, 20, c.gap);
        std::vector<std::uint32_t> indexes;
        for (const Peak& peak : peaks)
            indexes.push_back(peak.index);
        EXPECT_EQ(indexes, c.indexes) << "gap " << c.gap;
    }
}

// The optimised feed leaves the G00 moves out, with and without the data set's index, also where
// the G00 moves have the highest feeds; a range of G00 moves only has no peak.
TEST(PeakFinder, OptimisedFeedPeaksLeaveTheRapidMovesOut) {
    std::mt19937 random(13);
    std::string mixed;
    std::string rapids;
    for (int k = 0; k < 6000; ++k) {
        const bool rapid = random() % 3 == 0;
        const int feed = rapid ? 5000 + static_cast<int>(random() % 900)
                               : 100 + static_cast<int>(random() % 900);
        const std::string block = "N" + std::to_string(k + 1);
        mixed += block + (rapid ? ")G00X" : ")G01X") + std::to_string(k + 2) + "F600(A5)F" +
                 std::to_string(feed) + "\n";
        if (k < 40)
            rapids +=
                block + ")G00X" + std::to_string(k + 2) + "F600(A5)F" + std::to_string(feed) + "\n";
    }
    CutDataSet data = loadText(mixed);
    CutDataSet onlyRapid = loadText(rapids);
    ASSERT_EQ(onlyRapid.count, 40u);
    const PeakCase cases[] = {
        {0, 0, {0, 6000}, 20, 100}, {0, 0, {0, 6000}, 60, 1},    {0, 0, {1234, 5678}, 20, 7},
        {0, 0, {17, 33}, 20, 3},    {0, 0, {95, 4193}, 30, 50},  {0, 0, {5990, 9000}, 20, 2},
        {0, 0, {0, 6000}, kAll, 1}, {0, 0, {10, 5010}, kAll, 9},
    };
    for (const bool indexed : {true, false}) {
        if (!indexed) {
            data.index = CutIndex();
            onlyRapid.index = CutIndex();
        }
        const std::string how = indexed ? "indexed" : "walked";
        EXPECT_TRUE(PeakFinder::ofOptimisedFeed(onlyRapid).find({0, 40}, 20, 1).empty()) << how;
        for (const PeakCase& c : cases)
            expectSamePeaks(PeakFinder::ofOptimisedFeed(data).find(c.range, c.top, c.gap),
                            feedPeaksByTheRule(data, c.range, c.top, c.gap),
                            how + " range " + std::to_string(c.range.first) + ".." +
                                std::to_string(c.range.end) + " gap " + std::to_string(c.gap));
    }
}

// A compare chart's peaks are those of its optimised series over the shown records, whatever the
// plotted series of the plain chart: the removal per second with the optimised feed, or the
// optimised feed of the moves other than G00.
TEST(PeakFinder, CompareChartsShowThePeaksOfTheOptimisedSeries) {
    const CutDataSet data = generatedData(8, 30000);
    ASSERT_TRUE(data.index.covers(data));
    struct View {
        std::int32_t distanceMode;
        float lower;
        float upper;
    };
    const View views[] = {{0, 0.0f, 100.0f}, {1, 20.0f, 45.0f}, {2, 60.0f, 61.0f}};
    for (const CompareMode mode : {CompareMode::Rates, CompareMode::Feeds}) {
        for (const std::uint8_t drawMode : {0, 1, 2}) {
            for (const View& v : views) {
                ChartState view;
                view.compareMode = mode;
                view.drawMode = drawMode;
                view.g00Feed = 7000.0f;
                view.distanceMode = v.distanceMode;
                view.shown.lower = v.lower;
                view.shown.upper = v.upper;
                const RecordRange shown = ShownRecords(data, v.distanceMode, {v.lower, v.upper});
                const auto expected =
                    mode == CompareMode::Rates
                        ? peaksByTheRule(data, shown, 2, view.g00Feed, kDefaultPeakCount,
                                         kDefaultPeakGap)
                        : feedPeaksByTheRule(data, shown, kDefaultPeakCount, kDefaultPeakGap);
                expectSamePeaks(ShownPeaks(data, view), expected,
                                "compare " + std::to_string(static_cast<int>(mode)) + " mode " +
                                    std::to_string(drawMode) + " dist " +
                                    std::to_string(v.distanceMode));
            }
        }
    }
}

// Per tool the rule over that tool's records alone, the tools in the order their first drawn
// record comes in the range.
template <class ValueOf>
std::vector<Peak> toolPeaksByTheRule(const CutDataSet& data, RecordRange range, ValueOf valueOf,
                                     std::uint32_t perTool, std::uint32_t gap) {
    std::vector<std::int16_t> tools;
    for (std::uint32_t i = range.first; i < std::min(range.end, data.count); ++i) {
        const std::int16_t tool = data.records[i].toolNo;
        if (valueOf(i) && std::find(tools.begin(), tools.end(), tool) == tools.end())
            tools.push_back(tool);
    }
    std::vector<Peak> peaks;
    for (const std::int16_t tool : tools) {
        const auto ofTool = [&](std::uint32_t i) -> std::optional<float> {
            if (data.records[i].toolNo != tool)
                return std::nullopt;
            return valueOf(i);
        };
        for (const Peak& peak : peaksByTheRule(data, range, ofTool, perTool, gap))
            peaks.push_back(peak);
    }
    return peaks;
}

// The peaks of each tool follow the rule within the tool: the gap counts only between peaks of
// one tool, a peak of another tool close by does not keep one out.
TEST(PeakFinder, PeaksPerToolGiveTheRuleWithinEachTool) {
    CutDataSet data = generatedData(3, 20000);
    struct Case {
        std::uint8_t drawMode;
        RecordRange range;
        std::uint32_t perTool;
        std::uint32_t gap;
    };
    const Case cases[] = {
        {0, {0, 20000}, 3, 100},    {1, {0, 20000}, 1, 100}, {2, {0, 20000}, 5, 1},
        {0, {2500, 7000}, 4, 50},   {2, {0, 20000}, 2, 0},   {1, {19990, 30000}, 3, 2},
        {0, {0, 20000}, kAll, 400}, {2, {100, 100}, 3, 100}, {0, {0, 20000}, 0, 100},
    };
    for (const bool indexed : {true, false}) {
        if (!indexed)
            data.index = CutIndex();
        for (const Case& c : cases) {
            const std::string name = std::string(indexed ? "indexed" : "walked") + " mode " +
                                     std::to_string(c.drawMode) + " range " +
                                     std::to_string(c.range.first) + " per tool " +
                                     std::to_string(c.perTool) + " gap " + std::to_string(c.gap);
            const auto valueOf = [&](std::uint32_t i) {
                return std::optional(seriesValue(data, i, c.drawMode, 5000.0f));
            };
            expectSamePeaks(
                PeakFinder(data, c.drawMode, 5000.0f).findPerTool(c.range, c.perTool, c.gap),
                toolPeaksByTheRule(data, c.range, valueOf, c.perTool, c.gap), name);
        }
    }
    const auto rapidOut = [&](std::uint32_t i) -> std::optional<float> {
        if (data.records[i].motionCode == 0)
            return std::nullopt;
        return static_cast<float>(data.records[i].optFeed);
    };
    expectSamePeaks(PeakFinder::ofOptimisedFeed(data).findPerTool({0, 20000}, 3, 100),
                    toolPeaksByTheRule(data, {0, 20000}, rapidOut, 3, 100), "optimised feed");
}

// Two tools that take turns every few records: the other tool's peak near by keeps none out, and
// the tools come in the order of first use, not of their numbers.
TEST(PeakFinder, APeakOfAnotherToolCloseByKeepsNoneOut) {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        if (i % 10 == 0)
            text += i % 20 == 0 ? "T7\n" : "T2\n";
        text += "N" + std::to_string(i + 1) + "(B)G01X" + std::to_string(i) + "F1000(V" +
                std::to_string(1 + (i * 37) % 11) + ")F1000\n";
    }
    const CutDataSet data = loadText(text);
    const std::vector<Peak> peaks = PeakFinder(data, 0, 5000.0f).findPerTool({0, data.count}, 2, 5);
    const auto valueOf = [&](std::uint32_t i) {
        return std::optional(seriesValue(data, i, 0, 5000.0f));
    };
    expectSamePeaks(peaks, toolPeaksByTheRule(data, {0, data.count}, valueOf, 2, 5), "turns");
    ASSERT_EQ(peaks.size(), 4u);
    EXPECT_EQ(data.records[peaks[0].index].toolNo, 7);
    EXPECT_EQ(data.records[peaks[2].index].toolNo, 2);
}

} // namespace
