#include "mprinterpg.h"

#include "appstate.h"
#include "frmprinter.h"
#include "paperpicture.h"
#include "printerlayout.h"
#include "surfaceregistry.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QPrinterInfo>

PrinterSettings gPrinterSettings;
std::int16_t gPrinterIndex = 0;
bool gPrintPreview = false;
std::array<QString, kPrinterMessageCount> gPrinterMessages;

namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr double kTwipsPerInch = 1440.0;

// The hourglass pointer for as long as it lives.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

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
    if (settings.pageSize.isValid()) {
        printer.setPageSize(settings.pageSize);
    }
    applyJobSettings(printer, settings);
}

void fetchDefaultPrinter() {
    const QPrinter byDefault(QPrinter::HighResolution);
    gPrinterSettings = settingsOf(byDefault);
    gPrinterSettings.orientation = QPageLayout::Landscape;
}

// Draws the paper's canvas on the current printer's page at the paper's own size and ends the
// document. False when the printer cannot take the page.
bool printCanvas(const PaperPicture& paper) {
    QPrinter& printer = currentPrinter();
    printer.setDocName(QCoreApplication::applicationName());
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRectF target(0, 0, paper.widthTwips() / kTwipsPerInch * printer.logicalDpiX(),
                        paper.heightTwips() / kTwipsPerInch * printer.logicalDpiY());
    painter.drawImage(target, paper.canvas());
    return painter.end() && printer.printerState() != QPrinter::Error;
}

// The print preview window: loaded by each print command, kept while it is shown.
FrmPrinter* loadPreviewWindow(QWidget* mainWindow) {
    static QPointer<FrmPrinter> loaded;
    if (loaded.isNull()) {
        loaded = new FrmPrinter(mainWindow);
    }
    return loaded.data();
}

// Sizes the canvas to the page, lets the control copy the chart onto it and prints it or, in
// preview mode, shows it. False when the printer failed; the window is then closed.
bool printOrPreview(QWidget* mainWindow) {
    FrmPrinter* window = loadPreviewWindow(mainWindow);
    window->setPrinterIndexText(QStringLiteral("-1"));
    window->setPrinterIndexText(QString::number(gPrinterIndex));
    PaperPicture& paper = window->paper();
    const int width = canvasPixels(paper.widthTwips(), window->twipsPerPixelX());
    const int height = canvasPixels(paper.heightTwips(), window->twipsPerPixelY());
    {
        const component::SurfaceRegistry::Entry surface(&paper.canvas());
        OutputGraphToPrinter(surface.handle(), width, height);
    }
    paper.update();
    gPrintPreview = gDebugMode;
    bool printed = true;
    if (gPrintPreview) {
        window->show();
    } else {
        printed = printCanvas(paper);
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
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
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
    if (!settings.pageSize.isValid() || !printer.setPageSize(settings.pageSize)) {
        prompts().messageBox(gPrinterMessages[1], UserPrompts::Buttons::Ok,
                             UserPrompts::Icon::Exclamation, gPrinterMessages[0]);
    }
    applyJobSettings(printer, settings);
    return 0;
}

int PrintGraph(QWidget* mainWindow) {
    const int setup = PrinterSetup(mainWindow);
    if (setup != 0) {
        return setup;
    }
    const BusyPointer busy;
    if (!printOrPreview(mainWindow)) {
        prompts().messageBox(QStringLiteral("Not found a printer"), UserPrompts::Buttons::Ok,
                             UserPrompts::Icon::Critical, QCoreApplication::applicationName());
    }
    return 0;
}
