#include "columnpath.h"

#include "chartcanvas.h"

#include <algorithm>

ColumnPath::ColumnPath(ChartCanvas& canvas, Canvas kind) : canvas_(canvas), kind_(kind) {}

void ColumnPath::selectPen(ColorRef colour) {
    flush();
    canvas_.selectPen(colour);
}

void ColumnPath::moveTo(int x, int y) {
    flush();
    canvas_.moveTo(x, y);
}

void ColumnPath::extend(int y) {
    if (y == run_.lastY)
        return;
    run_.minY = std::min(run_.minY, run_.lastY);
    run_.maxY = std::max(run_.maxY, run_.lastY);
    run_.lastY = y;
    run_.single = false;
}

void ColumnPath::startColumn(int x, int y) {
    addColumn({x, y, y, y, y, true});
}

void ColumnPath::addColumn(const ColumnRun& run) {
    flush();
    open_ = true;
    run_ = run;
}

void ColumnPath::addStack(int x, int firstY, const std::vector<ColumnPiece>& pieces,
                          ColorRef lastColour, int lastY) {
    flush();
    canvas_.lineTo(x, firstY);
    for (const ColumnPiece& piece : pieces) {
        canvas_.selectPen(piece.colour);
        canvas_.moveTo(x, piece.top);
        canvas_.lineTo(x, piece.bottom + 1);
    }
    canvas_.selectPen(lastColour);
    canvas_.moveTo(x, lastY);
}

void ColumnPath::finish() {
    flush();
}

void ColumnPath::flush() {
    if (!open_)
        return;
    open_ = false;
    canvas_.lineTo(run_.x, run_.firstY);
    if (run_.single)
        return;
    canvas_.moveTo(run_.x, run_.top());
    canvas_.lineTo(run_.x, run_.bottom() + 1);
    canvas_.moveTo(run_.x, run_.lastY);
}
