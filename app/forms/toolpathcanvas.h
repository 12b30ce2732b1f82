#pragma once

#include "curvexids.h"

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

class ToolpathProxy;

// The toolpath as the graph control draws it, at the widget's size: left drag orbits, right or
// middle drag pans, the wheel zooms about the pointer, Home fits, T, F, R and I choose the views;
// a click picks the nearest segment within 8 pixels (the control then marks its record in the
// chart and shows its read-out). While a drag goes on, and for a moment after a wheel step, the
// control draws a draft of the path, which the whole one replaces once the view rests.
class ToolpathCanvas : public QWidget {
    Q_OBJECT
public:
    ToolpathCanvas(ToolpathProxy& toolpath, QWidget* parent);

    // Redraws after the chart, the mark or the data changed.
    void refresh() { update(); }
    void showView(curvex::ToolpathViewKind view);
    // The picture as last drawn.
    const QImage& picture() const { return mPicture; }
    // Whether the next picture is a draft: during a drag and just after a wheel step.
    bool drawsDraft() const { return mDragged || mWheelRest.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ToolpathProxy& mToolpath;
    QImage mPicture;
    QPoint mPressed;
    QPoint mLast;
    bool mDragged = false;
    // Runs from a wheel step until the view rests.
    QTimer mWheelRest;
};
