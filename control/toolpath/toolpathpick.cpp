#include "toolpathpick.h"

#include <cmath>
#include <limits>

namespace {

struct Mapped {
    double x = 0.0;
    double y = 0.0;
};

Mapped mapped(const ToolpathFit& fit, const PathPoint& p) {
    return {fit.px(p.x, p.y, p.z), fit.py(p.x, p.y, p.z)};
}

// The squared distance from (x, y) to the segment a..b.
double squaredDistance(const Mapped& a, const Mapped& b, double x, double y) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0.0 ? ((x - a.x) * dx + (y - a.y) * dy) / length : 0.0;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    const double ex = a.x + t * dx - x;
    const double ey = a.y + t * dy - y;
    return ex * ex + ey * ey;
}

} // namespace

std::optional<std::uint32_t> PickToolpathSegment(const ToolpathModel& model, const ToolpathFit& fit,
                                                 double x, double y) {
    const CutDataSet& data = model.data();
    double best = kPickReach * kPickReach;
    std::optional<std::uint32_t> picked;
    Mapped previous;
    model.forEachRecord(0, model.count(), [&](std::uint32_t i, const ToolpathModel::Start* start) {
        const Mapped end = mapped(fit, pointOf(data.records[i]));
        Mapped from = previous;
        previous = end;
        if (start && start->point)
            from = mapped(fit, *start->point);
        if (!model.drawn(i))
            return;
        const double distance = squaredDistance(from, end, x, y);
        if (distance < best || (distance == best && !picked)) {
            best = distance;
            picked = i;
        }
    });
    return picked;
}
