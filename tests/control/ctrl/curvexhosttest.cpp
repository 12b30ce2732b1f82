// The graph control driven only as a host drives it: created by class identifier, called by
// dispatch identifier, events through the sink, mouse input through Qt Test.

#include "curvexhostsupport.h"

#include "componentregistry.h"
#include "surfaceregistry.h"

#include <QDialog>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <limits>

using namespace curvextest;
using component::InvokeKind;
using component::InvokeResult;

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;

bool hasColour(const QImage& image, int y, int fromX, int toX, QRgb colour) {
    for (int x = fromX; x < toX; ++x) {
        if (image.pixel(x, y) == colour)
            return true;
    }
    return false;
}

} // namespace

using CurvexDispatchTest = CurvexHostTest;

TEST_F(CurvexDispatchTest, BadCallsAnswerWithoutSideEffects) {
    struct Case {
        int dispid;
        InvokeKind kind;
        QVariantList args;
        InvokeResult expected;
    };
    const Case cases[] = {
        {99, InvokeKind::Method, {}, InvokeResult::MemberNotFound},
        {0, InvokeKind::Method, {}, InvokeResult::MemberNotFound},
        {1, InvokeKind::Method, {}, InvokeResult::MemberNotFound},
        {-552, InvokeKind::PropertyGet, {}, InvokeResult::MemberNotFound},
        {3, InvokeKind::Method, {1.0f}, InvokeResult::BadParamCount},
        {16, InvokeKind::Method, {1}, InvokeResult::BadParamCount},
        {9, InvokeKind::Method, {QStringLiteral("three")}, InvokeResult::TypeMismatch},
        {5, InvokeKind::Method, {QVariant(), 1}, InvokeResult::TypeMismatch},
        {3, InvokeKind::Method, {QStringLiteral("low"), 5.0f}, InvokeResult::TypeMismatch},
        {9, InvokeKind::Method, {qlonglong(1) << 40}, InvokeResult::TypeMismatch},
        {20, InvokeKind::Method, {}, InvokeResult::BadParamCount},
        {20, InvokeKind::Method, {QStringLiteral("first")}, InvokeResult::TypeMismatch},
        {21, InvokeKind::PropertyGet, {}, InvokeResult::MemberNotFound},
        {23, InvokeKind::Method, {}, InvokeResult::MemberNotFound},
    };
    for (const Case& c : cases) {
        QVariantList args = c.args;
        EXPECT_EQ(hosted->control().invoke(c.dispid, c.kind, args, nullptr), c.expected)
            << "dispid " << c.dispid;
    }
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
}

TEST_F(CurvexDispatchTest, GraphColours) {
    EXPECT_EQ(call(9, {0}).toInt(), 0x00FF00);
    EXPECT_EQ(call(9, {3}).toInt(), 0xFF00FF);
    EXPECT_EQ(call(9, {15}).toInt(), 0xFF00FF);
    for (int outside : {16, -1, 1000})
        EXPECT_EQ(call(9, {outside}).toInt(), 0xFFFFFF) << outside;

    // The colour reference comes first, the colour number second.
    call(10, {255, 3});
    EXPECT_EQ(call(9, {3}).toInt(), 255);
    std::vector<int> before;
    for (int n = 0; n < 16; ++n)
        before.push_back(call(9, {n}).toInt());
    call(10, {0x123456, 16});
    call(10, {0x123456, -1});
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(call(9, {n}).toInt(), before[static_cast<std::size_t>(n)]) << n;
}

TEST_F(CurvexDispatchTest, ViewRenewalStartsTrueAndVersionsAgree) {
    auto unshown = component::createControl(controlClsid(), nullptr, nullptr);
    ASSERT_NE(unshown, nullptr);
    QVariantList none;
    EXPECT_TRUE(callOn(unshown->control(), 1, none, InvokeKind::PropertyGet).toBool());
    EXPECT_FALSE(call(1, {}, InvokeKind::PropertyGet).toBool()); // the first paint rendered
    EXPECT_EQ(call(16).toInt(), 65566);
    EXPECT_EQ(controlExport<component::DllVersionFn>(component::kDllVersion)(), 65566);
    EXPECT_EQ(call(17).toString(), QString());
}

