#include "toolpathtesting.h"
#include "viridis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// The fitted mapping written out: margin, scale, the box's centre at the image's centre.
struct ExpectedFit {
    double a0, b0, s;
    int width, height;

    ExpectedFit(double aLow, double aHigh, double bLow, double bHigh, int w, int h)
        : a0((aLow + aHigh) / 2), b0((bLow + bHigh) / 2), width(w), height(h) {
        const double m = std::round(0.05 * std::min(w, h));
        const double aw = aHigh > aLow ? aHigh - aLow : 1.0;
        const double bw = bHigh > bLow ? bHigh - bLow : 1.0;
        s = std::min((w - 2 * m) / aw, (h - 2 * m) / bw);
    }
    int px(double a) const { return static_cast<int>(std::floor(width / 2.0 + (a - a0) * s)); }
    int py(double b) const { return static_cast<int>(std::floor(height / 2.0 - (b - b0) * s)); }
};

struct FitCase {
    ToolpathViewKind view;
    int width, height;
    // The box's extent in the view's axes.
    double aLow, aHigh, bLow, bHigh;
};

class ToolpathFitCases : public ::testing::TestWithParam<FitCase> {};

// The fitted views of the rectangles (x 0..90, y 0..20, z 0) map points as stated.
TEST_P(ToolpathFitCases, mapsTheBoxIntoTheImageAsStated) {
    const FitCase& c = GetParam();
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(c.view), c.width, c.height);
    const ExpectedFit expected(c.aLow, c.aHigh, c.bLow, c.bHigh, c.width, c.height);
    EXPECT_EQ(fit.margin(), static_cast<int>(std::round(0.05 * std::min(c.width, c.height))));
    EXPECT_DOUBLE_EQ(fit.scale(), expected.s);
    const ToolpathView view(c.view);
    const double points[][3] = {{0, 0, 0}, {90, 20, 0}, {40, 20, 0}, {50, 0, 0}};
    for (const auto& p : points) {
        const double a = view.a(p[0], p[1], p[2]);
        const double b = view.b(p[0], p[1], p[2]);
        EXPECT_NEAR(fit.px(p[0], p[1], p[2]), c.width / 2.0 + (a - expected.a0) * expected.s, 1e-9);
        EXPECT_NEAR(fit.py(p[0], p[1], p[2]), c.height / 2.0 - (b - expected.b0) * expected.s,
                    1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Views, ToolpathFitCases,
                         ::testing::Values(FitCase{ToolpathViewKind::Top, 200, 100, 0, 90, 0, 20},
                                           FitCase{ToolpathViewKind::Top, 101, 300, 0, 90, 0, 20},
                                           // No height in Z: the extent is 1 mm.
                                           FitCase{ToolpathViewKind::Front, 200, 100, 0, 90, 0, 0},
                                           FitCase{ToolpathViewKind::Right, 300, 200, 0, 20, 0,
                                                   0}));

// Top: x right, y up; front: x right, z up; right: y right, z up; iso from (1, -1, 1).
TEST(ToolpathView, axesOfTheFourViews) {
    const struct {
        ToolpathViewKind kind;
        double right[3];
        double up[3];
    } cases[] = {{ToolpathViewKind::Top, {1, 0, 0}, {0, 1, 0}},
                 {ToolpathViewKind::Front, {1, 0, 0}, {0, 0, 1}},
                 {ToolpathViewKind::Right, {0, 1, 0}, {0, 0, 1}},
                 {ToolpathViewKind::Iso,
                  {std::sqrt(0.5), std::sqrt(0.5), 0},
                  {-1 / std::sqrt(6.0), 1 / std::sqrt(6.0), 2 / std::sqrt(6.0)}}};
    for (const auto& c : cases) {
        const ToolpathView view(c.kind);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(view.right()[k], c.right[k], 1e-12) << static_cast<int>(c.kind) << k;
            EXPECT_NEAR(view.up()[k], c.up[k], 1e-12) << static_cast<int>(c.kind) << k;
        }
    }
}

