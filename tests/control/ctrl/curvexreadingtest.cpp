#include "chartframe.h"
#include "curvexhostsupport.h"
#include "recordpick.h"
#include "samplecutdata.h"
#include "viewhistory.h"
#include "viewranges.h"

#include "../../platform/tempfolder.h"

#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

using namespace curvextest;
using component::InvokeKind;

using CurvexLoadErrorTest = CurvexHostTest;

TEST_F(CurvexLoadErrorTest, TheLastLoadSaysWhyItFailed) {
    EXPECT_EQ(call(curvex::DispGetLoadError).toString(), QString()) << "nothing loaded yet";
    EXPECT_FALSE(call(5, {QStringLiteral("samples/no-such-file.txt"), 1}).toBool());
    EXPECT_EQ(call(curvex::DispGetLoadError).toString(),
              QStringLiteral("cannot open the file: No such file or directory"));
    EXPECT_FALSE(call(5, {QStringLiteral("samples/CUTDATA.txt"), 0}).toBool());
    EXPECT_TRUE(call(curvex::DispGetLoadError).toString().startsWith("truncated entry"));
    EXPECT_TRUE(loadSample());
    EXPECT_EQ(call(curvex::DispGetLoadError).toString(), QString());
    QVariantList extra{1};
    EXPECT_EQ(hosted->control().invoke(curvex::DispGetLoadError, component::InvokeKind::Method,
                                       extra, nullptr),
              component::InvokeResult::BadParamCount);
}

namespace {

// The chart of the sample as the control lays it out at `size` for the range lower..upper.
ChartFrame sampleFrame(const CutDataSet& data, QSize size, float lower, float upper) {
    ChartState view;
    view.width = size.width();
    view.height = size.height();
    view.shown.lower = lower;
    view.shown.upper = upper;
    return ViewFrame(view, data);
}

class CurvexNavigationTest : public CurvexSampleTest {
protected:
    // Sends one wheel turn of `notches` at `at` and waits for the render it causes.
    void turnWheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   bool sideways = false) {
        const QPoint delta = sideways ? QPoint(120 * notches, 0) : QPoint(0, 120 * notches);
        QWheelEvent event(at, widget()->mapToGlobal(at), QPoint(), delta, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget(), &event);
        waitForRender();
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget(), static_cast<Qt::Key>(key), modifiers);
        waitForRender();
    }

    // From the whole range, a wheel turn at `at` gives `expected`.
    void wheelFromWhole(QPoint at, int notches, std::pair<float, float> expected) {
        setDistArea(0.0f, 100.0f);
        render();
        sink.events.clear();
        turnWheel(at, notches);
        const auto [lower, upper] = distArea();
        EXPECT_EQ(lower, expected.first);
        EXPECT_NEAR(upper, expected.second, 1e-4f);
    }

    // Waits for the next ReDrawed, if the last input asked for a render.
    void waitForRender() {
        waitFor([this] { return sink.count(kReDrawed) > 0; }, 500);
        sink.events.clear();
    }
};

// At 1000 x 400 the plot runs from column 43 to 980, from 143 once the range starts beyond 0.
TEST_F(CurvexNavigationTest, WheelZoomKeepsTheDataUnderThePointer) {
    const QSize size = widget()->size();
    const struct {
        float lower;
        float upper;
        int column;
        int notches;
    } cases[] = {
        {0.0f, 100.0f, 480, 1}, {0.0f, 100.0f, 930, 2},  {30.0f, 70.0f, 200, 1},
        {30.0f, 70.0f, 480, 3}, {30.0f, 70.0f, 930, -1}, {30.0f, 70.0f, 600, -2},
        {10.0f, 11.0f, 700, 4}, {10.0f, 11.0f, 150, -3},
    };
    for (const auto& c : cases) {
        setDistArea(c.lower, c.upper);
        render();
        sink.events.clear();
        const ChartFrame before = sampleFrame(SampleCutData(), size, c.lower, c.upper);
        const float value =
            before.xLo + static_cast<float>(c.column - before.plotLeft()) / before.sx;
        turnWheel(QPoint(c.column, 200), c.notches);
        const auto [lower, upper] = distArea();
        EXPECT_NEAR((upper - lower) * std::pow(1.25f, static_cast<float>(c.notches)),
                    c.upper - c.lower, 1e-3f)
            << "column " << c.column << ", notches " << c.notches;
        const ChartFrame after = sampleFrame(SampleCutData(), size, lower, upper);
        EXPECT_LE(std::abs(after.pointX(value) - c.column), 1)
            << "column " << c.column << ", notches " << c.notches;
    }
    // Over the break gap of the zoomed chart the start stays; at the ends the range stays inside.
    wheelFromWhole(QPoint(100, 200), 1, {0.0f, 80.0f});
    wheelFromWhole(QPoint(500, 200), -3, {0.0f, 100.0f});
}

