#pragma once

#include "appstate.h"
#include "print/printersettings.h"

#include <QPrinter>
#include <QRectF>
#include <QString>

class CurvexProxy;
class QWidget;

// The print job's state (gPrinterSettings, gPrinterIndex, gPrintPreview, gPrinterMessages) is
// part of the application state (appstate.h).

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

// The print command: set-up, page canvas, the chart of `viewer` (an empty page without one), then
// one page to the printer or, in debug mode, the preview window. `owner` is the window the
// dialogs and the preview belong to. 1 when the set-up was cancelled, else 0.
int PrintGraph(QWidget* owner, CurvexProxy* viewer);
