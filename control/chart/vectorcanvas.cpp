#include "vectorcanvas.h"

#include "curvexcolor.h"
#include "settingstext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace {

QPointF pixelCentre(QPointF pixel) {
    return pixel + QPointF(0.5, 0.5);
}

// Cuts the segment from..to down to its part inside `area`; false when nothing is left.
bool clipSegment(QPointF& from, QPointF& to, const QRectF& area) {
    double enter = 0.0;
    double leave = 1.0;
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.x() - area.left(), area.right() - from.x(), from.y() - area.top(),
                         area.bottom() - from.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return false;
    const QPointF start = from;
    from = start + QPointF(dx * enter, dy * enter);
    to = start + QPointF(dx * leave, dy * leave);
    return true;
}

QPainterPath rectPath(const QRectF& rect) {
    QPainterPath path;
    path.addRect(rect);
    return path;
}

// One chart pixel, but never thinner than one pixel of the device: a chart scaled down onto an
// image keeps every line.
double penWidthFor(const QPainter& painter) {
    const QTransform toDevice = painter.deviceTransform();
    const double scale = std::min(std::hypot(toDevice.m11(), toDevice.m12()),
                                  std::hypot(toDevice.m21(), toDevice.m22()));
    return scale > 0.0 ? std::max(1.0, 1.0 / scale) : 1.0;
}

} // namespace

VectorCanvas::VectorCanvas(QPainter& painter, int width, int height)
    : painter_(painter), bounds_(0, 0, std::max(width, 0), std::max(height, 0)), clip_(bounds_),
      penWidth_(penWidthFor(painter)) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(QBrush(Qt::white));
}

VectorCanvas::~VectorCanvas() {
    flushLines();
    painter_.restore();
}

void VectorCanvas::setClipRect(int left, int top, int right, int bottom) {
    clip_ = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized().intersected(bounds_);
    if (right <= left || bottom <= top)
        clip_ = QRectF();
}

void VectorCanvas::selectPen(ColorRef colour) {
    const QColor next = curvex::toQColor(colour);
    if (next == pen_)
        return;
    flushLines();
    pen_ = next;
}

void VectorCanvas::selectBrush(ColorRef colour) {
    brush_ = curvex::toQColor(colour);
}

void VectorCanvas::selectFont(int height, TextDirection direction) {
    direction_ = direction;
    face_.reset();
    if (height / 2 > 0)
        face_ = ChartFace::forCellHeight(height);
}

void VectorCanvas::moveTo(int x, int y) {
    current_ = QPointF(x, y);
}

void VectorCanvas::lineTo(int x, int y) {
    const QPointF from = current_;
    current_ = QPointF(x, y);
    if (from != current_)
        addSegment(pixelCentre(from), pixelCentre(current_));
}

void VectorCanvas::addSegment(QPointF from, QPointF to) {
    if (clip_.isEmpty() || !clipSegment(from, to, clip_))
        return;
    if (!linesEnd_ || *linesEnd_ != from) {
        lines_.moveTo(from);
        subpathStart_ = from;
    }
    if (to == subpathStart_)
        lines_.closeSubpath();
    else
        lines_.lineTo(to);
    linesEnd_ = to;
}

QPen VectorCanvas::linePen() const {
    return QPen(pen_, penWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

void VectorCanvas::flushLines() {
    linesEnd_.reset();
    if (lines_.isEmpty())
        return;
    painter_.strokePath(lines_, linePen());
    lines_ = QPainterPath();
}

void VectorCanvas::rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return;
    flushLines();
    const QRectF inside = QRectF(QPointF(left, top), QPointF(right, bottom)).intersected(clip_);
    if (!inside.isEmpty())
        painter_.fillRect(inside, brush_);
    const QPointF saved = current_;
    traceOutline(left, top, right, bottom);
    current_ = saved;
    flushLines();
}

// The outline is a pen-wide ring just inside the rectangle's edges, the inside is the brush.
// Under a clip smaller than the rectangle both are cut to the clip as areas.
void VectorCanvas::ellipse(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top || clip_.isEmpty())
        return;
    flushLines();
    const QRectF outer(QPointF(left, top), QPointF(right, bottom));
    const double inset = penWidth_ / 2;
    const QRectF centreLine = outer.adjusted(inset, inset, -inset, -inset);
    painter_.save();
    if (clip_.contains(outer)) {
        painter_.setPen(QPen(pen_, penWidth_));
        painter_.setBrush(brush_);
        painter_.drawEllipse(centreLine);
    } else {
        QPainterPath shape;
        shape.addEllipse(centreLine);
        QPainterPathStroker stroker;
        stroker.setWidth(penWidth_);
        const QPainterPath clip = rectPath(clip_);
        painter_.fillPath(shape.intersected(clip), brush_);
        painter_.fillPath(stroker.createStroke(shape).intersected(clip), pen_);
    }
    painter_.restore();
}

void VectorCanvas::textOut(int x, int y, const std::string& text) {
    if (!face_ || text.empty())
        return;
    flushLines();
    const QString shown =
        settingsText(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    const QFont font = face_->unstretchedFont();
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    painter_.translate(x, y);
    if (direction_ == TextDirection::Upward)
        painter_.rotate(-90.0);
    painter_.scale(face_->stretch / 100.0, 1.0);
    painter_.drawText(QPointF(0, QFontMetrics(font).ascent()), shown);
    painter_.restore();
}