struct ColourCase {
    const char* name;
    std::string text;
    ToolpathViewKind view;
    ToolpathColourMode mode;
    RecordRange emphasised;
    double x, y, z; // a model point whose pixel is looked at
    std::uint32_t colour;
};

class ToolpathColourCases : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ToolpathColourCases, pixelOfAChosenPointHasItsSegmentsColour) {
    const ColourCase& c = GetParam();
    const CutDataSet data = loadText(c.text);
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    style.mode = c.mode;
    style.emphasised = c.emphasised;
    const ToolpathFit fit(model.box(), ToolpathView(c.view), 400, 300);
    const ToolpathPicture picture(model, fit, style);
    const int x = static_cast<int>(std::floor(fit.px(c.x, c.y, c.z)));
    const int y = static_cast<int>(std::floor(fit.py(c.x, c.y, c.z)));
    EXPECT_EQ(picture.at(x, y), c.colour) << std::hex << picture.at(x, y);
}

const RecordRange kAll{0, 0xFFFFFFFFu};

INSTANTIATE_TEST_SUITE_P(
    Paths, ToolpathColourCases,
    ::testing::Values(
        // Each tool's rectangle in its chart colour; the second over the jump between them.
        ColourCase{"tool1Side", rectanglesText(), ToolpathViewKind::Top, ToolpathColourMode::Chart,
                   kAll, 20, 20, 0, kGreen},
        ColourCase{"tool2Side", rectanglesText(), ToolpathViewKind::Top, ToolpathColourMode::Chart,
                   kAll, 70, 20, 0, kBlue},
        ColourCase{"tool2Jump", rectanglesText(), ToolpathViewKind::Top, ToolpathColourMode::Chart,
                   kAll, 45, 0, 0, kBlue},
        // Records outside the emphasised range: three parts of white.
        ColourCase{"faded", rectanglesText(), ToolpathViewKind::Top, ToolpathColourMode::Chart,
                   RecordRange{5, 10}, 20, 20, 0, 0xFFBFFFBFu},
        ColourCase{"inRange", rectanglesText(), ToolpathViewKind::Top, ToolpathColourMode::Chart,
                   RecordRange{5, 10}, 70, 20, 0, kBlue},
        // The second rectangle's removal is the maximum: the top of the map.
        ColourCase{"removalTop", rectanglesText(), ToolpathViewKind::Top,
                   ToolpathColourMode::Removal, kAll, 70, 0, 0, ViridisColour(255)},
        // Removal per second with the optimised feed: 2 * 900 / 60 is the maximum.
        ColourCase{"rateOptTop", rectanglesText(), ToolpathViewKind::Top,
                   ToolpathColourMode::RateOpt, kAll, 90, 10, 0, ViridisColour(255)},
        // A G00 jump in dashed grey, its first pixel drawn.
        ColourCase{"rapid", "N1)G01X0Y0F600(A1)F900\nN2)G00X30Y0\nN3)G01X30Y10(A1)F900\n",
                   ToolpathViewKind::Top, ToolpathColourMode::Chart, kAll, 0, 0, 0, kRapidColour},
        // The helix seen from the side: its last point in the colour of its last segment.
        ColourCase{"helixEnd", helixText(3), ToolpathViewKind::Iso, ToolpathColourMode::Removal,
                   kAll, 10, 0, 6, ViridisColour(255)},
        // Preset to the origin: the segment after it starts there.
        ColourCase{"preset", "N1)G01X10Y0Z0\nG92X0Y0Z0\nN2)G01X0Y8Z0\n", ToolpathViewKind::Top,
                   ToolpathColourMode::Chart, kAll, 0, 4, 0, kGreen},
        ColourCase{"presetNoJoin", "N1)G01X10Y0Z0\nG92X0Y0Z0\nN2)G01X0Y8Z0\n",
                   ToolpathViewKind::Top, ToolpathColourMode::Chart, kAll, 5, 4, 0, kBackColour},
        // A move within one pixel in another colour still shows.
        ColourCase{"tinyLast", "T1\nN1)G01X100Y0\nN2)G01X40.3Y0\nT2\nN3)G01X40.299Y0\n",
                   ToolpathViewKind::Top, ToolpathColourMode::Chart, kAll, 40.3, 0, 0, kBlue},
        ColourCase{"single", "N1)G01X3Y4Z5\n", ToolpathViewKind::Right, ToolpathColourMode::Chart,
                   kAll, 3, 4, 5, kGreen}),
    [](const auto& info) { return std::string(info.param.name); });

