#include "columnpath.h"

#include "chartcanvas.h"

#include <algorithm>

ColumnPath::ColumnPath(ChartCanvas& canvas) : canvas_(canvas) {}

void ColumnPath::selectPen(ColorRef colour) {
    flush();
    canvas_.selectPen(colour);
}

void ColumnPath::moveTo(int x, int y) {
    flush();
    canvas_.moveTo(x, y);
}

void ColumnPath::extend(int y) {
    if (y == lastY_)
        return;
    minY_ = std::min(minY_, lastY_);
    maxY_ = std::max(maxY_, lastY_);
    lastY_ = y;
    single_ = false;
}

void ColumnPath::startColumn(int x, int y) {
    flush();
    open_ = true;
    single_ = true;
    x_ = x;
    firstY_ = y;
    lastY_ = y;
    minY_ = y;
    maxY_ = y;
}

void ColumnPath::finish() {
    flush();
}

void ColumnPath::flush() {
    if (!open_)
        return;
    open_ = false;
    canvas_.lineTo(x_, firstY_);
    if (single_)
        return;
    const int top = lastY_ < minY_ ? lastY_ + 1 : minY_;
    const int bottom = lastY_ > maxY_ ? lastY_ - 1 : maxY_;
    canvas_.moveTo(x_, top);
    canvas_.lineTo(x_, bottom + 1);
    canvas_.moveTo(x_, lastY_);
}
