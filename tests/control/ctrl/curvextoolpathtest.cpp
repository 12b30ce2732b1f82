// The toolpath members through the dispatch interface: drawing onto a host's surface, the view
// and colour settings, the pick with its event and mark, the records emphasised, and FALSE for
// what cannot be done.

#include "curvexhostsupport.h"
#include "cutdatatesting.h"
#include "cutloader.h"

#include "../../platform/tempfolder.h"
#include "surfaceregistry.h"

#include <QImage>
#include <QTest>
#include <array>
#include <vector>

#include <cmath>
#include <functional>
#include <string>

using namespace curvextest;

namespace {

class CurvexToolpathTest : public CurvexHostTest {
protected:
    bool drawToolpath(QImage& image, int dispid = curvex::DispDrawToolpath) {
        const component::SurfaceRegistry::Entry surface(&image);
        return call(dispid, {surface.handle(), image.width(), image.height()}).toBool();
    }
    QImage drawn(int dispid = curvex::DispDrawToolpath) {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        EXPECT_TRUE(drawToolpath(image, dispid)) << dispid;
        return image;
    }
    static int whitePixels(const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(255, 255, 255);
        return n;
    }
};

TEST_F(CurvexToolpathTest, BadArgumentsAnswerFalse) {
    ASSERT_TRUE(loadSample());
    QImage image(200, 150, QImage::Format_RGB32);
    const struct {
        int dispid;
        QVariantList args;
    } cases[] = {
        {curvex::DispSetToolpathView, {4}},
        {curvex::DispSetToolpathView, {-1}},
        {curvex::DispSetToolpathColour, {5}},
        {curvex::DispSetToolpathColour, {-1}},
        {curvex::DispMoveToolpath, {-1.0f, 0.0f, 0.0f, 0.0f, 0.0f}},
        {curvex::DispMoveToolpath, {std::nanf(""), 0.0f, 0.0f, 0.0f, 0.0f}},
        {curvex::DispOrbitToolpath, {std::nanf(""), 0.0f}},
        {curvex::DispDrawToolpath, {987654, 200, 150}},
        {curvex::DispDrawToolpathDraft, {987654, 200, 150}},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(call(c.dispid, c.args).toBool()) << c.dispid;
    const component::SurfaceRegistry::Entry surface(&image);
    EXPECT_FALSE(call(curvex::DispDrawToolpath, {surface.handle(), 0, 150}).toBool());
    EXPECT_FALSE(call(curvex::DispDrawToolpathDraft, {surface.handle(), 200, 0}).toBool());
    EXPECT_FALSE(call(curvex::DispDrawToolpathDraft, {surface.handle(), -200, 150}).toBool());
    // No drawing yet: nothing to pick.
    EXPECT_EQ(call(curvex::DispPickToolpath, {100.0f, 75.0f}).toInt(), -1);
}

// A report's toolpath is the iso view fitted, in the chart's colours, whatever the host shows;
// the host's view, zoom and colours stay as they were.
TEST_F(CurvexToolpathTest, TheReportsToolpathLeavesTheShownViewAlone) {
    ASSERT_TRUE(loadSample());
    ASSERT_TRUE(call(curvex::DispSetToolpathView, {0}).toBool());
    ASSERT_TRUE(call(curvex::DispSetToolpathColour, {1}).toBool());
    drawn(); // a zoom is about a point of the last picture
    ASSERT_TRUE(call(curvex::DispMoveToolpath, {2.0f, 150.0f, 100.0f, 7.0f, -5.0f}).toBool());
    const QImage shown = drawn();
    const QImage report = drawn(curvex::DispDrawReportToolpath);
    EXPECT_EQ(drawn(), shown) << "the host's view changed";
    EXPECT_NE(report, shown);
    ASSERT_TRUE(call(curvex::DispSetToolpathView, {3}).toBool());
    ASSERT_TRUE(call(curvex::DispSetToolpathColour, {0}).toBool());
    EXPECT_EQ(drawn(), report) << "the iso view fitted, in the chart's colours";
    QImage image(300, 200, QImage::Format_RGB32);
    const component::SurfaceRegistry::Entry surface(&image);
    EXPECT_FALSE(call(curvex::DispDrawReportToolpath, {surface.handle(), 0, 200}).toBool());
    EXPECT_FALSE(call(curvex::DispDrawReportToolpath, {987654, 300, 200}).toBool());
}

// With the whole range shown nothing is faded: the chart's first curve colour is drawn as it is.
TEST_F(CurvexToolpathTest, TheWholeRangeIsDrawnInFullColour) {
    ASSERT_TRUE(loadSample());
    for (int distanceMode : {0, 1, 2}) {
        call(2, {distanceMode}, component::InvokeKind::PropertyPut);
        const QImage image = drawn();
        const QRgb first = qRgb(0, 255, 0);
        int full = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                full += image.pixel(x, y) == first;
        EXPECT_GT(full, 0) << "distance mode " << distanceMode;
    }
}

// Each colouring the host chooses draws its own picture; back to the chart's, the first again.
TEST_F(CurvexToolpathTest, TheHostsColouringIsDrawn) {
    ASSERT_TRUE(loadSample());
    const QImage byChart = drawn();
    for (int mode : {1, 2, 3, 4}) {
        ASSERT_TRUE(call(curvex::DispSetToolpathColour, {mode}).toBool());
        EXPECT_NE(drawn(), byChart) << "colour mode " << mode;
    }
    ASSERT_TRUE(call(curvex::DispSetToolpathColour, {0}).toBool());
    EXPECT_EQ(drawn(), byChart);
}

TEST_F(CurvexToolpathTest, DrawsPicksAndMarksTheChart) {
    ASSERT_TRUE(loadSample());
    QImage image(300, 200, QImage::Format_RGB32);
    ASSERT_TRUE(drawToolpath(image));
    const int drawnIso = whitePixels(image);
    EXPECT_LT(drawnIso, 300 * 200);
    ASSERT_TRUE(call(curvex::DispSetToolpathView, {0}).toBool());
    ASSERT_TRUE(drawToolpath(image));
    EXPECT_NE(whitePixels(image), drawnIso);

    // A pick somewhere on the path: the event names the record, which the chart marks.
    int picked = -1;
    for (int y = 0; y < 200 && picked < 0; y += 5)
        for (int x = 0; x < 300 && picked < 0; x += 5)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                picked = call(curvex::DispPickToolpath, {float(x), float(y)}).toInt();
    ASSERT_GE(picked, 0);
    ASSERT_EQ(sink.count(curvex::EventToolpathPicked), 1);
    EXPECT_EQ(sink.events.back().args.value(0).toInt(), picked);
    EXPECT_GE(sink.count(curvex::EventReadOut), 1);

    // Zoomed in 4 times about the centre, the path covers more; Home fits it again.
    ASSERT_TRUE(call(curvex::DispMoveToolpath, {4.0f, 150.0f, 100.0f, 0.0f, 0.0f}).toBool());
    ASSERT_TRUE(drawToolpath(image));
    const int zoomed = whitePixels(image);
    ASSERT_TRUE(call(curvex::DispMoveToolpath, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f}).toBool());
    ASSERT_TRUE(drawToolpath(image));
    EXPECT_NE(zoomed, whitePixels(image));
}

// A path of few records is drawn whole as its draft; one of more records than a draft takes loses
// the peaks of its zigzag, every other record, in the draft, and is whole again after it.
TEST_F(CurvexToolpathTest, TheDraftTakesSomeRecordsOfALongPath) {
    ASSERT_TRUE(loadSample());
    EXPECT_EQ(drawn(curvex::DispDrawToolpathDraft), drawn());

    TempFolder folder;
    std::string text;
    for (int block = 1; block <= 500000; ++block)
        text += "N" + std::to_string(block) + ")G01X" + std::to_string(block % 1000) + "Y" +
                std::to_string(block % 2 * 500) + "\n";
    writeBytes(folder.file("zigzag.txt"), text);
    ASSERT_TRUE(call(5, {QString::fromStdString(folder.file("zigzag.txt")), 1}).toBool());
    ASSERT_TRUE(call(curvex::DispSetToolpathView, {0}).toBool());
    const QImage full = drawn();
    const QImage draft = drawn(curvex::DispDrawToolpathDraft);
    EXPECT_GT(whitePixels(draft), whitePixels(full));
    EXPECT_LT(whitePixels(draft), 300 * 200);
    EXPECT_EQ(drawn(), full);
}

// A straight path along X of kSteps moves of 10 mm: record i ends at X = 10 i, so in the top view
// the segment of record i (from record i - 1 to it) is the i-th of equal steps along the drawn
// line, and record i lies at i / kSteps of the cutting distance.
constexpr int kSteps = 40;

class ToolpathEmphasisTest : public CurvexToolpathTest {
protected:
    void SetUp() override {
        CurvexToolpathTest::SetUp();
        std::string text;
        for (int i = 0; i <= kSteps; ++i)
            text += "N" + std::to_string(i + 1) + ")G01X" + std::to_string(10 * i) +
                    "Y0Z0F1000(V1)F900\n";
        path = folder.file("line.txt");
        writeBytes(path, text);
        ASSERT_TRUE(loadLine());
        ASSERT_TRUE(call(curvex::DispSetToolpathView, {0}).toBool());
        render();
        const std::uint32_t colour = call(curvex::DispGetGraphColor, {0}).toUInt(); // 0x00BBGGRR
        full = qRgb(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
        faded = qRgb((qRed(full) + 3 * 255) / 4, (qGreen(full) + 3 * 255) / 4,
                     (qBlue(full) + 3 * 255) / 4);
    }

    bool loadLine() {
        return call(curvex::DispLoadCutData, {QString::fromStdString(path), 1}).toBool();
    }

    // The colour drawn at the middle of each record's segment, records 1..kSteps.
    std::vector<QRgb> segmentColours() {
        const QImage image = drawn();
        int row = 0;
        int most = 0;
        for (int y = 0; y < image.height(); ++y) {
            int inked = 0;
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixel(x, y) != qRgb(255, 255, 255);
            if (inked > most) {
                most = inked;
                row = y;
            }
        }
        int left = 0;
        while (left < image.width() && image.pixel(left, row) == qRgb(255, 255, 255))
            ++left;
        int right = image.width() - 1;
        while (right > left && image.pixel(right, row) == qRgb(255, 255, 255))
            --right;
        std::vector<QRgb> colours(kSteps + 1, qRgb(255, 255, 255));
        for (int i = 1; i <= kSteps; ++i) {
            const double x = left + (i - 0.5) * (right - left) / kSteps;
            colours[static_cast<std::size_t>(i)] =
                image.pixel(static_cast<int>(std::lround(x)), row);
        }
        return colours;
    }

    // Records first..last in full colour, every other record faded; `skip` names records whose
    // colour is not asked (the marked one, drawn black).
    void expectEmphasised(const std::function<bool(int)>& inside, const std::string& what,
                          const std::function<bool(int)>& skip) {
        const std::vector<QRgb> colours = segmentColours();
        for (int i = 1; i <= kSteps; ++i) {
            if (skip(i))
                continue;
            EXPECT_EQ(colours[static_cast<std::size_t>(i)], inside(i) ? full : faded)
                << what << ": record " << i << (inside(i) ? " not emphasised" : " emphasised");
        }
    }

    // The chart's rule: the records whose distance lies within the shown range. Records within a
    // hair of either end are not asked.
    void expectShownRangeEmphasised(const std::string& what) {
        const auto [lower, upper] = distArea();
        const auto percent = [](int i) { return 100.0f * static_cast<float>(i) / kSteps; };
        const auto near = [](float a, float b) { return std::fabs(a - b) < 0.01f; };
        expectEmphasised([&](int i) { return percent(i) >= lower && percent(i) <= upper; }, what,
                         [&](int i) {
                             return i == kMarked || near(percent(i), lower) ||
                                    near(percent(i), upper);
                         });
    }

    static constexpr int kFirst = 10;
    static constexpr int kLast = 30;
    static constexpr int kMarked = 20;

    TempFolder folder;
    std::string path;
    QRgb full = 0;
    QRgb faded = 0;
};

// After ShowRecords the toolpath emphasises exactly the run, not the tenth the chart shows either
// side: records first - 1 and last + 1 lie in the shown range and are faded.
TEST_F(ToolpathEmphasisTest, ShowRecordsEmphasisesExactlyItsRecords) {
    ASSERT_TRUE(call(curvex::DispShowRecords, {kFirst, kLast}).toBool());
    const auto [lower, upper] = distArea();
    ASSERT_LT(lower, 100.0f * (kFirst - 1) / kSteps) << "the chart shows a margin";
    ASSERT_GT(upper, 100.0f * (kLast + 1) / kSteps) << "the chart shows a margin";
    // The mark moves off the run's first segment, which it draws black; the range stays.
    ASSERT_TRUE(call(curvex::DispMarkRecord, {kMarked}).toBool());
    render();
    ASSERT_EQ(distArea(), std::pair(lower, upper));
    const std::vector<QRgb> colours = segmentColours();
    for (const int i : {kFirst - 1, kFirst, kFirst + 1, kLast - 1, kLast, kLast + 1})
        EXPECT_EQ(colours[static_cast<std::size_t>(i)], i >= kFirst && i <= kLast ? full : faded)
            << "record " << i;
    expectEmphasised([](int i) { return i >= kFirst && i <= kLast; }, "the run",
                     [](int i) { return i == kMarked; });
}

// Any other change of the shown range brings back the shown range's records; setting the same
// range again changes nothing, and another ShowRecords emphasises its own run.
TEST_F(ToolpathEmphasisTest, OtherChangesOfTheShownRangeEmphasiseItsRecordsAgain) {
    const auto key = [this](Qt::Key k) { return [this, k] { QTest::keyClick(widget(), k); }; };
    const auto distanceMode = [this](int mode) {
        call(curvex::DispDistanceMode, {mode}, component::InvokeKind::PropertyPut);
    };
    // Each moves the shown range but the distance mode, whose same percentages are other records.
    const struct {
        const char* what;
        std::function<void()> change;
        bool movesRange = true;
    } changes[] = {
        {"zoom in", key(Qt::Key_Plus)},
        {"zoom out", key(Qt::Key_Minus)},
        {"scroll", key(Qt::Key_Right)},
        {"back", key(Qt::Key_Backspace)},
        {"home", key(Qt::Key_Home)},
        {"double click",
         [this] {
             QTest::mouseDClick(widget(), Qt::LeftButton, {}, {500, 200});
         }},
        {"drag",
         [this] {
             QTest::mousePress(widget(), Qt::LeftButton, {}, {300, 200});
             QTest::mouseMove(widget(), {450, 220});
             QTest::mouseRelease(widget(), Qt::LeftButton, {}, {600, 220});
         }},
        {"SetDistArea", [this] { setDistArea(20.0f, 70.0f); }},
        {"distance mode", [&] { distanceMode(1); }, false},
        {"load", [this] { ASSERT_TRUE(loadLine()); }},
    };
    for (const auto& c : changes) {
        distanceMode(0);
        setDistArea(0.0f, 100.0f);
        render();
        ASSERT_TRUE(call(curvex::DispShowRecords, {kFirst, kLast}).toBool()) << c.what;
        ASSERT_TRUE(call(curvex::DispMarkRecord, {kMarked}).toBool()) << c.what;
        render();
        const auto shown = distArea();
        c.change();
        render();
        if (c.movesRange) {
            ASSERT_NE(distArea(), shown) << c.what << " left the range alone";
        }
        expectShownRangeEmphasised(c.what);
    }

    ASSERT_TRUE(call(curvex::DispShowRecords, {kFirst, kLast}).toBool());
    ASSERT_TRUE(call(curvex::DispMarkRecord, {kMarked}).toBool());
    const auto [lower, upper] = distArea();
    setDistArea(lower, upper);
    expectEmphasised([](int i) { return i >= kFirst && i <= kLast; }, "the same range again",
                     [](int i) { return i == kMarked; });
    ASSERT_TRUE(call(curvex::DispShowRecords, {25, 35}).toBool());
    expectEmphasised([](int i) { return i >= 25 && i <= 35; }, "another run",
                     [](int i) { return i == 25; });
}

// The segments a path through the records leaves out, by a walk over the loaded records: the first
// record starts at the origin (text) or at its own point (binary); a segment is left out when an
// end is not finite or, after the first record, when it has no length. The files have no presets.
std::int32_t leftOutByWalk(const CutDataSet& data, bool binary) {
    const auto finite = [](const CutRecord& r) {
        return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.z);
    };
    const CutRecord origin{};
    std::int32_t leftOut = 0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& to = data.records[i];
        const CutRecord& from = i > 0 ? data.records[i - 1] : binary ? to : origin;
        if (!finite(from) || !finite(to))
            ++leftOut;
        else if (i > 0 && from.x == to.x && from.y == to.y && from.z == to.z)
            ++leftOut;
    }
    return leftOut;
}

