#include "paperpicture.h"

#include "printerlayout.h"

#include <QPainter>

PaperPicture::PaperPicture(double twipsPerPixel, QWidget* parent)
    : QWidget(parent), twipsPerPixel_(twipsPerPixel) {
    setObjectName(QStringLiteral("pctPaper"));
}

void PaperPicture::setPaperSize(double widthTwips, double heightTwips) {
    widthTwips_ = widthTwips;
    heightTwips_ = heightTwips;
    const QSize pixels(canvasPixels(widthTwips, twipsPerPixel_),
                       canvasPixels(heightTwips, twipsPerPixel_));
    resize(pixels);
    canvas_ = QImage(pixels, QImage::Format_RGB32);
    clearCanvas();
    update();
}

void PaperPicture::setLeftTwips(double leftTwips) {
    move(roundHalfEven(leftTwips / twipsPerPixel_), y());
}

void PaperPicture::setTopTwips(double topTwips) {
    move(x(), roundHalfEven(topTwips / twipsPerPixel_));
}

void PaperPicture::clearCanvas() {
    canvas_.fill(palette().color(QPalette::Base));
}

void PaperPicture::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}