// The half-way removal gets the middle of the map.
TEST(ToolpathColours, removalLevelsAndFading) {
    EXPECT_EQ(ViridisLevel(1.0f, 2.0f), 128);
    EXPECT_EQ(ViridisLevel(0.0f, 2.0f), 0);
    EXPECT_EQ(ViridisLevel(std::nanf(""), 2.0f), 0);
    EXPECT_EQ(ViridisLevel(5.0f, 0.0f), 0);
    EXPECT_EQ(ViridisLevel(3.0f, 2.0f), 255);
    EXPECT_EQ(ViridisColour(0), 0xFF440154u);
    EXPECT_EQ(ViridisColour(255), 0xFFFDE725u);
    EXPECT_EQ(Faded(0xFF000000u), 0xFFBFBFBFu);
    EXPECT_EQ(Faded(0xFFFF0000u), 0xFFFFBFBFu);
}

TEST(ToolpathColours, halfWayRemovalIsTheMiddleOfTheMap) {
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    style.mode = ToolpathColourMode::Removal;
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 400, 300);
    const ToolpathPicture picture(model, fit, style);
    EXPECT_EQ(picture.at(static_cast<int>(fit.px(20, 20, 0)), static_cast<int>(fit.py(20, 20, 0))),
              ViridisColour(128));
}

// A dashed rapid move leaves gaps; later segments lie over earlier ones.
TEST(ToolpathDrawing, rapidMovesAreDashedAndLaterSegmentsLieOver) {
    const CutDataSet data = loadText("N1)G01X0Y0F600(A1)F900\nN2)G00X30Y0\nN3)G01X30Y10\n");
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 400, 300);
    const ToolpathPicture picture(model, fit, chartStyle());
    const int y = static_cast<int>(std::floor(fit.py(0, 0, 0)));
    const int x0 = static_cast<int>(std::floor(fit.px(0, 0, 0)));
    const int x1 = static_cast<int>(std::floor(fit.px(30, 0, 0)));
    int grey = 0, white = 0;
    for (int x = x0; x < x1; ++x) {
        grey += picture.at(x, y) == kRapidColour;
        white += picture.at(x, y) == kBackColour;
    }
    EXPECT_GT(grey, (x1 - x0) / 3);
    EXPECT_GT(white, (x1 - x0) / 3);
    EXPECT_EQ(picture.at(x1, y), kGreen);
}

// Paths without a drawable segment leave the picture white.
TEST(ToolpathDrawing, pathsWithoutMotionOrWithNaNDrawNothingWrong) {
    const CutDataSet still = loadText("N1)G01X0Y0Z0\nN2)G01X0Y0Z0\nN3)G01\n");
    const ToolpathModel stillModel(still);
    const ToolpathFit stillFit(stillModel.box(), ToolpathView(ToolpathViewKind::Iso), 64, 48);
    EXPECT_EQ(ToolpathPicture(stillModel, stillFit, chartStyle()).count(kBackColour), 64 * 48);

    const CutDataSet broken = loadText("N1)G01X1Y1Z1\nN2)G01XnanY2\nN3)G01X3Y3\nN4)G01X4\n");
    const ToolpathModel model(broken);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 200);
    const ToolpathPicture picture(model, fit, chartStyle());
    EXPECT_EQ(picture.at(static_cast<int>(fit.px(3.5, 3, 1)), static_cast<int>(fit.py(3.5, 3, 1))),
              kGreen);
    EXPECT_EQ(picture.at(static_cast<int>(fit.px(2, 2, 1)), static_cast<int>(fit.py(2, 2, 1))),
              kBackColour);
}

} // namespace

