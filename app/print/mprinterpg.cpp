#include "mprinterpg.h"

#include "appstate.h"
#include "chartplacement.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "frmprinter.h"
#include "paperpicture.h"
#include "printerlayout.h"
#include "surfaceregistry.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QPrinterInfo>

#include <memory>
#include <optional>

namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr double kTwipsPerInch = 1440.0;

std::unique_ptr<QPrinter>& currentPrinterSlot() {
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

// The hourglass pointer for as long as it lives.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// A page size a printer can be asked for: known to the platform and not empty.
bool usablePageSize(const QPageSize& size) {
    return size.isValid() && !size.sizePoints().isEmpty();
}

bool isFileChoice(const PrinterSettings& settings) {
    return settings.printerName.isEmpty() && !settings.outputFileName.isEmpty();
}

PrinterSettings settingsOf(const QPrinter& printer) {
    PrinterSettings settings;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        settings.outputFileName = printer.outputFileName();
    } else {
        settings.printerName = printer.printerName();
    }
    const QPageLayout layout = printer.pageLayout();
    settings.pageSize = layout.pageSize();
    settings.orientation = layout.orientation();
    settings.paperSource = printer.paperSource();
    settings.resolution = printer.resolution();
    settings.colorMode = printer.colorMode();
    settings.duplex = printer.duplex();
    settings.copies = printer.copyCount();
    settings.initialised = true;
    return settings;
}

void selectDevice(QPrinter& printer, const PrinterSettings& settings) {
    if (isFileChoice(settings)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(settings.outputFileName);
    } else if (!settings.printerName.isEmpty()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(settings.printerName);
    }
}

void applyJobSettings(QPrinter& printer, const PrinterSettings& settings) {
    printer.setPaperSource(settings.paperSource);
    if (settings.resolution > 0) {
        printer.setResolution(settings.resolution);
    }
    printer.setColorMode(settings.colorMode);
    printer.setDuplex(settings.duplex);
    printer.setPageOrientation(settings.orientation);
    printer.setCopyCount(settings.copies);
}

// The set-up dialog's printer, showing the kept settings.
void presetPrinter(QPrinter& printer, const PrinterSettings& settings) {
    selectDevice(printer, settings);
    if (usablePageSize(settings.pageSize)) {
        printer.setPageSize(settings.pageSize);
    }
    applyJobSettings(printer, settings);
}

void fetchDefaultPrinter() {
    const QPrinter byDefault(QPrinter::HighResolution);
    gPrinterSettings = settingsOf(byDefault);
    gPrinterSettings.orientation = QPageLayout::Landscape;
}

// The current printer's page in its device pixels: the whole paper, as the page canvas shows it.
QSizeF printerPage(const PaperPicture& paper, const QPrinter& printer) {
    return {paper.widthTwips() / kTwipsPerInch * printer.logicalDpiX(),
            paper.heightTwips() / kTwipsPerInch * printer.logicalDpiY()};
}

// The canvas as one lossless image on the whole page: without a chart or for a control that
// cannot draw the chart itself.
bool printCanvasImage(const PaperPicture& paper, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(QRectF(QPointF(0, 0), printerPage(paper, printer)), paper.canvas());
    return painter.end();
}

// The chart's size in the control, or an empty size.
QSize chartSizeOf(CurvexProxy& viewer) {
    std::int16_t width = 0;
    std::int16_t height = 0;
    viewer.getBmpSize(width, height);
    return {width, height};
}

// The chart as vector drawing where it lies on the canvas, drawn by the control; the canvas
// image without a chart or with a control that cannot draw it. Ends the document. False when the
// printer cannot take the page.
bool printChart(const PaperPicture& paper, CurvexProxy* viewer, const QRect& placed) {
    QPrinter& printer = currentPrinter();
    printer.setDocName(QLatin1String(curvex::kProgramTitle));
    std::optional<bool> drawn;
    if (viewer != nullptr && !placed.isEmpty()) {
        const component::SurfaceRegistry::Entry surface(&printer);
        drawn = viewer->drawChart(
            surface.handle(), QSize(0, 0),
            canvasToPage(placed, paper.canvas().size(), printerPage(paper, printer)));
    }
    const bool printed = drawn.has_value() ? *drawn : printCanvasImage(paper, printer);
    if (!printed || printer.printerState() == QPrinter::Error) {
        // A printer whose job failed stays busy; the next command starts with a fresh one.
        currentPrinterSlot().reset();
        return false;
    }
    return true;
}

// The chart on the page canvas: copied at its size when it fits, as it always was; scaled down
// to fit otherwise, or copied and cut as before by a control that cannot scale it.
void drawChartOnCanvas(CurvexProxy& viewer, std::int32_t surface, QSize canvas,
                       const QRect& placed) {
    if (placed.size() == chartSizeOf(viewer) ||
        !viewer.drawChart(surface, QSize(0, 0), placed).has_value())
        OutputGraphToPrinter(viewer, surface, canvas.width(), canvas.height());
}