TEST_F(CurvexDispatchTest, SetDistAreaThenGetDistAreaGivesTheSameFloats) {
    const std::pair<float, float> windows[] = {
        {20.0f, 40.0f}, {-12.5f, 250.75f}, {1e-7f, 99.99999f}, {0.1f, 0.3f}, {70.0f, 30.0f}};
    for (const auto& [lower, upper] : windows) {
        QVariantList args{lower, upper};
        EXPECT_TRUE(callOn(hosted->control(), 3, args).toBool());
        EXPECT_EQ(args[0].toFloat(), lower);
        EXPECT_EQ(args[1].toFloat(), upper);
        EXPECT_EQ(distArea(), std::make_pair(lower, upper));
    }
}

TEST_F(CurvexDispatchTest, LoadCutDataResetsTheRangeEvenWhenItFails) {
    setDistArea(20.0f, 40.0f);
    EXPECT_FALSE(call(5, {QStringLiteral("samples/no-such-file.txt"), 1}).toBool());
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
    setDistArea(20.0f, 40.0f);
    EXPECT_TRUE(loadSample());
    EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
}

// Rows are arrays of the TimeRowField values; a tool index without a row gives nothing.
TEST_F(CurvexDispatchTest, MachiningTimeRowsFollowTheDataTheFeedAndTheShownRange) {
    EXPECT_EQ(call(19).toInt(), 0);
    EXPECT_FALSE(call(20, {0}).isValid());
    EXPECT_EQ(call(21).toList().value(2).toULongLong(), 0u);
    ASSERT_TRUE(loadSample());
    const int tools = call(19).toInt();
    ASSERT_EQ(tools, 6);
    quint64 records = 0;
    for (int index = 0; index < tools; ++index) {
        const QVariantList row = call(20, {index}).toList();
        ASSERT_EQ(row.size(), 11) << index;
        EXPECT_EQ(row[0].toInt(), index + 1);
        records += row[2].toULongLong();
    }
    EXPECT_FALSE(call(20, {tools}).isValid());
    EXPECT_FALSE(call(20, {-1}).isValid());
    const QVariantList total = call(21).toList();
    EXPECT_EQ(total[2].toULongLong(), records);
    EXPECT_NEAR(total[5].toDouble(), 1176.108, 0.001);
    EXPECT_NEAR(total[6].toDouble(), 854.460, 0.001);
    EXPECT_NEAR(total[8].toDouble(), 27.35, 0.005);
    const QVariantList all = call(22).toList();
    EXPECT_EQ(all[2], total[2]);
    EXPECT_NEAR(all[5].toDouble(), total[5].toDouble(), 1e-9);
    EXPECT_NEAR(all[6].toDouble(), total[6].toDouble(), 1e-9);

    call(11, {2500.0f});
    const QVariantList slower = call(21).toList();
    EXPECT_NEAR(slower[5].toDouble() - total[5].toDouble(),
                slower[6].toDouble() - total[6].toDouble(), 1e-9);
    EXPECT_NEAR(slower[5].toDouble() - total[5].toDouble(), total[4].toDouble() * 60.0 / 5000.0,
                1e-6);
    setDistArea(10.0f, 20.0f);
    const QVariantList shown = call(22).toList();
    EXPECT_GT(shown[2].toULongLong(), 0u);
    EXPECT_LT(shown[2].toULongLong(), records);
}