namespace {

// The colours worked out in shares on several threads are those of one walk from the start:
// tools change (also to and from tool 0) across the shares' borders; the alpha byte tells rapid
// moves and segments left out.
// With the chart coloured by tool, tool t's cutting segments take curve colour t & 15 (negative
// tools too), wherever the chart's stepped colour numbers would be; rapid moves stay grey.
TEST(ToolpathColours, colourByToolTakesTheLowFourBitsOfTheTool) {
    const CutDataSet data = loadText("T3\nN1)G01X1(A1)\nT17\nN2)G01X2(A1)\nN3)G00X3\n"
                                     "T-2\nN4)G01X4(A1)\nT3\nN5)G01X5(A1)\n");
    ToolpathStyle style = chartStyle();
    for (std::size_t n = 0; n < style.curveColours.size(); ++n)
        style.curveColours[n] = static_cast<std::uint32_t>(0x010203 * (n + 1));
    style.colourByTool = true;
    ToolpathColouring byTool(data, style);
    const int expected[] = {3, 1, -1, 14, 3}; // -1: the rapid move
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const std::uint32_t colour = byTool.colourOf(i);
        if (expected[i] < 0)
            EXPECT_EQ(colour, kRapidColour) << i;
        else
            EXPECT_EQ(colour, PixelOfColorRef(style.curveColours[expected[i]])) << i;
    }
    style.colourByTool = false;
    ToolpathColouring stepped(data, style);
    for (std::uint32_t i = 0; i < 3; ++i)
        stepped.colourOf(i);
    EXPECT_NE(stepped.colourOf(3), PixelOfColorRef(style.curveColours[14]))
        << "the stepped colours differ here, so the test tells the two apart";
}

TEST(ToolpathPixels, coloursOfSharesAreThoseOfOneWalk) {
    std::string text;
    const int tools[] = {3, 0, 5, 5, 0, 7, 2};
    for (int k = 0; k < 140000; ++k) {
        if (k % 997 == 0)
            text += "T" + std::to_string(tools[(k / 997) % 7]) + "\n";
        text += "N" + std::to_string(k) + ")G0" + (k % 13 == 0 ? "0" : "1") + "X" +
                std::to_string(k % 50 - k % 11 % 2) + "Y" + std::to_string(k / 50) + "(A1)\n";
    }
    const CutDataSet data = loadText(text);
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    style.emphasised = {1000, 120000};
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 100, 100);
    ToolpathPixels pixels;
    pixels.project(model, fit, style);
    ToolpathColouring walk(data, style);
    int mismatches = 0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const std::uint32_t colour = walk.colourOf(i);
        const std::uint32_t alpha = !model.drawn(i)   ? 0u
                                    : walk.isRapid(i) ? kRapidAlpha
                                                      : 0xFF000000u;
        const std::uint32_t expected = (colour & 0xFFFFFFu) | alpha;
        mismatches += pixels.colours()[i] != expected;
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace

