#include "toolpathcanvas.h"

#include "surfaceregistry.h"
#include "toolpathproxy.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace {

// Degrees of orbit per pixel dragged; a drag starts beyond this many pixels.
constexpr float kDegreesPerPixel = 0.5f;
constexpr int kDragStart = 3;
// After a wheel step, how long the view waits for the next before it draws the whole path.
constexpr int kWheelRestMs = 200;

} // namespace

ToolpathCanvas::ToolpathCanvas(ToolpathProxy& toolpath, QWidget* parent)
    : QWidget(parent), mToolpath(toolpath) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
    mWheelRest.setSingleShot(true);
    mWheelRest.setInterval(kWheelRestMs);
    connect(&mWheelRest, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void ToolpathCanvas::showView(curvex::ToolpathViewKind view) {
    mToolpath.setView(view);
    update();
}

void ToolpathCanvas::paintEvent(QPaintEvent*) {
    if (mPicture.size() != size())
        mPicture = QImage(size(), QImage::Format_RGB32);
    const component::SurfaceRegistry::Entry surface(&mPicture);
    const auto drawn = drawsDraft() ? mToolpath.drawDraft(surface.handle(), size())
                                    : mToolpath.draw(surface.handle(), size());
    if (!drawn.value_or(false))
        mPicture.fill(Qt::white);
    QPainter(this).drawImage(0, 0, mPicture);
}

void ToolpathCanvas::mousePressEvent(QMouseEvent* event) {
    mPressed = mLast = event->position().toPoint();
    mDragged = false;
}

void ToolpathCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->buttons() == Qt::NoButton)
        return;
    mDragged = mDragged || (at - mPressed).manhattanLength() > kDragStart;
    if (!mDragged)
        return;
    const QPoint by = at - mLast;
    mLast = at;
    if (event->buttons() & Qt::LeftButton)
        mToolpath.orbit(-by.x() * kDegreesPerPixel, by.y() * kDegreesPerPixel);
    else
        mToolpath.move(1.0f, at, by);
    update();
}

// The end of a drag draws the whole path.
void ToolpathCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (mDragged) {
        mDragged = false;
        update();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    mToolpath.pick(event->position());
    update();
}

void ToolpathCanvas::wheelEvent(QWheelEvent* event) {
    const float steps = static_cast<float>(event->angleDelta().y()) / 120.0f;
    mToolpath.move(std::pow(1.25f, steps), event->position(), QPointF());
    mWheelRest.start();
    update();
}

void ToolpathCanvas::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Home:
        mToolpath.move(0.0f, QPointF(), QPointF());
        break;
    case Qt::Key_T:
        mToolpath.setView(curvex::ToolpathViewKind::Top);
        break;
    case Qt::Key_F:
        mToolpath.setView(curvex::ToolpathViewKind::Front);
        break;
    case Qt::Key_R:
        mToolpath.setView(curvex::ToolpathViewKind::Right);
        break;
    case Qt::Key_I:
        mToolpath.setView(curvex::ToolpathViewKind::Iso);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}
