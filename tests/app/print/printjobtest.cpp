// The print command without a print server: first use, cancel, a refused paper size, no printer
// at all, the print-to-file choice and the preview of debug mode.
#include "../recordingviewer.h"
#include "pdfpage.h"
#include "printtestsupport.h"

#include "appstate.h"
#include "forms/frmmain.h"
#include "print/frmprinter.h"
#include "print/mprinterpg.h"
#include "print/paperpicture.h"
#include "print/printerlayout.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Pages are read back at twice the screen's resolution, so no one-pixel line of the chart is lost.
constexpr int kRasterDpi = 192;

// No print server answers here, so no printer is installed.
const bool kNoPrintServer = qputenv("CUPS_SERVER", "/nonexistent/plotwell-test-cups.sock");

const QString kNotFound = QStringLiteral("Not found a printer");

// The printable margins of the printer the last print went to, in points.
QMarginsF printerMargins() {
    return currentPrinter().pageLayout().margins(QPageLayout::Point);
}

class PrintJob : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kNoPrintServer);
        apptest::application();
        appState().reset();
        SetPrinterMessage(0, QStringLiteral("Printer Setup"));
        SetPrinterMessage(1, QStringLiteral("Specified form size is injustice!!"));
    }

    void TearDown() override { delete previewWindow(); }

    static FrmPrinter* previewWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("frmPrinter")) {
                return static_cast<FrmPrinter*>(widget);
            }
        }
        return nullptr;
    }

    int messagesWith(const QString& text) const {
        int count = 0;
        for (const auto& message : prompts_.messages) {
            count += message.text == text ? 1 : 0;
        }
        return count;
    }

    static std::function<bool(QPrinter&)> toFile(const QString& path, QPageSize::PageSizeId size,
                                                 QPageLayout::Orientation orientation) {
        return [=](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(size));
            printer.setPageOrientation(orientation);
            return true;
        };
    }

    PrintPrompts prompts_;
};

TEST_F(PrintJob, FirstUseOpensOnTheDefaultInLandscapeAndCancelKeepsTheSettings) {
    std::vector<QPageLayout::Orientation> shown;
    prompts_.setup = [&](QPrinter& printer) {
        shown.push_back(printer.pageLayout().orientation());
        printer.setPageOrientation(QPageLayout::Portrait);
        return false;
    };
    EXPECT_EQ(PrintGraph(nullptr, nullptr), 1);
    EXPECT_EQ(PrintGraph(nullptr, nullptr), 1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], QPageLayout::Landscape);
    EXPECT_EQ(shown[1], QPageLayout::Landscape) << "a cancelled dialog changed the settings";
    EXPECT_TRUE(gPrinterSettings.initialised);
    EXPECT_TRUE(prompts_.messages.empty());
    EXPECT_EQ(previewWindow(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The print job needs only the control it is given: no main window exists here, and the
// stand-in control is asked once for the chart on the page canvas at the canvas's size.
TEST_F(PrintJob, PrintsTheGivenControlWithoutTheMainWindow) {
    ASSERT_EQ(FrmMain::instance(), nullptr);
    RecordingViewer control;
    CurvexProxy viewer(control);
    QTemporaryDir folder;
    prompts_.setup =
        toFile(folder.filePath(QStringLiteral("x.pdf")), QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(nullptr, &viewer), 0);
    EXPECT_EQ(messagesWith(kNotFound), 0);
    const auto printed = control.callsOf(curvex::DispOutputPrinter);
    ASSERT_EQ(printed.size(), 1u);
    const QSize canvas = canvasFor(QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(printed[0].args.at(1).toInt(), canvas.width());
    EXPECT_EQ(printed[0].args.at(2).toInt(), canvas.height());
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("x.pdf"))).size() > 0);
}