namespace {

// Kept colours serve another view; another range or colouring works them out again.
TEST(ToolpathPixels, coloursFollowTheStyleNotTheView) {
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    ToolpathPixels pixels;
    const ToolpathFit top(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 100);
    const ToolpathFit iso(model.box(), ToolpathView(ToolpathViewKind::Iso), 200, 100);
    pixels.project(model, top, style);
    EXPECT_EQ(pixels.colours()[3], kGreen);
    pixels.project(model, iso, style);
    EXPECT_EQ(pixels.colours()[3], kGreen);
    style.emphasised = {5, 10};
    pixels.project(model, iso, style);
    EXPECT_EQ(pixels.colours()[3], Faded(kGreen));
    style.mode = ToolpathColourMode::Removal;
    pixels.project(model, top, style);
    EXPECT_EQ(pixels.colours()[7], ViridisColour(255));
}

// Kept colours are worked out again when any one part of the style changes alone: each change
// gives record 7 (of tool 2, at the largest removal) another colour than before.
TEST(ToolpathPixels, aChangeOfAnyOnePartOfTheStyleColoursAgain) {
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 100);
    const struct {
        const char* name;
        void (*change)(ToolpathStyle&);
    } changes[] = {
        {"range's end",
         [](ToolpathStyle& s) {
             s.emphasised = {0, 7};
         }},
        {"range's start",
         [](ToolpathStyle& s) {
             s.emphasised = {8, 10};
         }},
        {"mode", [](ToolpathStyle& s) { s.mode = ToolpathColourMode::Removal; }},
        {"curve colours", [](ToolpathStyle& s) { s.curveColours[1] = 0x00123456u; }},
        {"colour by tool", [](ToolpathStyle& s) { s.colourByTool = true; }},
    };
    for (const auto& c : changes) {
        ToolpathStyle style = chartStyle();
        style.emphasised = {0, 10};
        ToolpathPixels pixels;
        pixels.project(model, fit, style);
        const std::uint32_t before = pixels.colours()[7];
        c.change(style);
        pixels.project(model, fit, style);
        ToolpathColouring walk(data, style);
        for (std::uint32_t i = 0; i < 7; ++i)
            walk.colourOf(i);
        EXPECT_EQ(pixels.colours()[7], (walk.colourOf(7) & 0xFFFFFFu) | 0xFF000000u) << c.name;
        EXPECT_NE(pixels.colours()[7], before) << c.name << ": the change shows";
    }
}

