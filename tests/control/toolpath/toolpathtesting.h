#pragma once

#include "cutdatatesting.h"
#include "toolpathdrawing.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// A white picture of the path as the toolpath view draws it.
struct ToolpathPicture {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;

    // A draft with `stride` above 1.
    ToolpathPicture(const ToolpathModel& model, const ToolpathFit& fit, const ToolpathStyle& style,
                    std::uint32_t stride = 1)
        : width(fit.width()), height(fit.height()),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBackColour) {
        ToolpathRaster raster(pixels.data(), width, height, width);
        ToolpathPixels projected;
        projected.project(model, fit, style, stride);
        DrawToolpathPixels(raster, model, fit, projected, stride);
    }

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    int count(std::uint32_t colour) const {
        int n = 0;
        for (std::uint32_t pixel : pixels)
            n += pixel == colour;
        return n;
    }
};

inline ToolpathStyle chartStyle() {
    ToolpathStyle style;
    for (int n = 0; n < curvex::kCurveColours; ++n)
        style.curveColours[static_cast<std::size_t>(n)] = 0x010101u * static_cast<unsigned>(n + 1);
    style.curveColours[0] = 0x0000FF00u; // green
    style.curveColours[1] = 0x00FF0000u; // blue
    return style;
}

// A rectangle per tool: tool 1 around x 0..40, y 0..20, then tool 2 around x 50..90.
inline std::string rectanglesText() {
    std::string text;
    const auto rectangle = [&](int tool, int x0, int x1, int block) {
        text += "T" + std::to_string(tool) + "\n";
        const int corners[5][2] = {{x0, 0}, {x1, 0}, {x1, 20}, {x0, 20}, {x0, 0}};
        for (const auto& c : corners)
            text += "N" + std::to_string(block++) + ")G01X" + std::to_string(c[0]) + "Y" +
                    std::to_string(c[1]) + "Z0F600(A" + std::to_string(tool) + ")F900\n";
    };
    rectangle(1, 0, 40, 1);
    rectangle(2, 50, 90, 10);
    return text;
}

// `turns` turns of radius 10 around the Z axis, rising 2 mm a turn, 36 blocks a turn, with a
// removal that grows block by block.
inline std::string helixText(int turns) {
    std::string text = "T1\n";
    const double pi = std::acos(-1.0);
    for (int k = 0; k <= 36 * turns; ++k) {
        const double angle = k * 2.0 * pi / 36.0;
        char line[160];
        std::snprintf(line, sizeof line, "N%d)G01X%.4fY%.4fZ%.4fF600(A%.3f)F900\n", k + 1,
                      10.0 * std::cos(angle), 10.0 * std::sin(angle), 2.0 * k / 36.0, 0.01 * k);
        text += line;
    }
    return text;
}
