#pragma once

#include <cstdint>

// 1-pixel lines into 32-bit pixels: Bresenham's line between two pixel positions, both ends
// drawn, clipped to the image. A dashed line draws 3 pixels and leaves 3, counted from its start.
class ToolpathRaster {
public:
    // `stride` is the distance of two rows in pixels.
    ToolpathRaster(std::uint32_t* pixels, int width, int height, int stride)
        : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

    void line(int x0, int y0, int x1, int y1, std::uint32_t colour, bool dashed);
    void plot(int x, int y, std::uint32_t colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[static_cast<long>(y) * stride_ + x] = colour;
    }

private:
    bool clip(int& x0, int& y0, int& x1, int& y1) const;
    void bresenham(int x0, int y0, int x1, int y1, std::uint32_t colour, bool dashed);

    std::uint32_t* pixels_;
    int width_;
    int height_;
    int stride_;
};
