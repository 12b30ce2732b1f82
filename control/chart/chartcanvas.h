#pragma once

#include "chartstate.h"

#include <string>

// The drawing calls of the chart, in the coordinate rules of the graph: pixel (x, y) is the unit
// square right of and below the point (x, y); a line-to covers every pixel of the line except its
// end pixel, rectangles and ellipses leave out their right and bottom edges, text is placed by
// its top-left corner, and colours are 0x00BBGGRR references. GdiCanvas paints the pixels,
// VectorCanvas records the same calls as vector drawing.
class ChartCanvas {
public:
    enum class TextDirection { Horizontal, Upward };

    virtual ~ChartCanvas() = default;

    // Clips every later drawing to left <= x < right, top <= y < bottom within the canvas.
    virtual void setClipRect(int left, int top, int right, int bottom) = 0;

    virtual void selectPen(ColorRef colour) = 0;
    virtual void selectBrush(ColorRef colour) = 0;
    // A fixed-pitch font of the given cell height whose characters advance height / 2 pixels;
    // Upward text runs from the reference point towards the top with its cells to the right.
    virtual void selectFont(int height, TextDirection direction) = 0;

    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // Outline in the pen, inside in the brush, covering left..right-1 and top..bottom-1.
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void ellipse(int left, int top, int right, int bottom) = 0;
    // Black text on an opaque white cell; does nothing without a selected font.
    virtual void textOut(int x, int y, const std::string& text) = 0;

protected:
    ChartCanvas() = default;
    // The outline of rectangle() as lines in the pen; the current position ends at left, top.
    void traceOutline(int left, int top, int right, int bottom) {
        moveTo(left, top);
        lineTo(right - 1, top);
        lineTo(right - 1, bottom - 1);
        lineTo(left, bottom - 1);
        lineTo(left, top);
    }
    ChartCanvas(const ChartCanvas&) = default;
    ChartCanvas& operator=(const ChartCanvas&) = default;
};
