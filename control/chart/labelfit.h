#pragma once

#include "chartframe.h"

#include <string>

// Where the chart's labels and titles go. The plain chart puts them as it always has; a chart
// with any of the views a user switches on (compare, colour by tool, legend, fit height) moves
// each so that its drawn text lies whole inside the image, a pixel off its edges, and cuts a title
// that is longer than the image. A compare chart without a legend adds the grey series' note to
// its vertical title when the title still fits.
class LabelFit {
public:
    LabelFit(const ChartFrame& frame, const ChartState& chart);

    // The first column of horizontal text that the plain chart starts at x, and the row of its
    // top.
    int textX(int x, const std::string& text) const { return along(x, length(text), frame_.width); }
    int textY(int y) const { return along(y, frame_.fh, frame_.height); }
    // The column of upward text, and the row it starts at (its lower end).
    int upwardX(int x) const { return along(x, frame_.fh, frame_.width); }
    int upwardY(int y, const std::string& text) const {
        const int drawn = length(text);
        return on_ ? along(y - drawn, drawn, frame_.height) + drawn : y;
    }

    // The vertical and horizontal titles as drawn.
    std::string verticalTitle() const;
    std::string horizontalTitle() const;

private:
    // The start of text `length` pixels long that the plain chart starts at `start`, along an
    // extent of `extent` pixels.
    int along(int start, int length, int extent) const;
    // The pixels the text takes along its direction in the chart's face.
    int length(const std::string& text) const;
    // The longest start of the text that fits in `extent` pixels, less a pixel at each end.
    std::string cut(const std::string& text, int extent) const;

    const ChartFrame& frame_;
    const ChartState& chart_;
    bool on_;
};
