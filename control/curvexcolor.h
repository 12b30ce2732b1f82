#pragma once

#include <QColor>

#include <cstdint>

// The control's colour value (a colour reference: red in the low byte, then green, then blue,
// 0x00BBGGRR) and QColor, both ways. The high byte is ignored.
namespace curvex {

inline QColor toQColor(std::uint32_t colorRef) {
    return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                  static_cast<int>((colorRef >> 16) & 0xFF));
}

inline std::uint32_t toColorRef(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

} // namespace curvex
