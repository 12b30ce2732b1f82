#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>

class QWidget;

// The printer settings kept from one print command to the next. An empty printer name with an
// output file name is the print-to-file (PDF) choice of the set-up dialog.
struct PrinterSettings {
    QString printerName;
    QString outputFileName;
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QPrinter::PaperSource paperSource = QPrinter::Auto;
    int resolution = 0;
    QPrinter::ColorMode colorMode = QPrinter::Color;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    int copies = 1;
    // False until the default printer has been fetched once.
    bool initialised = false;
};

inline constexpr int kPrinterMessageCount = 16;

extern PrinterSettings gPrinterSettings;
// Position of the current printer in the list of installed printers.
extern std::int16_t gPrinterIndex;
// Copy of the debug switch taken by each print command: show the page instead of printing it.
extern bool gPrintPreview;
// Entry 0: title of the printer set-up messages; entry 1: the refused paper size message.
extern std::array<QString, kPrinterMessageCount> gPrinterMessages;

// Sets entry `index` (0..15) of gPrinterMessages; other indexes are ignored.
void SetPrinterMessage(int index, const QString& text);

// The printer that print jobs go to, chosen by ApplyPrinterSettings.
QPrinter& currentPrinter();

// The installed printers followed by the print-to-file choice, which is therefore at the position
// of the number of installed printers.
int printerCount();

// The current printer's page: its physical size in twips and its coordinate system.
struct PageGeometry {
    double widthTwips = 0;
    double heightTwips = 0;
    QRectF scale;
};
PageGeometry currentPageGeometry();

// Shows the set-up dialog preset with gPrinterSettings: 0 when accepted (the settings are kept and
// applied), 1 when cancelled (the settings stay as they were).
int PrinterSetup(QWidget* owner);

// Makes the printer named in `settings` current (when installed) and applies the page and job
// settings to it. Always 0.
int ApplyPrinterSettings(const PrinterSettings& settings);

// The print command: set-up, page canvas, chart, then one page to the printer or, in debug mode,
// the preview window. 1 when the set-up was cancelled, else 0.
int PrintGraph(QWidget* mainWindow);
