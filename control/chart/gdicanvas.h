#pragma once

#include "chartcanvas.h"

#include <QPainter>
#include <QRect>

#include <cstdint>
#include <string>

class QImage;

// The raster canvas: draws on an image, pixel by pixel as the graph's coordinate rules say. Lines
// are rasterised here, exactly, whatever their length: only the pixels inside the clip rectangle
// are visited.
class GdiCanvas final : public ChartCanvas {
public:
    // Draws on `image`, which is converted to Format_RGB32 first if need be.
    explicit GdiCanvas(QImage& image);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

    void setClipRect(int left, int top, int right, int bottom) override;

    void selectPen(ColorRef colour) override;
    void selectBrush(ColorRef colour) override;
    void selectFont(int height, TextDirection direction) override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void textOut(int x, int y, const std::string& text) override;

private:
    struct Point {
        std::int64_t x = 0;
        std::int64_t y = 0;
    };

    static QImage& inRgb32(QImage& image);
    void drawLine(Point from, Point to);
    QRgb* pixelAt(std::int64_t x, std::int64_t y);

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
