#include "gdicanvas.h"

#include "chartfont.h"
#include "curvexcolor.h"
#include "settingstext.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

__extension__ using Wide = __int128;

Wide floorDiv(Wide numerator, Wide denominator) {
    const Wide quotient = numerator / denominator;
    return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1
                                                                                  : quotient;
}

Wide ceilDiv(Wide numerator, Wide denominator) {
    return -floorDiv(-numerator, denominator);
}

std::int64_t sign(std::int64_t value) {
    return (value > 0) - (value < 0);
}

} // namespace

// Pixels are written as 32-bit words, so any other format is converted first.
QImage& GdiCanvas::inRgb32(QImage& image) {
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    return image;
}

GdiCanvas::GdiCanvas(QImage& image)
    : image_(inRgb32(image)), painter_(&image), bits_(image.bits()),
      bytesPerLine_(image.bytesPerLine()), width_(image.width()), height_(image.height()),
      clip_(image.rect()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(QBrush(Qt::white));
}

GdiCanvas::~GdiCanvas() {
    painter_.end();
}

void GdiCanvas::setClipRect(int left, int top, int right, int bottom) {
    clip_ = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(image_.rect());
    painter_.setClipRect(clip_);
}

void GdiCanvas::selectPen(ColorRef colour) {
    const QColor qcolour = curvex::toQColor(colour);
    pen_ = qcolour.rgb();
    QPen pen(qcolour, 0);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
}

void GdiCanvas::selectBrush(ColorRef colour) {
    const QColor qcolour = curvex::toQColor(colour);
    brush_ = qcolour.rgb();
    painter_.setBrush(qcolour);
}

void GdiCanvas::selectFont(int height, TextDirection direction) {
    hasFont_ = height / 2 > 0;
    direction_ = direction;
    if (hasFont_)
        painter_.setFont(ChartFace::forCellHeight(height).font());
}

void GdiCanvas::moveTo(int x, int y) {
    current_ = {x, y};
}

void GdiCanvas::lineTo(int x, int y) {
    const Point from = current_;
    current_ = {x, y};
    if (from.x != x || from.y != y)
        drawLine(from, current_);
}

QRgb* GdiCanvas::pixelAt(std::int64_t x, std::int64_t y) {
    return reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_) + x;
}

// Pixel t of a line (0 <= t < the longer extent) lies t steps along the longer axis and
// round(t * shorter / longer) steps along the shorter one, halves rounded away from the start.
// Only the steps whose pixel lies inside the clip rectangle are visited.
void GdiCanvas::drawLine(Point from, Point to) {
    if (clip_.isEmpty())
        return;
    const bool xMajor = std::abs(to.x - from.x) >= std::abs(to.y - from.y);
    const std::int64_t m1 = xMajor ? from.x : from.y;
    const std::int64_t n1 = xMajor ? from.y : from.x;
    const std::int64_t dm = (xMajor ? to.x : to.y) - m1;
    const std::int64_t dn = (xMajor ? to.y : to.x) - n1;
    const std::int64_t step_ = sign(dm);
    const std::int64_t nStep = sign(dn);
    const std::int64_t length = std::abs(dm);
    const std::int64_t rise = std::abs(dn);
    const std::int64_t low_ = xMajor ? clip_.left() : clip_.top();
    const std::int64_t high_ = xMajor ? clip_.right() : clip_.bottom();
    const std::int64_t nLow = xMajor ? clip_.top() : clip_.left();
    const std::int64_t nHigh = xMajor ? clip_.bottom() : clip_.right();

    // Steps whose major coordinate is inside the clip.
    Wide first = step_ > 0 ? low_ - m1 : m1 - high_;
    Wide last = step_ > 0 ? high_ - m1 : m1 - low_;
    first = std::max<Wide>(first, 0);
    last = std::min<Wide>(last, length - 1);

    // Steps whose minor offset lies in offLow..offHigh, the clip seen from the start.
    const Wide offLow = nStep >= 0 ? nLow - n1 : n1 - nHigh;
    const Wide offHigh = nStep >= 0 ? nHigh - n1 : n1 - nLow;
    const Wide twiceLength = 2 * static_cast<Wide>(length);
    if (rise == 0) {
        if (offLow > 0 || offHigh < 0)
            return;
    } else {
        first = std::max(first, ceilDiv(2 * offLow * length - length, 2 * static_cast<Wide>(rise)));
        last = std::min(
            last, ceilDiv(2 * (offHigh + 1) * length - length, 2 * static_cast<Wide>(rise)) - 1);
    }
    if (first > last)
        return;

    // Walk from the first visible pixel with pointer steps along both axes.
    const Wide start = 2 * first * rise + length;
    const auto offset = static_cast<std::int64_t>(start / twiceLength);
    auto remainder = static_cast<std::int64_t>(start % twiceLength);
    const std::int64_t m = m1 + step_ * static_cast<std::int64_t>(first);
    const std::int64_t n = n1 + nStep * offset;
    const std::ptrdiff_t stride = bytesPerLine_ / static_cast<qsizetype>(sizeof(QRgb));
    const std::ptrdiff_t majorStep = xMajor ? step_ : step_ * stride;
    const std::ptrdiff_t minorStep = xMajor ? nStep * stride : nStep;
    QRgb* pixel = xMajor ? pixelAt(m, n) : pixelAt(n, m);
    const std::int64_t twiceRise = 2 * rise;
    const std::int64_t wrap = 2 * length;
    const QRgb colour = pen_;
    for (auto count = static_cast<std::int64_t>(last - first) + 1; count > 0; --count) {
        *pixel = colour;
        pixel += majorStep;
        remainder += twiceRise;
        if (remainder >= wrap) {
            remainder -= wrap;
            pixel += minorStep;
        }
    }
}