// The print preview window: loaded by each print command, kept while it is shown.
FrmPrinter* loadPreviewWindow(QWidget* owner) {
    static QPointer<FrmPrinter> loaded;
    if (loaded.isNull()) {
        loaded = new FrmPrinter(owner);
    }
    return loaded.data();
}

// Sizes the canvas to the page, lets the control copy the chart onto it and prints it or, in
// preview mode, shows it. False when the printer failed. A window that is not shown is unloaded.
bool printOrPreview(QWidget* owner, CurvexProxy* viewer) {
    FrmPrinter* window = loadPreviewWindow(owner);
    window->setPrinterIndexText(QStringLiteral("-1"));
    window->setPrinterIndexText(QString::number(gPrinterIndex));
    PaperPicture& paper = window->paper();
    const QSize canvas(canvasPixels(paper.widthTwips(), window->twipsPerPixelX()),
                       canvasPixels(paper.heightTwips(), window->twipsPerPixelY()));
    QRect placed;
    if (viewer != nullptr) {
        placed = placeChartOnCanvas(chartSizeOf(*viewer), canvas,
                                    printableArea(currentPrinter().pageLayout(), canvas));
        const component::SurfaceRegistry::Entry surface(&paper.canvas());
        drawChartOnCanvas(*viewer, surface.handle(), canvas, placed);
    }
    paper.update();
    gPrintPreview = gDebugMode;
    bool printed = true;
    if (gPrintPreview) {
        window->show();
    } else {
        printed = printChart(paper, viewer, placed);
    }
    if (!window->isVisible()) {
        delete window;
    }
    return printed;
}

} // namespace

void SetPrinterMessage(int index, const QString& text) {
    if (index < 0 || index >= kPrinterMessageCount) {
        return;
    }
    gPrinterMessages[static_cast<std::size_t>(index)] = text;
}

QPrinter& currentPrinter() {
    std::unique_ptr<QPrinter>& printer = currentPrinterSlot();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer;
}

int printerCount() {
    return static_cast<int>(QPrinterInfo::availablePrinterNames().size()) + 1;
}

PageGeometry currentPageGeometry() {
    const QPageLayout layout = currentPrinter().pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Point);
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    PageGeometry page;
    page.widthTwips = full.width() * kTwipsPerPoint;
    page.heightTwips = full.height() * kTwipsPerPoint;
    page.scale = QRectF(0, 0, paint.width() * kTwipsPerPoint, paint.height() * kTwipsPerPoint);
    return page;
}

int PrinterSetup(QWidget* owner) {
    QPrinter dialogPrinter(QPrinter::HighResolution);
    {
        const BusyPointer busy;
        if (!gPrinterSettings.initialised) {
            fetchDefaultPrinter();
        }
        presetPrinter(dialogPrinter, gPrinterSettings);
    }
    if (!prompts().printSetup(dialogPrinter, owner)) {
        return 1;
    }
    const BusyPointer busy;
    gPrinterSettings = settingsOf(dialogPrinter);
    return ApplyPrinterSettings(gPrinterSettings);
}

int ApplyPrinterSettings(const PrinterSettings& settings) {
    QPrinter& printer = currentPrinter();
    if (isFileChoice(settings)) {
        selectDevice(printer, settings);
        gPrinterIndex = static_cast<std::int16_t>(printerCount() - 1);
    } else {
        const QStringList installed = QPrinterInfo::availablePrinterNames();
        const int index = findPrinterByName(installed, settings.printerName);
        if (index >= 0) {
            PrinterSettings device = settings;
            device.printerName = installed.at(index);
            selectDevice(printer, device);
            gPrinterIndex = static_cast<std::int16_t>(index);
        }
    }
    printer.setFullPage(true);
    if (!usablePageSize(settings.pageSize) || !printer.setPageSize(settings.pageSize)) {
        prompts().messageBox(gPrinterMessages[1], UserPrompts::Buttons::Ok,
                             UserPrompts::Icon::Exclamation, gPrinterMessages[0]);
    }
    applyJobSettings(printer, settings);
    return 0;
}

int PrintGraph(QWidget* owner, CurvexProxy* viewer) {
    const int setup = PrinterSetup(owner);
    if (setup != 0) {
        return setup;
    }
    const BusyPointer busy;
    if (!printOrPreview(owner, viewer)) {
        prompts().messageBox(QStringLiteral("Not found a printer"), UserPrompts::Buttons::Ok,
                             UserPrompts::Icon::Critical, QLatin1String(curvex::kProgramTitle));
    }
    return 0;
}
