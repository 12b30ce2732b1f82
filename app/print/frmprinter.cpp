#include "frmprinter.h"

#include "mprinterpg.h"
#include "numerictext.h"
#include "paperpicture.h"
#include "printerlayout.h"

#include <QLineEdit>
#include <QScrollBar>

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kScrollMaximum = 32767;

// Design sizes of the window and its parts, in twips.
constexpr double kDesignWidth = 10155;
constexpr double kDesignHeight = 6780;
constexpr double kBarThickness = 255;

QScrollBar* makeScrollBar(Qt::Orientation orientation, const char* name, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, kScrollMaximum);
    return bar;
}

} // namespace

FrmPrinter::FrmPrinter(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmPrinter"));
    setWindowTitle(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);

    pctFrame = new QWidget(this);
    pctFrame->setObjectName(QStringLiteral("pctFrame"));
    pctPaper = new PaperPicture(twipsPerPixelX(), pctFrame);
    hsc = makeScrollBar(Qt::Horizontal, "hsc", this);
    vsc = makeScrollBar(Qt::Vertical, "vsc", this);
    PrinterIndex = new QLineEdit(QStringLiteral("-1"), this);
    PrinterIndex->setObjectName(QStringLiteral("PrinterIndex"));
    PrinterIndex->hide();

    placeTwips(pctFrame, 120, 0, 9375, 6135);
    pctPaper->setPaperSize(8415, 5295);
    placeTwips(hsc, 120, 6120, 9495, kBarThickness);
    placeTwips(vsc, 9600, 0, kBarThickness, 6135);
    resize(roundHalfEven(kDesignWidth / twipsPerPixelX()),
           roundHalfEven(kDesignHeight / twipsPerPixelY()));

    connect(PrinterIndex, &QLineEdit::textChanged, this, &FrmPrinter::setUpPaper);
    connect(hsc, &QScrollBar::valueChanged, this, &FrmPrinter::scrollHorizontally);
    connect(vsc, &QScrollBar::valueChanged, this, &FrmPrinter::scrollVertically);
}

double FrmPrinter::twipsPerPixelX() const {
    return kTwipsPerInch / logicalDpiX();
}

double FrmPrinter::twipsPerPixelY() const {
    return kTwipsPerInch / logicalDpiY();
}

void FrmPrinter::setPrinterIndexText(const QString& text) {
    PrinterIndex->setText(text);
}

void FrmPrinter::resizeEvent(QResizeEvent* /*event*/) {
    layOut();
}

void FrmPrinter::setUpPaper(const QString& indexText) {
    const std::optional<std::int16_t> index = toInt16(indexText);
    if (!index || *index < 0 || *index >= printerCount()) {
        return;
    }
    const PageGeometry page = currentPageGeometry();
    pctPaper->setPaperSize(page.widthTwips, page.heightTwips);
    pctPaper->setScale(page.scale);
}

void FrmPrinter::layOut() {
    const double tppX = twipsPerPixelX();
    const double tppY = twipsPerPixelY();
    const std::optional<PrinterLayout> layout =
        PrinterLayout::compute(width() * tppX, height() * tppY, roundHalfEven(vsc->width() * tppX),
                               roundHalfEven(hsc->height() * tppY), pctPaper->widthTwips(),
                               pctPaper->heightTwips(), kScrollMaximum);
    if (!layout) {
        return;
    }
    placeTwips(pctFrame, layout->frameLeft, layout->frameTop, layout->frameWidth,
               layout->frameHeight);
    placeTwips(vsc, layout->vscLeft, layout->vscTop, vsc->width() * tppX, layout->vscHeight);
    placeTwips(hsc, layout->hscLeft, layout->hscTop, layout->hscWidth, hsc->height() * tppY);
    scrollScaleY_ = layout->scrollScaleY;
    scrollScaleX_ = layout->scrollScaleX;
    for (QScrollBar* bar : {vsc, hsc}) {
        bar->setPageStep(layout->largeChange);
        bar->setSingleStep(layout->smallChange);
    }
}

void FrmPrinter::scrollHorizontally(int value) {
    pctPaper->setLeftTwips(PrinterLayout::paperOffset(value, scrollScaleX_));
}

void FrmPrinter::scrollVertically(int value) {
    pctPaper->setTopTwips(PrinterLayout::paperOffset(value, scrollScaleY_));
}

void FrmPrinter::placeTwips(QWidget* widget, double left, double top, double width, double height) {
    const double tppX = twipsPerPixelX();
    const double tppY = twipsPerPixelY();
    widget->setGeometry(roundHalfEven(left / tppX), roundHalfEven(top / tppY),
                        roundHalfEven(width / tppX), roundHalfEven(height / tppY));
}