TEST_F(PrintJob, WithoutAnyPrinterTheCommandShowsNotFoundAPrinter) {
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    EXPECT_EQ(PrintGraph(nullptr, nullptr), 0);
    ASSERT_EQ(messagesWith(kNotFound), 1);
    const auto& message = prompts_.messages.back();
    EXPECT_EQ(message.icon, UserPrompts::Icon::Critical);
    EXPECT_EQ(message.title, QStringLiteral("Plotwell"));
    EXPECT_EQ(previewWindow(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintJob, RefusedPaperSizeShowsTheFormSizeMessageAndKeepsThePreviousSize) {
    const struct {
        QPageSize size;
        bool refused;
        QPageSize::PageSizeId resulting;
    } cases[] = {
        {QPageSize(QPageSize::A5), false, QPageSize::A5},
        {QPageSize(), true, QPageSize::A5},
        {QPageSize(QPageSize::Letter), false, QPageSize::Letter},
        {QPageSize(QSizeF(0, 0), QPageSize::Millimeter), true, QPageSize::Letter},
    };
    for (const auto& c : cases) {
        prompts_.messages.clear();
        PrinterSettings settings;
        settings.pageSize = c.size;
        EXPECT_EQ(ApplyPrinterSettings(settings), 0);
        EXPECT_EQ(currentPrinter().pageLayout().pageSize().id(), c.resulting);
        if (c.refused) {
            ASSERT_EQ(prompts_.messages.size(), 1u);
            EXPECT_EQ(prompts_.messages[0].text,
                      QStringLiteral("Specified form size is injustice!!"));
            EXPECT_EQ(prompts_.messages[0].title, QStringLiteral("Printer Setup"));
            EXPECT_EQ(prompts_.messages[0].icon, UserPrompts::Icon::Exclamation);
        } else {
            EXPECT_TRUE(prompts_.messages.empty());
        }
    }
}

TEST_F(PrintJob, PrintToFileWorksLikeAPrinter) {
    ChartWindow chart;
    ASSERT_TRUE(chart.window()) << chart.error().toStdString();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.pdf"));
    prompts_.setup = toFile(path, QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    EXPECT_EQ(messagesWith(kNotFound), 0);
    EXPECT_EQ(gPrinterIndex, QPrinterInfo::availablePrinterNames().size());
    EXPECT_EQ(previewWindow(), nullptr);

    const PdfDocument pdf = readPdf(path, kRasterDpi);
    ASSERT_TRUE(pdf.error.isEmpty()) << pdf.error.toStdString();
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NEAR(pdf.pageSizePoints.width(), 842, 1);
    EXPECT_NEAR(pdf.pageSizePoints.height(), 595, 1);
    const QString placement = checkChartCentred(
        chart.chartBitmap(), canvasFor(QPageSize::A4, QPageLayout::Landscape),
        chartAreaFor(QPageSize::A4, QPageLayout::Landscape, printerMargins()), pdf.firstPage);
    EXPECT_TRUE(placement.isEmpty()) << placement.toStdString();
}

TEST_F(PrintJob, ALargerChartIsScaledDownWholeOnThePageAndInThePreview) {
    ChartWindow chart;
    ASSERT_TRUE(chart.window()) << chart.error().toStdString();
    chart.resizeWindow(QSize(1680, 1050));
    const QImage bitmap = chart.chartBitmap();
    const QSize a4 = canvasFor(QPageSize::A4, QPageLayout::Landscape);
    ASSERT_GT(bitmap.width(), a4.width());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.pdf"));
    prompts_.setup = toFile(path, QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    EXPECT_EQ(messagesWith(kNotFound), 0);
    const PdfDocument pdf = readPdf(path, kRasterDpi);
    ASSERT_TRUE(pdf.error.isEmpty()) << pdf.error.toStdString();
    EXPECT_EQ(pdf.pages, 1);
    const QMarginsF margins = printerMargins();
    const QRectF area = chartAreaFor(QPageSize::A4, QPageLayout::Landscape, margins);
    const QString placement = checkChartCentred(bitmap, a4, area, pdf.firstPage);
    EXPECT_TRUE(placement.isEmpty()) << placement.toStdString();
    EXPECT_EQ(inkNearEdges(pdf.firstPage, kRasterDpi, 4.5), 0) << "ink within 4.5 mm of an edge";
    const PdfContent content = readPdfContent(path);
    ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    EXPECT_EQ(content.images, 0);
    EXPECT_GT(content.strokedPaths, 3);
    // Both axis titles and the maximum label, every word inside the page.
    const QString text = content.text();
    for (const char* words :
         {"MAX: 0.998", "Cutting Movement Distance [mm]", "Amount of Cutting Removal [mm3/mm]"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words << " in " << text.toStdString();
    // Every word keeps 5 mm inside the printer's printable area. Word boxes come from the font's
    // box, a little taller than the text cell: a label at the area's edge may reach a fraction of
    // a point beyond it.
    const double keep = 5.0 / 25.4 * 72.0 - 1.0;
    const QRectF inside = QRectF(QPointF(0, 0), content.pageSizePoints)
                              .marginsRemoved(margins)
                              .adjusted(keep, keep, -keep, -keep);
    for (const PdfWord& word : content.words)
        EXPECT_TRUE(inside.contains(word.box))
            << word.text.toStdString() << " at " << word.box.x() << "," << word.box.y()
            << " reaches into the page's 5 mm margin";

    gDebugMode = true;
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    FrmPrinter* preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    const QString shown = checkChartCentred(bitmap, a4, area, preview->paper().canvas());
    EXPECT_TRUE(shown.isEmpty()) << "preview: " << shown.toStdString();
}

TEST_F(PrintJob, DebugModePreviewsThePageAndSizesItAgainOnTheNextPrint) {
    ChartWindow chart;
    ASSERT_TRUE(chart.window()) << chart.error().toStdString();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("never.pdf"));
    gDebugMode = true;

    prompts_.setup = toFile(path, QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    FrmPrinter* preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(gPrintPreview);
    EXPECT_NEAR(preview->paper().widthTwips(), 16838, 20);
    EXPECT_NEAR(preview->paper().heightTwips(), 11906, 20);
    const QSize a4 = canvasFor(QPageSize::A4, QPageLayout::Landscape);
    EXPECT_EQ(preview->paper().canvas().size(), a4);
    const QString placement =
        checkChartCentred(chart.chartBitmap(), a4,
                          chartAreaFor(QPageSize::A4, QPageLayout::Landscape, printerMargins()),
                          preview->paper().canvas());
    EXPECT_TRUE(placement.isEmpty()) << placement.toStdString();

    prompts_.setup = toFile(path, QPageSize::Letter, QPageLayout::Portrait);
    EXPECT_EQ(PrintGraph(chart.window(), chart.viewer()), 0);
    EXPECT_EQ(previewWindow(), preview) << "the shown preview window is used again";
    EXPECT_NEAR(preview->paper().widthTwips(), 12240, 20);
    EXPECT_NEAR(preview->paper().heightTwips(), 15840, 20);
    EXPECT_EQ(preview->paper().canvas().size(),
              canvasFor(QPageSize::Letter, QPageLayout::Portrait));

    EXPECT_FALSE(QFileInfo::exists(path)) << "debug mode printed";
    EXPECT_EQ(messagesWith(kNotFound), 0);
}

TEST_F(PrintJob, OnlyANumericPrinterIndexInRangeSetsUpThePaper) {
    PrinterSettings settings;
    settings.outputFileName = QStringLiteral("/nonexistent/unused.pdf");
    settings.pageSize = QPageSize(QPageSize::A3);
    settings.orientation = QPageLayout::Landscape;
    ApplyPrinterSettings(settings);
    ASSERT_EQ(printerCount(), 1) << "only the print-to-file choice";
    const struct {
        const char* text;
        bool setUp;
    } cases[] = {{"abc", false}, {"", false},   {"1", false},  {"-1", false},
                 {"0", true},    {" 0 ", true}, {"0.4", true}, {"99999", false}};
    for (const auto& c : cases) {
        FrmPrinter window(nullptr);
        const double designWidth = window.paper().widthTwips();
        window.setPrinterIndexText(QLatin1String(c.text));
        EXPECT_NEAR(window.paper().widthTwips(), c.setUp ? 23811 : designWidth, 20) << c.text;
    }
}

TEST_F(PrintJob, PreviewScrollsOverAPaperLargerThanItsViewport) {
    gDebugMode = true;
    QTemporaryDir folder;
    prompts_.setup =
        toFile(folder.filePath(QStringLiteral("x.pdf")), QPageSize::A3, QPageLayout::Landscape);
    EXPECT_EQ(PrintGraph(nullptr, nullptr), 0);
    FrmPrinter* preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    QApplication::processEvents();
    const double tppX = preview->twipsPerPixelX();
    const double frameTwips = preview->viewport().width() * tppX;
    EXPECT_NEAR(preview->scrollScaleX(), (preview->paper().widthTwips() - frameTwips) / 32767,
                2 * tppX / 32767);
    EXPECT_EQ(preview->horizontalBar().pageStep(), 3277);
    EXPECT_EQ(preview->horizontalBar().singleStep(), 328);
    preview->horizontalBar().setValue(32767);
    const int right = preview->paper().x() + preview->paper().width();
    EXPECT_NEAR(right, preview->viewport().width(), 2) << "the paper's right edge meets the "
                                                          "viewport's at the maximum";
    preview->verticalBar().setValue(0);
    EXPECT_EQ(preview->paper().y(), 0);

    const QPoint before = preview->paper().pos();
    preview->resize(40, 30);
    QApplication::processEvents();
    EXPECT_EQ(preview->paper().pos(), before);
    EXPECT_GE(preview->viewport().width(), 0);
    EXPECT_GE(preview->viewport().height(), 0);
}

} // namespace
