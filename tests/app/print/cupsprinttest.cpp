// Real prints through a CUPS server of the tests' own with a cups-pdf queue.
#include "cupsserver.h"
#include "pdfpage.h"
#include "printtestsupport.h"

#include "appstate.h"
#include "print/mprinterpg.h"
#include "print/printerlayout.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Pages are read back at twice the screen's resolution, so no one-pixel line of the chart is lost.
constexpr int kRasterDpi = 192;

class CupsPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<CupsServer>();
        if (!server_->start(&whyNot_)) {
            server_.reset();
        }
        apptest::application();
    }

    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        if (!server_) {
            GTEST_SKIP() << "no CUPS server of our own: " << whyNot_.toStdString();
        }
        appState().reset();
    }

    // The set-up dialog's answer: the test queue with `size` in `orientation`.
    static std::function<bool(QPrinter&)> choose(QPageSize::PageSizeId size,
                                                 QPageLayout::Orientation orientation) {
        return [=](QPrinter& printer) {
            EXPECT_EQ(printer.printerName(), server_->queueName());
            printer.setPageSize(QPageSize(size));
            printer.setPageOrientation(orientation);
            return true;
        };
    }

    // The page printed on `paper` in `orientation`: its size in points, portrait, and the chart
    // placed on it.
    static void expectPage(const QString& path, QSizeF pointsPortrait, const QImage& chart,
                           QPageSize::PageSizeId paper, QPageLayout::Orientation orientation) {
        const QSize canvas = canvasFor(paper, orientation);
        const QRectF area = chartAreaFor(paper, orientation,
                                         currentPrinter().pageLayout().margins(QPageLayout::Point));
        const PdfDocument pdf = readPdf(path, kRasterDpi);
        ASSERT_TRUE(pdf.error.isEmpty()) << pdf.error.toStdString();
        EXPECT_EQ(pdf.pages, 1) << path.toStdString();
        const QSizeF size = pdf.pageSizePoints;
        const QSizeF upright = size.width() <= size.height() ? size : size.transposed();
        EXPECT_NEAR(upright.width(), pointsPortrait.width(), 1);
        EXPECT_NEAR(upright.height(), pointsPortrait.height(), 1);
        const QString placement = checkChartCentred(chart, canvas, area, pdf.firstPage);
        EXPECT_TRUE(placement.isEmpty()) << path.toStdString() << ": " << placement.toStdString();
    }

    static std::unique_ptr<CupsServer> server_;
    static QString whyNot_;
    PrintPrompts prompts_;
};

std::unique_ptr<CupsServer> CupsPrint::server_;
QString CupsPrint::whyNot_;

TEST_F(CupsPrint, PrintsTheChartAsOnePageAndSizesTheCanvasAgainForTheNextPrint) {
    ASSERT_EQ(QPrinterInfo::availablePrinterNames(), QStringList{server_->queueName()});
    ChartWindow chart;
    ASSERT_TRUE(chart.window()) << chart.error().toStdString();
    const QImage bitmap = chart.chartBitmap();

    prompts_.setup = choose(QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    EXPECT_EQ(gPrinterIndex, 0);
    const QStringList first = server_->waitForPdfFiles(1, 60000);
    ASSERT_EQ(first.size(), 1) << "no PDF from cups-pdf in "
                               << server_->outputFolder().toStdString();
    expectPage(first[0], QSizeF(595, 842), bitmap, QPageSize::A4, QPageLayout::Landscape);

    prompts_.setup = choose(QPageSize::Letter, QPageLayout::Portrait);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    const QStringList both = server_->waitForPdfFiles(2, 60000);
    ASSERT_EQ(both.size(), 2);
    expectPage(both[1], QSizeF(612, 792), bitmap, QPageSize::Letter, QPageLayout::Portrait);
    for (const auto& message : prompts_.messages) {
        EXPECT_NE(message.text, QStringLiteral("Not found a printer"));
    }
}

TEST_F(CupsPrint, AChartLargerThanThePageComesOutWholeAsTextAndLines) {
    ChartWindow chart;
    ASSERT_TRUE(chart.window()) << chart.error().toStdString();
    // A maximised window on a 1680 x 1050 screen.
    chart.resizeWindow(QSize(1680, 1050));
    const QImage bitmap = chart.chartBitmap();
    const QSize canvas = canvasFor(QPageSize::A4, QPageLayout::Landscape);
    ASSERT_GT(bitmap.width(), canvas.width()) << "the chart must be wider than the page";
    const int filesBefore =
        static_cast<int>(QDir(server_->outputFolder()).entryList({QStringLiteral("*.pdf")}).size());

    prompts_.setup = choose(QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    const QStringList files = server_->waitForPdfFiles(filesBefore + 1, 60000);
    ASSERT_EQ(files.size(), filesBefore + 1);
    // Both axes at their scaled length where the scaled chart lies: the right end of the
    // horizontal axis is on the page.
    expectPage(files.last(), QSizeF(595, 842), bitmap, QPageSize::A4, QPageLayout::Landscape);
    // Printers cannot print at the sheet's edge: the scaled chart keeps 5 mm inside the printable
    // area.
    const PdfDocument pdf = readPdf(files.last(), kRasterDpi);
    ASSERT_TRUE(pdf.error.isEmpty()) << pdf.error.toStdString();
    EXPECT_EQ(inkNearEdges(pdf.firstPage, kRasterDpi, 4.5), 0) << "ink within 4.5 mm of an edge";

    const PdfContent content = readPdfContent(files.last());
    ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    EXPECT_EQ(content.images, 0) << "the page is drawing, not a picture";
    EXPECT_FALSE(content.fonts.isEmpty());
    EXPECT_GT(content.strokedPaths, 3) << "axes, ticks and curves as lines";
    // cups-pdf distils the job through PostScript: the labels come back as text in a Type 3
    // font without their character codes, so they are counted, not read.
    EXPECT_GE(content.words.size(), 20) << "the labels as text";
}

TEST_F(CupsPrint, DebugModeShowsThePreviewAndSendsNothing) {
    const int jobsBefore = server_->jobCount();
    const auto filesBefore = QDir(server_->outputFolder()).count();
    gDebugMode = true;
    prompts_.setup = choose(QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(nullptr, nullptr), 0);
    QWidget* preview = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmPrinter") && widget->isVisible()) {
            preview = widget;
        }
    }
    EXPECT_NE(preview, nullptr);
    delete preview;
    EXPECT_EQ(server_->jobCount(), jobsBefore);
    EXPECT_EQ(QDir(server_->outputFolder()).count(), filesBefore);
}

} // namespace
