#pragma once

#include "toolpathmodel.h"
#include "toolpathview.h"

// How far the user zoomed and moved the fitted view: the scale's factor and a shift in pixels.
struct ToolpathZoom {
    double factor = 1.0;
    double panX = 0.0;
    double panY = 0.0;
};

// The mapping of model points to image pixels: the path's box, seen from the view, fitted into a
// W x H image. With m = round(0.05 * min(W, H)) and the box's extent in the view's two axes (1 mm
// where it is 0), s = min((W - 2m) / width, (H - 2m) / height); the box's centre goes to
// (W / 2, H / 2), the first axis to the right, the second up. The zoom scales s about the image's
// centre and then shifts the result.
class ToolpathFit {
public:
    ToolpathFit(const PathBox& box, const ToolpathView& view, int width, int height,
                const ToolpathZoom& zoom = {});

    const ToolpathView& view() const { return view_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int margin() const { return margin_; }
    double scale() const { return scale_; } // pixels per mm, zoom included

    double px(double x, double y, double z) const {
        return centreX_ + (view_.a(x, y, z) - a0_) * scale_;
    }
    double py(double x, double y, double z) const {
        return centreY_ - (view_.b(x, y, z) - b0_) * scale_;
    }

    // The same fit with the zoom changed by `factor` about the pixel (x, y).
    ToolpathFit zoomedAbout(double factor, double x, double y) const;
    ToolpathFit panned(double dx, double dy) const;
    const ToolpathZoom& zoom() const { return zoom_; }

private:
    void fit(const PathBox& box);

    ToolpathView view_;
    int width_;
    int height_;
    int margin_ = 0;
    ToolpathZoom zoom_;
    double fitScale_ = 1.0;
    double scale_ = 1.0;
    double a0_ = 0.0; // the box's centre in the view's axes
    double b0_ = 0.0;
    double centreX_ = 0.0;
    double centreY_ = 0.0;
};
