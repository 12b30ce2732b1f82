#include "columnpath.h"

#include "gdicanvas.h"

ColumnPath::ColumnPath(GdiCanvas& canvas) : canvas_(canvas) {}

void ColumnPath::selectPen(ColorRef colour) {
    flush();
    canvas_.selectPen(colour);
}

void ColumnPath::moveTo(int x, int y) {
    flush();
    canvas_.moveTo(x, y);
}

void ColumnPath::lineTo(int x, int y) {
    if (open_ && x == x_) {
        if (y == lastY_)
            return;
        const int order = points_ - 1;
        if (lastY_ < low_.y)
            low_ = {lastY_, order};
        if (lastY_ > high_.y)
            high_ = {lastY_, order};
        lastY_ = y;
        ++points_;
        return;
    }
    flush();
    open_ = true;
    x_ = x;
    firstY_ = y;
    lastY_ = y;
    points_ = 1;
    low_ = {y, 0};
    high_ = {y, 0};
}

void ColumnPath::finish() {
    flush();
}

// The extremes are visited in the order they occur, except that an extreme at the height of the
// last point comes first: the path then leaves that pixel and returns to it, and the pixel is
// painted as it is by the full polyline.
void ColumnPath::flush() {
    if (!open_)
        return;
    open_ = false;
    canvas_.lineTo(x_, firstY_);
    if (points_ < 2)
        return;
    const bool highFirst = lastY_ == high_.y || (lastY_ != low_.y && high_.order < low_.order);
    const Extreme& first = highFirst ? high_ : low_;
    const Extreme& second = highFirst ? low_ : high_;
    canvas_.lineTo(x_, first.y);
    canvas_.lineTo(x_, second.y);
    canvas_.lineTo(x_, lastY_);
}
