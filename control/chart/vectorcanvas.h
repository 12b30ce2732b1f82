#pragma once

#include "chartcanvas.h"
#include "chartfont.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <optional>

class QPainter;

// The vector canvas: records the canvas calls as vector drawing on a painter (an SVG generator,
// a PDF writer, a printer), one unit of the painter's coordinates per pixel. A line runs from
// the centre of its first pixel to the centre of its end pixel with a pen one pixel wide, so it
// covers the pixels the raster canvas paints (a pen never thinner than one device pixel, so a
// chart scaled down onto an image keeps its lines); lines are clipped here, so the drawing does not
// depend on the clipping a paint engine supports. Consecutive lines in one pen go out as one
// path; text goes out as text in the raster canvas's face, narrowed by a horizontal scale, and
// is not clipped (a paint engine's clip is not used: PDF printers lost whole pages under it).
class VectorCanvas final : public ChartCanvas {
public:
    // Draws on the active `painter` for a chart of width x height pixels; the painter's state is
    // restored when the canvas ends.
    VectorCanvas(QPainter& painter, int width, int height);
    ~VectorCanvas() override;
    VectorCanvas(const VectorCanvas&) = delete;
    VectorCanvas& operator=(const VectorCanvas&) = delete;

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
    void addSegment(QPointF from, QPointF to);
    void flushLines();
    QPen linePen() const;

    QPainter& painter_;
    QRectF bounds_;
    QRectF clip_;
    double penWidth_;
    QPointF current_;
    QColor pen_ = Qt::black;
    QColor brush_ = Qt::white;
    std::optional<ChartFace> face_;
    TextDirection direction_ = TextDirection::Horizontal;
    // Lines in the pen not drawn yet, the end of the last one and the start of its subpath.
    QPainterPath lines_;
    std::optional<QPointF> linesEnd_;
    QPointF subpathStart_;
};