TEST_F(CurvexNavigationTest, PanningStaysInsideTheWholeRange) {
    setDistArea(40.0f, 60.0f);
    render();
    sink.events.clear();
    turnWheel(QPoint(500, 200), 1, Qt::ShiftModifier);
    EXPECT_EQ(distArea(), std::make_pair(38.0f, 58.0f));
    turnWheel(QPoint(500, 200), -2, Qt::NoModifier, true);
    EXPECT_EQ(distArea(), std::make_pair(42.0f, 62.0f));
    widget()->setFocus();
    press(Qt::Key_Right);
    EXPECT_EQ(distArea(), std::make_pair(44.0f, 64.0f));
    press(Qt::Key_PageDown);
    EXPECT_EQ(distArea(), std::make_pair(62.0f, 82.0f));
    press(Qt::Key_PageDown);
    EXPECT_EQ(distArea(), std::make_pair(80.0f, 100.0f)) << "stops at the end";
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 20.0f)) << "stops at the start";
    press(Qt::Key_Left);
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 20.0f));
    press(Qt::Key_Plus);
    EXPECT_EQ(distArea(), std::make_pair(2.0f, 18.0f));
    press(Qt::Key_Minus);
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 20.0f));
    press(Qt::Key_Home);
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
    for (int i = 0; i < 80; ++i)
        press(Qt::Key_Plus);
    const auto [lower, upper] = distArea();
    EXPECT_NEAR(upper - lower, MinimumWidthPercent(SampleCutData(), 0), 1e-4f)
        << "no narrower than the renderer shows";
}

TEST_F(CurvexNavigationTest, BackAndForwardThroughSixtySteps) {
    widget()->setFocus();
    setDistArea(0.0f, 10.0f);
    render();
    sink.events.clear();
    std::vector<std::pair<float, float>> ranges{distArea()};
    for (int i = 0; i < 60; ++i) {
        press(Qt::Key_Right);
        ranges.push_back(distArea());
    }
    ASSERT_NE(ranges.front(), ranges.back());
    for (int i = 59; i >= 0; --i) {
        press(i % 2 ? Qt::Key_Backspace : Qt::Key_Left, i % 2 ? Qt::NoModifier : Qt::AltModifier);
        ASSERT_EQ(distArea(), ranges[static_cast<std::size_t>(i)]) << "back to step " << i;
    }
    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(distArea(), ranges[1]);
    // Home is a step too, and a new step drops the way forward.
    press(Qt::Key_Home);
    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
    press(Qt::Key_Backspace);
    EXPECT_EQ(distArea(), ranges[1]);
    // A new load forgets every step.
    ASSERT_TRUE(loadSample());
    render();
    press(Qt::Key_Backspace);
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
}

// Back goes through the last 100 ranges, newest first, and stops there however many there were.
TEST(ViewHistory, BackStopsAfterTheLastHundredSteps) {
    for (const int steps : {100, 101, 150}) {
        ViewHistory history;
        for (int i = 0; i <= steps; ++i)
            history.rendered({0.0f, 1.0f + static_cast<float>(i)});
        int back = 0;
        while (const auto range = history.back()) {
            ++back;
            ASSERT_EQ(range->upper, 1.0f + static_cast<float>(steps - back)) << steps;
        }
        EXPECT_EQ(back, std::min(steps, 100)) << steps;
        int forward = 0;
        while (history.forward())
            ++forward;
        EXPECT_EQ(forward, back) << steps;
    }
}