TEST_F(CurvexDispatchTest, RefreshRendersAndFiresReDrawedBeforeItReturns) {
    ASSERT_TRUE(loadSample());
    QTest::qWait(50);
    sink.events.clear();
    setDistArea(10.0f, 60.0f);
    render();
    ASSERT_EQ(sink.count(kReDrawed), 1);
    const QVariantList& args = sink.events.front().args;
    EXPECT_EQ(args[0].toFloat(), 10.0f);
    EXPECT_EQ(args[1].toFloat(), 60.0f);
    EXPECT_GT(args[2].toFloat(), 0.0f);
    EXPECT_FALSE(call(1, {}, InvokeKind::PropertyGet).toBool());

    // Without ViewRenewal a repaint only copies the cached chart.
    call(2, {1}, InvokeKind::PropertyPut);
    call(-550);
    widget()->update();
    QTest::qWait(50);
    EXPECT_EQ(sink.count(kReDrawed), 1);
}

// The window goes on painting while a load runs; such a paint shows the data it has, and the
// render that ViewRenewal asks for is still due for the new data.
TEST_F(CurvexDispatchTest, APaintDuringALoadLeavesTheRenderForTheNewData) {
    call(1, {true}, InvokeKind::PropertyPut);
    widget()->update();
    ASSERT_TRUE(loadSample());
    call(-550);
    ASSERT_GE(sink.count(kReDrawed), 1);
    EXPECT_GT(sink.events.back().args[2].toFloat(), 0.0f) << "the chart still shows no data";
    EXPECT_FALSE(call(1, {}, InvokeKind::PropertyGet).toBool());
}

TEST_F(CurvexDispatchTest, RefreshOfAHiddenControlStillRenders) {
    host->hide();
    render();
    EXPECT_EQ(sink.count(kReDrawed), 1);
}

TEST_F(CurvexDispatchTest, DroppingThreeFilesTakesTheFirst) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/first file.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/data/second.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/data/third.bin"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget(), &drop);
    EXPECT_EQ(sink.count(kFileDroped), 1);
    EXPECT_EQ(call(17).toString(), QStringLiteral("/data/first file.txt"));

    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/cut.txt"))});
    QDragEnterEvent remoteEnter(QPoint(50, 50), Qt::CopyAction, &remote, Qt::LeftButton,
                                Qt::NoModifier);
    QCoreApplication::sendEvent(widget(), &remoteEnter);
    EXPECT_FALSE(remoteEnter.isAccepted());
    QDropEvent remoteDrop(QPointF(50, 50), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget(), &remoteDrop);
    EXPECT_EQ(sink.count(kFileDroped), 1);
    EXPECT_EQ(call(17).toString(), QStringLiteral("/data/first file.txt"));
}