// How many records a draft takes, and which: every stride-th and the last, the same when the
// records are taken in shares, as the projection on several threads takes them.
TEST(ToolpathDraft, strideAndRecordsTaken) {
    EXPECT_EQ(DraftStride(0), 1u);
    EXPECT_EQ(DraftStride(kDraftSegments), 1u);
    EXPECT_EQ(DraftStride(kDraftSegments + 1), 2u);
    EXPECT_EQ(DraftStride(10000000), 25u);
    EXPECT_EQ(DraftStride(0xFFFFFFFFu), 10738u);
    const struct {
        std::uint32_t count, stride;
        std::vector<std::uint32_t> taken;
    } cases[] = {
        {0, 3, {}},
        {1, 3, {0}},
        {2, 3, {0, 1}},
        {10, 3, {0, 3, 6, 9}},
        {11, 3, {0, 3, 6, 9, 10}},
        {5, 1, {0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint32_t> whole;
        ForEachDraftRecord(0, c.count, c.count, c.stride,
                           [&](std::uint32_t i) { whole.push_back(i); });
        EXPECT_EQ(whole, c.taken) << c.count << " records, stride " << c.stride;
        for (std::uint32_t cut = 0; cut <= c.count; ++cut) {
            std::vector<std::uint32_t> shares;
            const auto take = [&](std::uint32_t i) { shares.push_back(i); };
            ForEachDraftRecord(0, cut, c.count, c.stride, take);
            ForEachDraftRecord(cut, c.count, c.count, c.stride, take);
            EXPECT_EQ(shares, c.taken) << c.count << " records cut at " << cut;
        }
    }
}

struct DraftCase {
    const char* name;
    std::string text;
    std::uint32_t stride;
    double x, y;         // a point of the top view
    std::uint32_t full;  // its colour when every segment is drawn
    std::uint32_t draft; // and in the draft
};

class ToolpathDraftCases : public ::testing::TestWithParam<DraftCase> {};

// The draft joins the records it takes, starts again at a preset and keeps the colours.
TEST_P(ToolpathDraftCases, draftJoinsTheRecordsItTakes) {
    const DraftCase& c = GetParam();
    const CutDataSet data = loadText(c.text);
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 400, 300);
    const int x = static_cast<int>(std::floor(fit.px(c.x, c.y, 0)));
    const int y = static_cast<int>(std::floor(fit.py(c.x, c.y, 0)));
    EXPECT_EQ(ToolpathPicture(model, fit, chartStyle()).at(x, y), c.full) << "full";
    EXPECT_EQ(ToolpathPicture(model, fit, chartStyle(), c.stride).at(x, y), c.draft) << "draft";
}

const std::string kZigzag = "N1)G01X0Y0\nN2)G01X10Y10\nN3)G01X20Y0\nN4)G01X30Y10\nN5)G01X40Y0\n";

INSTANTIATE_TEST_SUITE_P(
    Drafts, ToolpathDraftCases,
    ::testing::Values(
        // Records 0, 2 and 4 taken: a straight line at y 0, without the peaks.
        DraftCase{"zigzagBetweenTakenRecords", kZigzag, 2, 10, 0, kBackColour, kGreen},
        DraftCase{"zigzagPeakLeftOut", kZigzag, 2, 10, 10, kGreen, kBackColour},
        DraftCase{"strideOneIsTheWhole", kZigzag, 1, 10, 10, kGreen, kGreen},
        // Four records: 0, 2 and the last one, 3, are taken.
        DraftCase{"lastRecordTaken", "N1)G01X0Y0\nN2)G01X10Y0\nN3)G01X20Y0\nN4)G01X20Y10\n", 2, 20,
                  5, kGreen, kGreen},
        // The preset before record 2 breaks the path: its segment starts at the preset, and
        // nothing joins record 0 to it.
        DraftCase{"presetStartsTheSegment",
                  "N1)G01X0Y0\nN2)G01X10Y0\nG92X0Y20\nN3)G01X10Y20\nN4)G01X20Y20\n", 2, 5, 20,
                  kGreen, kGreen},
        DraftCase{"presetIsNotJoined",
                  "N1)G01X0Y0\nN2)G01X10Y0\nG92X0Y20\nN3)G01X10Y20\nN4)G01X20Y20\n", 2, 5, 10,
                  kBackColour, kBackColour},
        // Tool 2's record taken draws the joined segment in its colour.
        DraftCase{"colourOfTheTakenRecord", "T1\nN1)G01X0Y0\nN2)G01X10Y10\nT2\nN3)G01X20Y0\n", 2,
                  15, 0, kBackColour, kBlue}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// The records at which the projection's shares start, for every number of threads it may take.
std::vector<std::uint32_t> shareBorders(std::uint32_t count) {
    std::vector<std::uint32_t> borders;
    for (std::uint32_t threads = 2; threads <= 8; ++threads) {
        const std::uint32_t share = (count + threads - 1) / threads;
        for (std::uint32_t k = 1; k < threads; ++k)
            borders.push_back(k * share);
    }
    std::sort(borders.begin(), borders.end());
    return borders;
}

// Tools change on the very records where the shares start (to and from tool 0 too), and on the
// records just before: every segment has the colour of one walk from the first record.
TEST(ToolpathPixels, toolChangesOnTheBordersOfTheSharesKeepTheWalksColours) {
    const std::uint32_t count = 70000;
    const std::vector<std::uint32_t> borders = shareBorders(count);
    const int tools[] = {4, 0, 9, 9, 0, 2, 6, 1};
    std::string text;
    std::size_t changes = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        const bool border = std::binary_search(borders.begin(), borders.end(), k) ||
                            std::binary_search(borders.begin(), borders.end(), k + 7);
        if (k == 0 || border)
            text += "T" + std::to_string(tools[changes++ % std::size(tools)]) + "\n";
        text += "N" + std::to_string(k) + ")G01X" + std::to_string(k % 40) + "Y" +
                std::to_string(k / 40) + "(A1)\n";
    }
    const CutDataSet data = loadText(text);
    ASSERT_EQ(data.count, count);
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    for (std::size_t n = 0; n < style.curveColours.size(); ++n)
        style.curveColours[n] = static_cast<std::uint32_t>(0x030507 * (n + 1));
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 100, 100);
    ToolpathPixels pixels;
    pixels.project(model, fit, style);
    ToolpathColouring walk(data, style);
    std::vector<std::uint32_t> wrong;
    for (std::uint32_t i = 1; i < count; ++i) {
        const std::uint32_t expected = (walk.colourOf(i) & 0xFFFFFFu) | 0xFF000000u;
        if (pixels.colours()[i] != expected)
            wrong.push_back(i);
    }
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " wrong, the first at record "
                               << (wrong.empty() ? 0u : wrong.front());
}

struct FloorCase {
    double x, y; // where the fit, panned, maps the point
};

// Positions left of or above the image go to the pixel whose square holds them, as those inside
// do: -0.5 is in pixel -1, not 0.
TEST(ToolpathPixels, positionsOffTheImageAreFloored) {
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 100);
    const PathPoint point{40, 20, 0};
    const FloorCase cases[] = {{-0.5, -0.5}, {-1.25, 3.5},   {-2.75, -7.75}, {0.25, -0.25},
                               {3.6, -1.9},  {-999.4, 50.5}, {199.5, -0.01}, {-0.01, 99.99}};
    for (const FloorCase& c : cases) {
        const ToolpathFit panned = fit.panned(c.x - fit.px(point.x, point.y, point.z),
                                              c.y - fit.py(point.x, point.y, point.z));
        const PixelPoint pixel = PixelOf(panned, point);
        EXPECT_EQ(pixel.x, static_cast<int>(std::floor(c.x))) << c.x;
        EXPECT_EQ(pixel.y, static_cast<int>(std::floor(c.y))) << c.y;
    }
}

