#pragma once

#include "../apptestsupport.h"

#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

class CurvexProxy;
class FrmMain;
class QWidget;

// Screen pixels of the page canvas for paper `size` in `orientation`.
QSize canvasFor(QPageSize::PageSizeId size, QPageLayout::Orientation orientation);

// The part of that canvas a chart may fill: the page less the printer's `margins` (in points, as
// they apply in `orientation`) and less 5 mm more on each side.
QRectF chartAreaFor(QPageSize::PageSizeId size, QPageLayout::Orientation orientation,
                    const QMarginsF& margins);

// The program's scripted dialogs, with a print set-up dialog that runs `setup` on the dialog's
// printer; the question whether a file is text is answered Yes.
class PrintPrompts : public apptest::ScriptedPrompts {
public:
    PrintPrompts() { answers.push_back(AnswerYes); }
    bool printSetup(QPrinter& printer, QWidget* /*owner*/) override { return setup(printer); }

    // Returns whether the dialog was accepted.
    std::function<bool(QPrinter&)> setup = [](QPrinter&) { return true; };
};

// The main window with the real graph control showing a sample file, in a folder of its own.
class ChartWindow {
public:
    ChartWindow();
    ~ChartWindow();

    // Null when the window could not be made; then `error` says why.
    QWidget* window() const;
    // The window's graph control, to print from.
    CurvexProxy* viewer() const;
    QString error() const { return error_; }
    // The chart exactly as the control holds it on the screen.
    QImage chartBitmap() const;
    // Resizes the main window and renders the chart at its new size.
    void resizeWindow(QSize size);

private:
    apptest::PrivateRegistry registry_;
    QTemporaryDir folder_;
    std::unique_ptr<FrmMain> window_;
    QString error_;
};

// Where the chart's axes lie: the row and the column with the most pixels of the axis colour,
// and their extents.
struct AxisLines {
    int row = -1;
    int rowLength = 0;
    int column = -1;
    int columnLength = 0;
    QRgb colour = 0;
};
AxisLines findAxisLines(const QImage& chart);

// The pixels of `page` (a raster of a printed page at `dotsPerInch`) that carry ink within `mm`
// of any of its edges.
int inkNearEdges(const QImage& page, int dotsPerInch, double mm);

// Checks that `page` (a raster of a printed page) shows `chart` on a canvas of `canvasSize` screen
// pixels that covers the whole page: at screen size and centred on the page when it fits `area`
// (canvas pixels), else scaled down to fit `area` (aspect kept) and centred in it. The raster may
// be turned by a quarter when the page came back in the other orientation. Empty when it does,
// else what is wrong.
QString checkChartCentred(const QImage& chart, QSize canvasSize, const QRectF& area,
                          const QImage& page);