void GdiCanvas::rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    painter_.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), painter_.brush());
    const Point saved = current_;
    traceOutline(left, top, right, bottom);
    current_ = saved;
}

// The ellipse is the set of pixels whose centres lie within the ellipse inscribed in the
// rectangle; its pixels with a neighbour outside that set form the outline.
void GdiCanvas::ellipse(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    const double cx = (left + right - 1) * 0.5;
    const double cy = (top + bottom - 1) * 0.5;
    const double rx = (right - left) * 0.5;
    const double ry = (bottom - top) * 0.5;
    struct Span {
        int from = 0;
        int to = -1;
        bool contains(int x) const { return x >= from && x <= to; }
    };
    std::vector<Span> rows(static_cast<std::size_t>(bottom - top) + 2);
    for (int y = top; y < bottom; ++y) {
        const double dy = (y - cy) / ry;
        const double half = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        rows[static_cast<std::size_t>(y - top) + 1] = {static_cast<int>(std::ceil(cx - half)),
                                                       static_cast<int>(std::floor(cx + half))};
    }
    const int yFrom = std::max(top, clip_.top());
    const int yTo = std::min(bottom - 1, clip_.bottom());
    for (int y = yFrom; y <= yTo; ++y) {
        const std::size_t row = static_cast<std::size_t>(y - top) + 1;
        const Span span = rows[row];
        const int xFrom = std::max(span.from, clip_.left());
        const int xTo = std::min(span.to, clip_.right());
        for (int x = xFrom; x <= xTo; ++x) {
            const bool edge = x == span.from || x == span.to || !rows[row - 1].contains(x) ||
                              !rows[row + 1].contains(x);
            *pixelAt(x, y) = edge ? pen_ : brush_;
        }
    }
}

void GdiCanvas::textOut(int x, int y, const std::string& text) {
    if (!hasFont_ || text.empty())
        return;
    const QString shown =
        settingsText(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    const int ascent = painter_.fontMetrics().ascent();
    const QPen pen = painter_.pen();
    painter_.setPen(Qt::black);
    if (direction_ == TextDirection::Upward) {
        painter_.save();
        painter_.translate(x, y);
        painter_.rotate(-90.0);
        painter_.drawText(0, ascent, shown);
        painter_.restore();
    } else {
        painter_.drawText(x, y + ascent, shown);
    }
    painter_.setPen(pen);
}
