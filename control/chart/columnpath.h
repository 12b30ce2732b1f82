#pragma once

#include "curvepath.h"

#include <vector>

class ChartCanvas;

// The points of one pixel column that follow each other in a curve, summarised: the first and the
// last point's height, and the lowest and highest height among the points before the last one
// that differ from it. `single` when every point has the same height.
struct ColumnRun {
    int x = 0;
    int firstY = 0;
    int lastY = 0;
    int minY = 0;
    int maxY = 0;
    bool single = true;

    // The run below the line into the first point, top..bottom; painted unless `single`.
    int top() const { return lastY < minY ? lastY + 1 : minY; }
    int bottom() const { return lastY > maxY ? lastY - 1 : maxY; }
};

// Rows top..bottom of a column in one colour.
struct ColumnPiece {
    int top = 0;
    int bottom = 0;
    ColorRef colour = 0;
};

// A curve path that paints exactly the pixels of a line to every point, drawing each pixel column
// once. Consecutive points in one column form a group: the lines between them are vertical and
// together cover the run between the group's highest and lowest pixel, so the group is drawn as
// the line into its first point and that one run. The last point's own pixel belongs to the run
// only when an earlier point of the group lies at or beyond it, as the end pixel of a line is not
// painted. A pen change ends the group, so every segment keeps its colour.
class ColumnPath final : public CurvePath {
public:
    // What the canvas keeps of lines drawn over each other: a vector canvas keeps every line; a
    // pixel canvas only the last colour of each pixel, so a column of groups may be painted as
    // the pixels it leaves (addStack) instead of group after group.
    enum class Canvas { Vector, Pixels };

    explicit ColumnPath(ChartCanvas& canvas, Canvas kind = Canvas::Vector);

    bool pixels() const { return kind_ == Canvas::Pixels; }

    void selectPen(ColorRef colour) override;
    void moveTo(int x, int y) override;
    // Called for every record of a render, so the common case, a point in the open column,
    // is kept inline.
    void lineTo(int x, int y) override {
        if (open_ && x == run_.x)
            extend(y);
        else
            startColumn(x, y);
    }
    // A whole group at once, as the points it summarises would leave it.
    void addColumn(const ColumnRun& run);
    // A column of groups in several colours, painted as the line into its first point at firstY
    // and the pieces that stay visible, which must not overlap; it ends at lastY in lastColour.
    void addStack(int x, int firstY, const std::vector<ColumnPiece>& pieces, ColorRef lastColour,
                  int lastY);
    void finish() override;

private:
    void extend(int y);
    void startColumn(int x, int y);
    void flush();

    ChartCanvas& canvas_;
    const Canvas kind_;
    bool open_ = false;
    ColumnRun run_;
};