TEST_F(CurvexDispatchTest, AboutBoxIsModalWithItsCaptionAndTexts) {
    QString title;
    QStringList texts;
    QTimer::singleShot(100, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr)
            return;
        title = box->windowTitle();
        for (const QLabel* label : box->findChildren<QLabel*>())
            texts << label->text();
        box->close();
    });
    call(-552);
    EXPECT_EQ(title, QStringLiteral("About Curvex Control"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Curvex Control, Version 1.0")));
}

TEST_F(CurvexDispatchTest, StockColoursArePersistedWithTheVersion) {
    call(-501, {0x00FF00}, InvokeKind::PropertyPut);
    QVariantMap bag;
    hosted->control().saveProperties(bag);
    EXPECT_EQ(bag.value(QStringLiteral("_Version")).toInt(), 0x00010003);
    EXPECT_EQ(bag.value(QStringLiteral("BackColor")).toUInt(), 0x00FF00u);
    EXPECT_TRUE(bag.contains(QStringLiteral("ForeColor")));
    EXPECT_FALSE(bag.contains(QStringLiteral("ViewRenewal")));
    EXPECT_FALSE(bag.contains(QStringLiteral("DistanceMode")));

    bag[QStringLiteral("BackColor")] = 0x0000FFu;
    hosted->control().loadProperties(bag);
    EXPECT_EQ(call(-501, {}, InvokeKind::PropertyGet).toUInt(), 0x0000FFu);
}

using CurvexOutputTest = CurvexHostTest;

TEST_F(CurvexOutputTest, GetBmpSizeFollowsEveryResizeAndOutputSurvivesOddSizes) {
    struct Case {
        QSize size;
        qint16 width;
        qint16 height;
    };
    const Case cases[] = {
        {{601, 401}, 601, 401}, {{1, 1}, 1, 1}, {{0, 0}, 0, 0}, {{40000, 3}, -25536, 3}};
    for (const Case& c : cases) {
        widget()->resize(c.size);
        render();
        call(15, {987654, 100, 100}); // an unknown surface handle
        QImage target(10, 10, QImage::Format_RGB32);
        component::SurfaceRegistry::Entry surface(&target);
        call(15, {surface.handle(), std::numeric_limits<std::int32_t>::min(), 10});
        QVariantList args{qint16(0), qint16(0)};
        EXPECT_EQ(callOn(hosted->control(), 14, args).toInt(), 1);
        EXPECT_EQ(args[0].value<qint16>(), c.width);
        EXPECT_EQ(args[1].value<qint16>(), c.height);
    }
}

// Qt delivers the resize of a hidden widget only when it is shown again; the chart must not wait
// for that.
TEST_F(CurvexOutputTest, AControlResizedWhileHiddenRendersAtItsNewSize) {
    ASSERT_TRUE(loadSample());
    host->hide();
    widget()->resize(300, 200);
    QVariantList args{qint16(0), qint16(0)};
    callOn(hosted->control(), 14, args);
    EXPECT_EQ(args[0].toInt(), 300);
    EXPECT_EQ(args[1].toInt(), 200);
    render();
    callOn(hosted->control(), 14, args);
    EXPECT_EQ(args[0].toInt(), 300);
    EXPECT_EQ(args[1].toInt(), 200);
    // At 300 x 200 the horizontal axis runs along row 177 from column 23 to 293.
    const QImage chart = cachedChart(hosted->control(), QSize(300, 200));
    EXPECT_EQ(chart.pixel(150, 177), 0xFF000000u);
    EXPECT_EQ(chart.pixel(150, 178), 0xFFFFFFFFu);
}

// A control without any pixels still takes in the new data on Refresh: the event reports its
// range, and the distance is the one a visible control reports.
TEST_F(CurvexOutputTest, AControlOfSizeZeroStillTakesInNewData) {
    widget()->resize(0, 0);
    ASSERT_TRUE(loadSample());
    sink.events.clear();
    render();
    ASSERT_EQ(sink.count(kReDrawed), 1);
    const float distance = sink.events.front().args[2].toFloat();
    EXPECT_GT(distance, 0.0f);

    widget()->resize(1000, 400);
    sink.events.clear();
    render();
    ASSERT_EQ(sink.count(kReDrawed), 1);
    EXPECT_EQ(sink.events.front().args[2].toFloat(), distance);
}

TEST_F(CurvexOutputTest, BitmapBeforeTheFirstResizeHasTheCurrentSize) {
    auto unshown = component::createControl(controlClsid(), nullptr, nullptr);
    ASSERT_NE(unshown, nullptr);
    unshown->control().widget()->resize(320, 200);
    QVariantList args{qint16(0), qint16(0)};
    callOn(unshown->control(), 14, args);
    EXPECT_EQ(args[0].toInt(), 320);
    EXPECT_EQ(args[1].toInt(), 200);
    const QImage chart = cachedChart(unshown->control(), QSize(320, 200));
    EXPECT_EQ(chart.pixel(0, 0), 0xFFFFFFFFu);
}

TEST_F(CurvexOutputTest, OutputPrinterCopiesCentredAndUnscaled) {
    struct Case {
        QSize bitmap;
        QSize target;
        QPoint origin;
    };
    const Case cases[] = {{{600, 400}, {1000, 800}, {200, 200}},
                          {{600, 400}, {500, 300}, {-50, -50}},
                          {{601, 401}, {1000, 800}, {199, 199}}};
    ASSERT_TRUE(loadSample());
    for (const Case& c : cases) {
        widget()->resize(c.bitmap);
        render();
        const QImage chart = cachedChart(hosted->control(), c.bitmap);
        QImage target(c.target, QImage::Format_RGB32);
        target.fill(QColor(0x12, 0x34, 0x56));
        const QImage untouched = target;
        component::SurfaceRegistry::Entry surface(&target);
        call(15, {surface.handle(), c.target.width(), c.target.height()});

        const QRect placed = QRect(c.origin, c.bitmap).intersected(target.rect());
        EXPECT_EQ(target.copy(placed), chart.copy(placed.translated(-c.origin)));
        QImage outside = target;
        QImage expectedOutside = untouched;
        for (QImage* image : {&outside, &expectedOutside}) {
            for (int y = placed.top(); y <= placed.bottom(); ++y)
                for (int x = placed.left(); x <= placed.right(); ++x)
                    image->setPixel(x, y, 0);
        }
        EXPECT_EQ(outside, expectedOutside);
    }
}

using CurvexSelectionTest = CurvexHostTest;

namespace {

struct Drag {
    QPoint from;
    QPoint to;
};

void drag(QWidget* widget, const Drag& d) {
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, d.from);
    QTest::mouseMove(widget, (d.from + d.to) / 2);
    QTest::mouseMove(widget, d.to);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, d.to);
}

