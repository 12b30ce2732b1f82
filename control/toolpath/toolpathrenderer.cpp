#include "toolpathrenderer.h"

#include "feedchangecolours.h"
#include "toolpathdrawing.h"
#include "viridis.h"

#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kTriadLength = 24;

QColor colourOf(std::uint32_t pixel) {
    return QColor::fromRgb(pixel);
}

QPointF mapped(const ToolpathFit& fit, const PathPoint& p) {
    return {fit.px(p.x, p.y, p.z), fit.py(p.x, p.y, p.z)};
}

QPen segmentPen(std::uint32_t colour, bool rapid) {
    QPen pen(colourOf(colour), 1.0);
    pen.setCosmetic(true);
    if (rapid)
        pen.setDashPattern({3.0, 3.0});
    return pen;
}

} // namespace

void ToolpathRenderer::drawImage(QImage& image, const ToolpathFit& fit, ToolpathPixels& pixels,
                                 std::uint32_t stride) const {
    image.fill(QColor(Qt::white));
    pixels.project(model_, fit, style_, stride);
    ToolpathRaster raster(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(),
                          image.height(), static_cast<int>(image.bytesPerLine() / 4));
    DrawToolpathPixels(raster, model_, fit, pixels, stride);
    QPainter painter(&image);
    paintExtras(painter, fit);
}

void ToolpathRenderer::paint(QPainter& painter, const ToolpathFit& fit) const {
    painter.fillRect(QRectF(0, 0, fit.width(), fit.height()), Qt::white);
    paintSegments(painter, fit);
    paintExtras(painter, fit);
}

// Consecutive segments of one colour and style go into one polyline.
void ToolpathRenderer::paintSegments(QPainter& painter, const ToolpathFit& fit) const {
    const CutDataSet& data = model_.data();
    ToolpathColouring colouring(data, style_);
    QPolygonF run;
    std::uint32_t runColour = 0;
    bool runRapid = false;
    const auto flush = [&] {
        if (run.size() > 1) {
            painter.setPen(segmentPen(runColour, runRapid));
            painter.drawPolyline(run);
        }
        run.clear();
    };
    model_.forEachRecord(
        0, model_.count(), [&](std::uint32_t i, const ToolpathModel::Start* start) {
            const std::uint32_t colour = colouring.colourOf(i);
            const bool rapid = colouring.isRapid(i);
            if (!model_.drawn(i)) {
                flush();
                return;
            }
            if (start || colour != runColour || rapid != runRapid) {
                const QPointF from =
                    run.empty() || start ? mapped(fit, *model_.startOf(i)) : run.back();
                flush();
                run.append(from);
                runColour = colour;
                runRapid = rapid;
            } else if (run.empty()) {
                run.append(mapped(fit, *model_.startOf(i)));
            }
            run.append(mapped(fit, pointOf(data.records[i])));
        });
    flush();
}

void ToolpathRenderer::paintExtras(QPainter& painter, const ToolpathFit& fit) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintMark(painter, fit);
    paintTriad(painter, fit);
    if (style_.mode == ToolpathColourMode::FeedChange)
        paintChangeBar(painter, fit);
    else if (style_.mode != ToolpathColourMode::Chart)
        paintColourBar(painter, fit);
}

// The marked record's segment three pixels wide and a cross at its end point.
void ToolpathRenderer::paintMark(QPainter& painter, const ToolpathFit& fit) const {
    if (!marks_.marked || *marks_.marked >= model_.count())
        return;
    const std::uint32_t i = *marks_.marked;
    const PathPoint end = pointOf(model_.data().records[i]);
    if (!isFinite(end))
        return;
    const QPointF at = mapped(fit, end);
    if (model_.drawn(i)) {
        painter.setPen(QPen(Qt::black, 3.0));
        painter.drawLine(mapped(fit, *model_.startOf(i)), at);
    }
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawLine(at + QPointF(-6, -6), at + QPointF(6, 6));
    painter.drawLine(at + QPointF(-6, 6), at + QPointF(6, -6));
}

// X red, Y green, Z blue, as the view turns them.
void ToolpathRenderer::paintTriad(QPainter& painter, const ToolpathFit& fit) const {
    const ToolpathView& view = fit.view();
    const QPointF origin(kTriadLength + 8.0, fit.height() - kTriadLength - 8.0);
    const struct {
        double x, y, z;
        Qt::GlobalColor colour;
        const char* name;
    } axes[] = {{1, 0, 0, Qt::red, "X"}, {0, 1, 0, Qt::darkGreen, "Y"}, {0, 0, 1, Qt::blue, "Z"}};
    for (const auto& axis : axes) {
        const QPointF tip = origin + QPointF(view.a(axis.x, axis.y, axis.z) * kTriadLength,
                                             -view.b(axis.x, axis.y, axis.z) * kTriadLength);
        painter.setPen(QPen(axis.colour, 1.0));
        painter.drawLine(origin, tip);
        const QPointF away = tip - origin;
        const double length = std::hypot(away.x(), away.y());
        if (length > 4.0)
            painter.drawText(tip + away / length * 6.0 - QPointF(3.0, -4.0), axis.name);
    }
}

// The viridis map from 0 at the bottom to the maximum at the top, at the right edge.
void ToolpathRenderer::paintColourBar(QPainter& painter, const ToolpathFit& fit) const {
    const float maximum = ToolpathColouring(model_.data(), style_).maximum();
    const int height = fit.height() / 2;
    const int left = fit.width() - 16;
    const int top = (fit.height() - height) / 2;
    for (int row = 0; row < height; ++row) {
        const int level = height > 1 ? (height - 1 - row) * 255 / (height - 1) : 255;
        painter.setPen(colourOf(ViridisColour(level)));
        painter.drawLine(left, top + row, left + 9, top + row);
    }
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString high = QString::number(static_cast<double>(maximum), 'g', 4);
    painter.drawText(left + 10 - metrics.horizontalAdvance(high), top - 4, high);
    painter.drawText(left + 10 - metrics.horizontalAdvance("0"), top + height + metrics.ascent(),
                     "0");
}

// The feed change's map from -extent at the bottom through 0 in the middle to +extent at the top,
// at the right edge, with its title above it and its ends and middle labelled. Its rows are odd in
// number, so that the middle one is the unchanged colour.
void ToolpathRenderer::paintChangeBar(QPainter& painter, const ToolpathFit& fit) const {
    const float extent = ToolpathColouring(model_.data(), style_).maximum();
    const int height = fit.height() / 4 * 2 + 1;
    const int left = fit.width() - 16;
    const int top = (fit.height() - height) / 2;
    for (int row = 0; row < height; ++row) {
        const float share =
            height > 1 ? 1.0f - 2.0f * static_cast<float>(row) / static_cast<float>(height - 1)
                       : 1.0f;
        painter.setPen(colourOf(FeedChangeColour(share * extent, extent)));
        painter.drawLine(left, top + row, left + 9, top + row);
    }
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const auto rightAligned = [&](const QString& text, int y) {
        painter.drawText(left - 2 - metrics.horizontalAdvance(text), y, text);
    };
    const QString magnitude = QString::number(static_cast<double>(extent), 'g', 4);
    rightAligned("+" + magnitude, top + metrics.ascent() / 2);
    rightAligned("0", top + height / 2 + metrics.ascent() / 2);
    rightAligned("-" + magnitude, top + height + metrics.ascent() / 2);
    const QString title = QString::fromStdString(style_.changeTitle);
    painter.drawText(left + 10 - metrics.horizontalAdvance(title), top - metrics.descent() - 4,
                     title);
}