TEST_F(CurvexNavigationTest, GoToBlockCentresAndMarksTheRecord) {
    const CutDataSet& data = SampleCutData();
    const std::uint32_t index = data.count / 3;
    const std::int32_t blockNo = data.blockNos[index];
    std::uint32_t first = 0;
    while (data.blockNos[first] != blockNo)
        ++first;
    EXPECT_TRUE(call(curvex::DispGoToBlock, {blockNo}).toBool());
    ASSERT_TRUE(waitFor([&] { return sink.count(kReDrawed) == 1; }));
    const auto [lower, upper] = distArea();
    EXPECT_NEAR(upper - lower, 1.0f, 1e-4f);
    const float centre = data.totalDistance[first] / data.totalDistance[data.count - 1] * 100.0f;
    EXPECT_NEAR((lower + upper) / 2.0f, centre, 1e-3f);
    ASSERT_EQ(sink.count(curvex::EventReadOut), 1);
    const QVariantList& record = sink.events.front().args;
    EXPECT_EQ(record[0].toUInt(), first);
    EXPECT_EQ(record[1].toInt(), blockNo);
    EXPECT_FALSE(call(curvex::DispGoToBlock, {-12345}).toBool());
    QVariantList notANumber{QStringLiteral("x")};
    EXPECT_EQ(
        hosted->control().invoke(curvex::DispGoToBlock, InvokeKind::Method, notANumber, nullptr),
        component::InvokeResult::TypeMismatch);
}

// A record inside the shown range is marked where it is; one outside brings the range, at its
// width, to centre it; a record that does not exist is refused.
TEST_F(CurvexNavigationTest, MarkRecordMovesTheRangeOnlyWhenTheRecordLiesOutside) {
    const CutDataSet& data = SampleCutData();
    const auto percentOf = [&](std::uint32_t index) {
        return data.totalDistance[index] / data.totalDistance[data.count - 1] * 100.0f;
    };
    const std::uint32_t inside = data.count / 10;
    const std::uint32_t outside = data.count * 3 / 4;
    const struct {
        float lower, upper;
        std::uint32_t index;
        bool moves;
    } cases[] = {{0.0f, 100.0f, data.count / 2, false},
                 {0.0f, 20.0f, inside, false},
                 {0.0f, 20.0f, outside, true}};
    for (const auto& c : cases) {
        setDistArea(c.lower, c.upper);
        render();
        sink.events.clear();
        ASSERT_TRUE(call(curvex::DispMarkRecord, {static_cast<int>(c.index)}).toBool()) << c.index;
        if (c.moves) {
            ASSERT_TRUE(waitFor([&] { return sink.count(kReDrawed) == 1; }));
        }
        const auto [lower, upper] = distArea();
        if (c.moves) {
            EXPECT_NEAR(upper - lower, c.upper - c.lower, 1e-3f) << c.index;
            EXPECT_NEAR((lower + upper) / 2.0f, percentOf(c.index), 1e-3f) << c.index;
        } else {
            EXPECT_EQ(std::make_pair(lower, upper), std::make_pair(c.lower, c.upper)) << c.index;
        }
        ASSERT_EQ(sink.count(curvex::EventReadOut), 1) << c.index;
        const auto readOut = std::find_if(sink.events.begin(), sink.events.end(),
                                          [](auto& e) { return e.dispid == curvex::EventReadOut; });
        EXPECT_EQ(readOut->args[0].toUInt(), c.index);
    }
    for (const int missing : {-1, static_cast<int>(data.count)})
        EXPECT_FALSE(call(curvex::DispMarkRecord, {missing}).toBool()) << missing;
    QVariantList notANumber{QStringLiteral("x")};
    EXPECT_EQ(
        hosted->control().invoke(curvex::DispMarkRecord, InvokeKind::Method, notANumber, nullptr),
        component::InvokeResult::TypeMismatch);
}

TEST_F(CurvexNavigationTest, TheReadOutMarksThePickedRecordOverTheCachedChart) {
    const QSize size = widget()->size();
    const QImage cached = cachedChart(hosted->control(), size);
    ASSERT_EQ(widget()->grab().toImage().convertToFormat(QImage::Format_RGB32), cached);
    const int column = 600;
    QTest::mouseMove(widget(), QPoint(column, 150));
    ASSERT_TRUE(waitFor([&] { return sink.count(curvex::EventReadOut) == 1; }));
    ChartState view;
    view.width = size.width();
    view.height = size.height();
    const auto picked = RecordPicker(SampleCutData()).pick(view, column);
    ASSERT_TRUE(picked);
    const QVariantList& record = sink.events.back().args;
    ASSERT_EQ(record.size(), 12);
    EXPECT_EQ(record[0].toUInt(), picked->index);
    EXPECT_EQ(record[11].toFloat(), picked->value);
    ASSERT_TRUE(waitFor([&] {
        return widget()->grab().toImage().pixel(picked->x + 6, picked->y) == 0xFF000000u;
    })) << "the cross at the picked point";
    EXPECT_EQ(cachedChart(hosted->control(), size), cached) << "never drawn into the cache";
    QTest::mouseMove(widget(), QPoint(size.width() + 20, 150));
    ASSERT_TRUE(waitFor([&] { return sink.count(curvex::EventReadOutCleared) == 1; }));
    EXPECT_TRUE(waitFor([&] {
        return widget()->grab().toImage().convertToFormat(QImage::Format_RGB32) == cached;
    }));
}