// The x of the vertical axis: the column with the longest run of black pixels.
int verticalAxisX(const QImage& chart) {
    int bestX = -1;
    int bestRun = 0;
    for (int x = 0; x < chart.width() / 2; ++x) {
        int run = 0;
        for (int y = 0; y < chart.height(); ++y) {
            run = chart.pixel(x, y) == 0xFF000000u ? run + 1 : 0;
            if (run > bestRun) {
                bestRun = run;
                bestX = x;
            }
        }
    }
    return bestX;
}

} // namespace

TEST_F(CurvexSelectionTest, DragSelectsTheWindowBetweenItsEnds) {
    ASSERT_TRUE(loadSample());
    render();
    const int left = verticalAxisX(cachedChart(hosted->control(), widget()->size()));
    const int right = 980; // 98 % of the width
    ASSERT_GT(left, 20);
    const int span = right - left;
    const int from = left + span / 4;
    const int to = left + 3 * span / 4;
    const float lower = 100.0f * static_cast<float>(from - left) / static_cast<float>(span);
    const float upper = 100.0f * static_cast<float>(to - left) / static_cast<float>(span);

    for (const Drag& d : {Drag{{from, 100}, {to, 300}}, Drag{{to, 300}, {from, 100}}}) {
        call(3, {0.0f, 100.0f});
        render();
        sink.events.clear();
        drag(widget(), d);
        ASSERT_TRUE(waitFor([&] { return sink.count(kReDrawed) == 1; }));
        const auto [gotLower, gotUpper] = distArea();
        EXPECT_NEAR(gotLower, lower, 1e-3);
        EXPECT_NEAR(gotUpper, upper, 1e-3);
        EXPECT_EQ(sink.events.back().args[0].toFloat(), gotLower);
        EXPECT_EQ(sink.events.back().args[1].toFloat(), gotUpper);
    }
}

TEST_F(CurvexSelectionTest, EndsOutsideTheChartAreaClampToTheShownWindow) {
    ASSERT_TRUE(loadSample());
    setDistArea(20.0f, 40.0f);
    render();
    drag(widget(), {{999, 200}, {2, 200}});
    ASSERT_TRUE(waitFor([&] { return sink.count(kReDrawed) == 2; }));
    EXPECT_EQ(distArea(), std::make_pair(20.0f, 40.0f));
}

TEST_F(CurvexSelectionTest, PressAndReleaseAtOnePointChangeNothing) {
    ASSERT_TRUE(loadSample());
    setDistArea(20.0f, 40.0f);
    render();
    QTest::mousePress(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 200));
    QTest::mouseRelease(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 200));
    QTest::qWait(100);
    EXPECT_EQ(sink.count(kReDrawed), 1);
    EXPECT_EQ(distArea(), std::make_pair(20.0f, 40.0f));
    EXPECT_FALSE(call(1, {}, InvokeKind::PropertyGet).toBool());
}

