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

    mPctFrame = new QWidget(this);
    mPctFrame->setObjectName(QStringLiteral("pctFrame"));
    mPctPaper = new PaperPicture(twipsPerPixelX(), mPctFrame);
    mHsc = makeScrollBar(Qt::Horizontal, "hsc", this);
    mVsc = makeScrollBar(Qt::Vertical, "vsc", this);
    mPrinterIndex = new QLineEdit(QStringLiteral("-1"), this);
    mPrinterIndex->setObjectName(QStringLiteral("PrinterIndex"));
    mPrinterIndex->hide();

    placeTwips(mPctFrame, 120, 0, 9375, 6135);
    mPctPaper->setPaperSize(8415, 5295);
    placeTwips(mHsc, 120, 6120, 9495, kBarThickness);
    placeTwips(mVsc, 9600, 0, kBarThickness, 6135);
    resize(roundHalfEven(kDesignWidth / twipsPerPixelX()),
           roundHalfEven(kDesignHeight / twipsPerPixelY()));

    connect(mPrinterIndex, &QLineEdit::textChanged, this, &FrmPrinter::setUpPaper);
    connect(mHsc, &QScrollBar::valueChanged, this, &FrmPrinter::scrollHorizontally);
    connect(mVsc, &QScrollBar::valueChanged, this, &FrmPrinter::scrollVertically);
}

double FrmPrinter::twipsPerPixelX() const {
    return kTwipsPerInch / logicalDpiX();
}

double FrmPrinter::twipsPerPixelY() const {
    return kTwipsPerInch / logicalDpiY();
}

void FrmPrinter::setPrinterIndexText(const QString& text) {
    mPrinterIndex->setText(text);
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
    mPctPaper->setPaperSize(page.widthTwips, page.heightTwips);
    mPctPaper->setScale(page.scale);
}

void FrmPrinter::layOut() {
    const double tppX = twipsPerPixelX();
    const double tppY = twipsPerPixelY();
    const std::optional<PrinterLayout> layout =
        PrinterLayout::compute(width() * tppX, height() * tppY, roundHalfEven(mVsc->width() * tppX),
                               roundHalfEven(mHsc->height() * tppY), mPctPaper->widthTwips(),
                               mPctPaper->heightTwips(), kScrollMaximum);
    if (!layout) {
        return;
    }
    placeTwips(mPctFrame, layout->frameLeft, layout->frameTop, layout->frameWidth,
               layout->frameHeight);
    placeTwips(mVsc, layout->vscLeft, layout->vscTop, mVsc->width() * tppX, layout->vscHeight);
    placeTwips(mHsc, layout->hscLeft, layout->hscTop, layout->hscWidth, mHsc->height() * tppY);
    mScrollScaleY = layout->scrollScaleY;
    mScrollScaleX = layout->scrollScaleX;
    for (QScrollBar* bar : {mVsc, mHsc}) {
        bar->setPageStep(layout->largeChange);
        bar->setSingleStep(layout->smallChange);
    }
}

void FrmPrinter::scrollHorizontally(int value) {
    mPctPaper->setLeftTwips(PrinterLayout::paperOffset(value, mScrollScaleX));
}

void FrmPrinter::scrollVertically(int value) {
    mPctPaper->setTopTwips(PrinterLayout::paperOffset(value, mScrollScaleY));
}

void FrmPrinter::placeTwips(QWidget* widget, double left, double top, double width, double height) {
    const double tppX = twipsPerPixelX();
    const double tppY = twipsPerPixelY();
    widget->setGeometry(roundHalfEven(left / tppX), roundHalfEven(top / tppY),
                        roundHalfEven(width / tppX), roundHalfEven(height / tppY));
}
