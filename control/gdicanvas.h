#pragma once

#include "cutgraph.h"

#include <QFont>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <string>

class QImage;

// A drawing surface with the coordinate rules of the graph: a line-to paints every pixel of the
// line except its end pixel, rectangles and ellipses leave out their right and bottom edges, text
// is placed by its top-left corner, and colours are 0x00BBGGRR references. Lines are rasterised
// here, exactly, whatever their length: only the pixels inside the clip rectangle are visited.
class GdiCanvas {
public:
    enum class TextDirection { Horizontal, Upward };

    // Draws on `image`, which is converted to Format_RGB32 first if need be.
    explicit GdiCanvas(QImage& image);
    ~GdiCanvas();
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

    // Clips every later drawing to left <= x < right, top <= y < bottom within the image.
    void setClipRect(int left, int top, int right, int bottom);

    void selectPen(ColorRef colour);
    void selectBrush(ColorRef colour);
    // A fixed-pitch font of the given cell height whose characters advance height / 2 pixels;
    // Upward text runs from the reference point towards the top with its cells to the right.
    void selectFont(int height, TextDirection direction);

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    // Outline in the pen, inside in the brush, covering left..right-1 and top..bottom-1.
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    // Black text on an opaque white cell; does nothing without a selected font.
    void textOut(int x, int y, const std::string& text);

private:
    struct Point {
        std::int64_t x = 0;
        std::int64_t y = 0;
    };

    static QImage& inRgb32(QImage& image);
    void drawLine(Point from, Point to);
    QRgb* pixelAt(std::int64_t x, std::int64_t y);
    static QColor toQColor(ColorRef colour);

    QImage& image_;
    QPainter painter_;
    uchar* bits_;
    qsizetype bytesPerLine_;
    int width_;
    int height_;
    QRect clip_;
    Point current_;
    QRgb pen_ = 0xFF000000u;
    QRgb brush_ = 0xFFFFFFFFu;
    bool hasFont_ = false;
    TextDirection direction_ = TextDirection::Horizontal;
};
