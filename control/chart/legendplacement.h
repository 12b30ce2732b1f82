#pragma once

#include "chartframe.h"

#include <array>
#include <cstddef>

class QImage;

// Where a legend is drawn: its box (right and bottom edges excluded) and how many rows it has.
struct LegendBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int rows = 0;

    bool operator==(const LegendBox&) const = default;
};

// The place of the legend in the plot area, one rule for every output. The boxes sit in the four
// corners, clear of the axes and their ticks; a top box starts below the row of the "MAX:" label.
// A corner is a candidate unless its box hides the curve's highest point: a top box hides what
// lies in its columns from the plot's top down to its bottom edge, the label row above it
// included, a bottom box what lies inside it. When no corner qualifies, all four are candidates.
// Of the candidates the legend takes the box covering the fewest curve pixels of the picture of
// the curves at the chart's size; ties go in the order of Corner. The vector outputs take the
// place from that same picture, so that they put the legend where the raster chart does.
class LegendPlacement {
public:
    enum class Corner { TopRight, BottomRight, BottomLeft, TopLeft };
    static constexpr std::array<Corner, 4> kCorners = {Corner::TopRight, Corner::BottomRight,
                                                       Corner::BottomLeft, Corner::TopLeft};

    // The legend's inner spacing and the height of one of its rows.
    static int pad(const ChartFrame& frame) { return frame.cw / 2 + 2; }
    static int rowHeight(const ChartFrame& frame) { return frame.fh + 2; }
    // The rows that fit in half the plot height.
    static int maxRows(const ChartFrame& frame);

    // A legend of `rows` rows whose widest row is `contentWidth` pixels.
    LegendPlacement(const ChartFrame& frame, int contentWidth, int rows);

    LegendBox box(Corner corner) const;
    // The corner the rule chooses over `curves`, a picture of the curves alone on `background`.
    Corner choose(const QImage& curves, ColorRef background) const;

private:
    // Whether the corner's box hides a curve pixel of row `highest`.
    bool hidesRow(const QImage& curves, ColorRef background, int highest, Corner corner) const;
    static bool isTop(Corner corner) {
        return corner == Corner::TopRight || corner == Corner::TopLeft;
    }

    const ChartFrame& frame_;
    int width_;
    int rows_;
    int height_;
};

// The curve pixels of `picture` (those not `background`) inside the box.
std::size_t InkInside(const QImage& picture, ColorRef background, const LegendBox& box);
