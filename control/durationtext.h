#pragma once

#include <cmath>
#include <cstdio>
#include <string>

// A time in seconds as h:mm:ss.s ("0:19:36.2"), rounded to tenths; a minus sign before a
// negative time. A value that is not finite is printed as the C library prints it.
inline std::string DurationText(double seconds) {
    char text[64];
    if (!std::isfinite(seconds) || std::fabs(seconds) >= 3.6e15) {
        std::snprintf(text, sizeof text, "%g", seconds);
        return text;
    }
    const long long tenths = std::llround(std::fabs(seconds) * 10.0);
    const bool negative = seconds < 0.0 && tenths > 0;
    std::snprintf(text, sizeof text, "%s%lld:%02lld:%02lld.%lld", negative ? "-" : "",
                  tenths / 36000, tenths / 600 % 60, tenths / 10 % 60, tenths % 10);
    return text;
}
