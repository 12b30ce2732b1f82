#include "colorswatch.h"

#include "curvexcolor.h"

#include <QPalette>

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setColorRef(0);
}

void ColorSwatch::setColorRef(std::uint32_t colorRef) {
    mColorRef = colorRef;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, curvex::toQColor(colorRef));
    setPalette(colours);
}

void ColorSwatch::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    emit gotFocus();
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* event) {
    QFrame::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

QSize ColorSwatch::sizeHint() const {
    const int side = fontMetrics().height() * 2;
    return QSize(side, side);
}
