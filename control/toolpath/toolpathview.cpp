#include "toolpathview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Angles {
    double azimuth;
    double elevation;
};

// Top: X right, Y up; Front: X right, Z up; Right: Y right, Z up; Iso from (1, -1, 1).
Angles anglesOf(ToolpathViewKind kind) {
    switch (kind) {
    case ToolpathViewKind::Top:
        return {-90.0, 90.0};
    case ToolpathViewKind::Front:
        return {-90.0, 0.0};
    case ToolpathViewKind::Right:
        return {0.0, 0.0};
    case ToolpathViewKind::Iso:
        break;
    }
    return {-45.0, std::atan(1.0 / std::sqrt(2.0)) * 180.0 / std::numbers::pi};
}

// The sine and cosine of a whole number of right angles are exact.
void sinCos(double degrees, double& sine, double& cosine) {
    const double quarter = degrees / 90.0;
    if (quarter == std::round(quarter)) {
        const int k = static_cast<int>(((static_cast<long>(quarter) % 4) + 4) % 4);
        const double s[4] = {0.0, 1.0, 0.0, -1.0};
        sine = s[k];
        cosine = s[(k + 1) % 4];
        return;
    }
    const double radians = degrees * std::numbers::pi / 180.0;
    sine = std::sin(radians);
    cosine = std::cos(radians);
}

} // namespace

std::optional<ToolpathViewKind> ToolpathViewKindOf(std::string_view name) {
    if (name == "top")
        return ToolpathViewKind::Top;
    if (name == "front")
        return ToolpathViewKind::Front;
    if (name == "right")
        return ToolpathViewKind::Right;
    if (name == "iso")
        return ToolpathViewKind::Iso;
    return std::nullopt;
}

ToolpathView::ToolpathView(ToolpathViewKind kind)
    : ToolpathView(anglesOf(kind).azimuth, anglesOf(kind).elevation) {}

// The eye direction is (cos e cos a, cos e sin a, sin e); right is Z x eye made unit, (-sin a,
// cos a, 0), and up is eye x right.
ToolpathView::ToolpathView(double azimuth, double elevation)
    : azimuth_(azimuth), elevation_(elevation) {
    double sa, ca, se, ce;
    sinCos(azimuth, sa, ca);
    sinCos(elevation, se, ce);
    right_[0] = -sa;
    right_[1] = ca;
    right_[2] = 0.0;
    up_[0] = -se * ca;
    up_[1] = -se * sa;
    up_[2] = ce;
}

ToolpathView ToolpathView::orbited(double degrees, double tilt) const {
    const double azimuth = std::remainder(azimuth_ + degrees, 360.0);
    return ToolpathView(azimuth, std::clamp(elevation_ + tilt, -90.0, 90.0));
}