// A move within the column of the marked record changes nothing; a move to another record's
// column marks that one, and a new load removes the mark.
TEST_F(CurvexNavigationTest, TheReadOutChangesWithTheRecordAndANewLoadClearsIt) {
    const QSize size = widget()->size();
    const QImage cached = cachedChart(hosted->control(), size);
    ChartState view;
    view.width = size.width();
    view.height = size.height();
    const RecordPicker picker(SampleCutData());
    const auto first = picker.pick(view, 600);
    const auto second = picker.pick(view, 200);
    ASSERT_TRUE(first && second);
    ASSERT_NE(first->index, second->index);
    QTest::mouseMove(widget(), QPoint(600, 150));
    ASSERT_TRUE(waitFor([&] { return sink.count(curvex::EventReadOut) == 1; }));
    QTest::mouseMove(widget(), QPoint(600, 250));
    QTest::mouseMove(widget(), QPoint(600, 350));
    QTest::mouseMove(widget(), QPoint(200, 350));
    ASSERT_TRUE(waitFor([&] { return sink.count(curvex::EventReadOut) >= 2; }));
    ASSERT_EQ(sink.count(curvex::EventReadOut), 2);
    EXPECT_EQ(sink.events.back().args[0].toUInt(), second->index);
    EXPECT_EQ(sink.count(curvex::EventReadOutCleared), 0);

    sink.events.clear();
    ASSERT_TRUE(loadSample());
    EXPECT_EQ(sink.count(curvex::EventReadOutCleared), 1);
    render();
    EXPECT_TRUE(waitFor([&] {
        return widget()->grab().toImage().convertToFormat(QImage::Format_RGB32) == cached;
    })) << "no mark on the new chart";
}

// After another file is opened the old record is neither described nor placed, before any
// render too: the pointer picks among the new records.
TEST_F(CurvexNavigationTest, ANewLoadForgetsTheRecordAndItsPicker) {
    const QSize size = widget()->size();
    QTest::mouseMove(widget(), QPoint(600, 150));
    ASSERT_TRUE(waitFor([&] { return sink.count(curvex::EventReadOut) == 1; }));
    ASSERT_TRUE(call(curvex::DispGetReadOutPlace).isValid());

    std::string text;
    for (int k = 1; k <= 40; ++k)
        text += "N" + std::to_string(k) + ")G01X" + std::to_string(k) + "Y0Z0F600(A" +
                std::to_string(k % 7 + 1) + ")F900\n";
    const QString small = configHome.filePath(QStringLiteral("small.txt"));
    writeBytes(small.toStdString(), text);
    CutDataSet loaded;
    ASSERT_TRUE(LoadCutFile(small.toStdString(), CutFormat::Text, loaded).ok());
    sink.events.clear();
    ASSERT_TRUE(call(5, {small, 1}).toBool());
    EXPECT_FALSE(call(curvex::DispGetReadOutPlace).isValid()) << "no record is marked";

    QTest::mouseMove(widget(), QPoint(610, 150));
    ASSERT_TRUE(waitFor([&] { return sink.count(curvex::EventReadOut) == 1; }));
    ChartState view;
    view.width = size.width();
    view.height = size.height();
    const auto picked = RecordPicker(loaded).pick(view, 610);
    ASSERT_TRUE(picked);
    const QVariantList& record = sink.events.back().args;
    ASSERT_EQ(record.size(), 12);
    EXPECT_EQ(record[0].toUInt(), picked->index);
    EXPECT_EQ(record[1].toInt(), loaded.records[picked->index].blockNo);
    EXPECT_EQ(record[11].toFloat(), picked->value);
}

} // namespace
