#include "toolpathraster.h"

#include <cmath>
#include <cstdlib>

void ToolpathRaster::line(int x0, int y0, int x1, int y1, std::uint32_t colour, bool dashed) {
    if (x0 == x1 && y0 == y1) {
        plot(x0, y0, colour);
        return;
    }
    const bool inside = x0 >= 0 && x1 >= 0 && y0 >= 0 && y1 >= 0 && x0 < width_ && x1 < width_ &&
                        y0 < height_ && y1 < height_;
    if (!inside && !clip(x0, y0, x1, y1))
        return;
    bresenham(x0, y0, x1, y1, colour, dashed);
}

// Liang and Barsky's clip to the image's pixel centres; false when nothing is left.
bool ToolpathRaster::clip(int& x0, int& y0, int& x1, int& y1) const {
    const double dx = static_cast<double>(x1) - x0;
    const double dy = static_cast<double>(y1) - y0;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {static_cast<double>(x0), width_ - 1.0 - x0, static_cast<double>(y0),
                         height_ - 1.0 - y0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0 ? t > t1 : t < t0)
            return false;
        if (p[k] < 0.0 && t > t0)
            t0 = t;
        else if (p[k] > 0.0 && t < t1)
            t1 = t;
    }
    const double sx = x0, sy = y0;
    x0 = static_cast<int>(std::lround(sx + t0 * dx));
    y0 = static_cast<int>(std::lround(sy + t0 * dy));
    x1 = static_cast<int>(std::lround(sx + t1 * dx));
    y1 = static_cast<int>(std::lround(sy + t1 * dy));
    return true;
}

void ToolpathRaster::bresenham(int x0, int y0, int x1, int y1, std::uint32_t colour, bool dashed) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (int k = 0;; ++k) {
        if (!dashed || (k / 3) % 2 == 0)
            plot(x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}