// Moved half a pixel past the left edge, the rectangle's left side lies outside the image: the
// first column shows only the two sides that run into the image.
TEST(ToolpathDrawing, sidePannedJustOffTheImageIsNotDrawnOnItsEdge) {
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 100);
    const ToolpathFit panned = fit.panned(-0.5 - fit.px(0, 0, 0), 0.0);
    const ToolpathPicture picture(model, panned, chartStyle());
    std::vector<int> rows;
    for (int y = 0; y < picture.height; ++y)
        if (picture.at(0, y) != kBackColour)
            rows.push_back(y);
    const std::vector<int> sides = {static_cast<int>(std::floor(panned.py(0, 20, 0))),
                                    static_cast<int>(std::floor(panned.py(0, 0, 0)))};
    EXPECT_EQ(rows, sides);
}

// A point with a coordinate not a number, or whose mapped position is none, has no pixel (the draft
// joins records by their pixels and must not draw to such a point).
TEST(ToolpathPixels, aPointMappedToNoNumberHasNoPixel) {
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    const float nan = std::nanf("");
    const struct {
        ToolpathViewKind view;
        PathPoint point;
        bool pixel;
    } cases[] = {{ToolpathViewKind::Top, {nan, 10, 0}, false},
                 {ToolpathViewKind::Top, {10, nan, 0}, false},
                 {ToolpathViewKind::Front, {10, 0, nan}, false},
                 {ToolpathViewKind::Iso, {10, 10, nan}, false},
                 {ToolpathViewKind::Top, {10, 10, nan}, false},
                 // Across the iso view's up axis the two infinities leave no number.
                 {ToolpathViewKind::Iso, {HUGE_VALF, HUGE_VALF, 0}, false},
                 {ToolpathViewKind::Top, {10, 10, 0}, true}};
    for (const auto& c : cases) {
        const ToolpathFit fit(model.box(), ToolpathView(c.view), 200, 100);
        const PixelPoint pixel = PixelOf(fit, c.point);
        EXPECT_EQ(pixel.x != kNoPixel, c.pixel) << static_cast<int>(c.view) << ": " << c.point.x
                                                << "," << c.point.y << "," << c.point.z;
    }
}

} // namespace