TEST_F(CurvexSelectionTest, RubberBandLeavesWithTheMouseOrLostCaptureAndNeverReachesTheCache) {
    ASSERT_TRUE(loadSample());
    render();
    for (const bool leave : {true, false}) {
        QTest::mousePress(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 3));
        QTest::mouseMove(widget(), QPoint(600, 300));
        ASSERT_TRUE(waitFor([&] { return widget()->grab().toImage().pixel(450, 3) == kMagenta; }));
        const QImage shown = widget()->grab().toImage();
        EXPECT_EQ(shown.pixel(300, 150), kMagenta);
        EXPECT_EQ(shown.pixel(599, 150), kMagenta);
        EXPECT_EQ(shown.pixel(450, 299), kMagenta);
        EXPECT_FALSE(
            hasColour(cachedChart(hosted->control(), widget()->size()), 3, 300, 600, kMagenta));
        if (leave)
            QTest::mouseMove(widget(), QPoint(1000, 300)); // the right edge lies outside
        else
            call(13);
        EXPECT_TRUE(waitFor([&] { return widget()->grab().toImage().pixel(450, 3) != kMagenta; }));
        QTest::mouseRelease(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(700, 300));
        QTest::qWait(50);
        EXPECT_EQ(sink.count(kReDrawed), 1);
        EXPECT_EQ(distArea(), std::make_pair(0.0f, 100.0f));
    }
}

TEST_F(CurvexSelectionTest, DoubleClickShowsTheWholeRange) {
    ASSERT_TRUE(loadSample());
    setDistArea(20.0f, 40.0f);
    render();
    const float distMax = sink.events.back().args[2].toFloat();
    // Qt delivers press, release, press, double click, release; a slip of the mouse before the
    // last release must not turn the second click into a drag.
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    QTest::mousePress(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    QTest::mouseDClick(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    QTest::mouseRelease(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(420, 200));
    ASSERT_TRUE(waitFor([&] { return sink.count(kReDrawed) == 2; }));
    const QVariantList& args = sink.events.back().args;
    EXPECT_EQ(args[0].toFloat(), 0.0f);
    EXPECT_EQ(args[1].toFloat(), 100.0f);
    EXPECT_EQ(args[2].toFloat(), distMax);
}

TEST_F(CurvexSelectionTest, WithoutDataNoDragStartsButDoubleClickRenders) {
    render();
    drag(widget(), {{200, 200}, {700, 200}});
    QTest::qWait(50);
    EXPECT_EQ(sink.count(kReDrawed), 1);
    QTest::mouseDClick(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    QTest::mouseRelease(widget(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    ASSERT_TRUE(waitFor([&] { return sink.count(kReDrawed) == 2; }));
    EXPECT_EQ(sink.events.back().args[1].toFloat(), 100.0f);
}

using CurvexInstancesTest = CurvexHostTest;

TEST_F(CurvexInstancesTest, TwoInstancesShareOneDataSet) {
    ASSERT_TRUE(loadSample());
    auto second = create();
    ASSERT_NE(second, nullptr);
    second->control().widget()->setGeometry(0, 400, 1000, 200);
    QVariantList args{true};
    callOn(second->control(), 1, args, InvokeKind::PropertyPut);
    QVariantList none;
    callOn(second->control(), -550, none);
    ASSERT_EQ(sink.count(kReDrawed), 1);
    const float distMax = sink.events.back().args[2].toFloat();
    EXPECT_GT(distMax, 0.0f);

    // Creating the second control kept the data of the first.
    render();
    EXPECT_EQ(sink.events.back().args[2].toFloat(), distMax);

    // Destroying one control releases the shared data set.
    auto third = create();
    ASSERT_NE(third, nullptr);
    second.reset();
    QVariantList renew{true};
    callOn(third->control(), 1, renew, InvokeKind::PropertyPut);
    callOn(third->control(), -550, none);
    EXPECT_EQ(sink.events.back().args[2].toFloat(), 0.0f);
}
