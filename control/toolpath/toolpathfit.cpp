#include "toolpathfit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void add(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    double centre() const { return (low + high) / 2.0; }
    double width() const { return high > low ? high - low : 1.0; }
};

} // namespace

ToolpathFit::ToolpathFit(const PathBox& box, const ToolpathView& view, int width, int height,
                         const ToolpathZoom& zoom)
    : view_(view), width_(width), height_(height), zoom_(zoom) {
    margin_ = static_cast<int>(std::lround(0.05 * std::min(width, height)));
    fit(box);
}

// The box's corners seen from the view give its extent in the view's axes.
void ToolpathFit::fit(const PathBox& box) {
    Extent a, b;
    if (box.empty) {
        a.add(0.0);
        b.add(0.0);
    }
    for (int corner = 0; corner < 8 && !box.empty; ++corner) {
        const double x = corner & 1 ? box.high.x : box.low.x;
        const double y = corner & 2 ? box.high.y : box.low.y;
        const double z = corner & 4 ? box.high.z : box.low.z;
        a.add(view_.a(x, y, z));
        b.add(view_.b(x, y, z));
    }
    a0_ = a.centre();
    b0_ = b.centre();
    fitScale_ =
        std::min((width_ - 2.0 * margin_) / a.width(), (height_ - 2.0 * margin_) / b.width());
    scale_ = fitScale_ * zoom_.factor;
    centreX_ = width_ / 2.0 + zoom_.panX;
    centreY_ = height_ / 2.0 + zoom_.panY;
}

ToolpathFit ToolpathFit::zoomedAbout(double factor, double x, double y) const {
    ToolpathFit zoomed = *this;
    zoomed.zoom_.factor *= factor;
    zoomed.zoom_.panX = x - (x - centreX_) * factor - width_ / 2.0;
    zoomed.zoom_.panY = y - (y - centreY_) * factor - height_ / 2.0;
    zoomed.scale_ = fitScale_ * zoomed.zoom_.factor;
    zoomed.centreX_ = width_ / 2.0 + zoomed.zoom_.panX;
    zoomed.centreY_ = height_ / 2.0 + zoomed.zoom_.panY;
    return zoomed;
}

ToolpathFit ToolpathFit::panned(double dx, double dy) const {
    ToolpathFit moved = *this;
    moved.zoom_.panX += dx;
    moved.zoom_.panY += dy;
    moved.centreX_ += dx;
    moved.centreY_ += dy;
    return moved;
}