std::string binaryFile(float startX, const std::vector<std::array<float, 3>>& points) {
    BinaryBytes bytes;
    bytes.header(startX, 2.0f, 3.0f);
    for (const auto& p : points)
        bytes.u16(0x0038).f32(p[0]).f32(p[1]).f32(p[2]);
    return bytes.bytes();
}

// GetToolpathLeftOut (87) counts what the toolpath leaves out of the data loaded last: 0 without
// data and for a path that leaves nothing out.
TEST_F(CurvexToolpathTest, TheLeftOutSegmentsAreCountedForTheHost) {
    EXPECT_EQ(curvex::DispGetToolpathLeftOut, 87);
    EXPECT_EQ(call(curvex::DispGetToolpathLeftOut).toInt(), 0) << "no data";
    const float nan = std::nanf("");
    const struct Case {
        const char* name;
        bool binary;
        std::string contents;
    } cases[] = {
        {"moves only", false, "T1\nN1)G01X1Y0Z0\nN2)G01X2Y0Z0\nN3)G01X2Y5Z0\n"},
        {"repeated blocks", false,
         "T1\nN1)G01X0Y0Z0\nN2)G01X0Y0Z0\nN3)G01X4Y0Z0\nN4)G01X4Y0Z0\nN5)G01X4Y0Z0\n"
         "T2\nN6)G01X4Y3Z1\n"},
        {"a coordinate not a number", false,
         "T1\nN1)G01X1Y1Z0\nN2)G01XnanY1Z0\nN3)G01X3Y1Z0\nN4)G01X5Y1Z0\n"},
        {"first block not finite", false, "T1\nN1)G01XinfY1Z0\nN2)G01X3Y1Z0\n"},
        {"binary, staying at the start", true,
         binaryFile(1.0f, {{1.0f, 2.0f, 3.0f}, {4.0f, 2.0f, 3.0f}, {4.0f, 2.0f, 3.0f}})},
        {"binary, start not finite", true,
         binaryFile(nan, {{4.0f, 2.0f, 3.0f}, {5.0f, 2.0f, 3.0f}})},
        {"binary, start only", true, binaryFile(1.0f, {})},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.file(c.binary ? "path.bin" : "path.txt");
        writeBytes(path, c.contents);
        CutDataSet data;
        ASSERT_TRUE(LoadCutFile(path, c.binary ? CutFormat::Binary : CutFormat::Text, data).ok())
            << c.name;
        ASSERT_TRUE(call(5, {QString::fromStdString(path), c.binary ? 0 : 1}).toBool()) << c.name;
        EXPECT_EQ(call(curvex::DispGetToolpathLeftOut).toInt(), leftOutByWalk(data, c.binary))
            << c.name;
    }
    QVariantList extra{1};
    EXPECT_EQ(hosted->control().invoke(curvex::DispGetToolpathLeftOut,
                                       component::InvokeKind::Method, extra, nullptr),
              component::InvokeResult::BadParamCount);
}

} // namespace
