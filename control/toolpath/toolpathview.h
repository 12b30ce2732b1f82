#pragma once

#include "curvexids.h"

#include <optional>
#include <string_view>

// The four views that one key or button each gives.
using ToolpathViewKind = curvex::ToolpathViewKind;

// The names of the views as the command line takes them: top, front, right, iso.
std::optional<ToolpathViewKind> ToolpathViewKindOf(std::string_view name);

// A direction from which the part is seen, orthographically, with Z up: the eye lies at azimuth
// `azimuth` (degrees from +X towards +Y) and elevation `elevation` (degrees above the XY plane).
// `right` and `up` are the unit vectors of the image's first and second axes in model space.
class ToolpathView {
public:
    explicit ToolpathView(ToolpathViewKind kind = ToolpathViewKind::Iso);
    ToolpathView(double azimuth, double elevation);

    double azimuth() const { return azimuth_; }
    double elevation() const { return elevation_; }
    const double* right() const { return right_; }
    const double* up() const { return up_; }

    // The image axes of a point: a to the right, b up.
    double a(double x, double y, double z) const {
        return right_[0] * x + right_[1] * y + right_[2] * z;
    }
    double b(double x, double y, double z) const { return up_[0] * x + up_[1] * y + up_[2] * z; }

    // The same view turned about Z by `degrees` and tilted by `tilt` degrees (kept from -90 to 90).
    ToolpathView orbited(double degrees, double tilt) const;

private:
    double azimuth_;
    double elevation_;
    double right_[3];
    double up_[3];
};
