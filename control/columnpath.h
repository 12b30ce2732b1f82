#pragma once

#include "curvepath.h"

class GdiCanvas;

// A curve path that draws the same pixels as a line to every point, with at most four points per
// pixel column and pen. Consecutive points in one column are kept as a group: a vertical run of
// the polyline covers exactly the pixels between the group's lowest and highest point, so the
// group is drawn as its first point, its two extremes and its last point. A pen change ends the
// group, so every segment keeps its colour.
class ColumnPath : public CurvePath {
public:
    explicit ColumnPath(GdiCanvas& canvas);

    void selectPen(ColorRef colour) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void finish() override;

private:
    struct Extreme {
        int y = 0;
        int order = 0;
    };

    void flush();

    GdiCanvas& canvas_;
    bool open_ = false;
    int x_ = 0;
    int firstY_ = 0;
    int lastY_ = 0;
    int points_ = 0;
    // Lowest and highest pixel among the group's points before the last one.
    Extreme low_;
    Extreme high_;
};
