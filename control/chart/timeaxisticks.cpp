#include "timeaxisticks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::array<float, 15> kTimeSteps = {1.0f,   2.0f,    5.0f,    10.0f,   15.0f,
                                              30.0f,  60.0f,   120.0f,  300.0f,  600.0f,
                                              900.0f, 1800.0f, 3600.0f, 7200.0f, 18000.0f};

} // namespace

float NiceTimeStep(float a, float b) {
    const float half = (b - a) * 0.5f;
    const auto above = std::upper_bound(kTimeSteps.begin() + 1, kTimeSteps.end(), half);
    if (above == kTimeSteps.end())
        return kTimeSteps.back();
    const std::size_t k = static_cast<std::size_t>(above - kTimeSteps.begin());
    const float s = kTimeSteps[k - 1];
    const double n = std::floor(b / s) - std::ceil(a / s);
    if (n >= 2.0 || k == 1)
        return s;
    return kTimeSteps[k - 2];
}

std::string ClockLabel(float seconds) {
    const long long whole = std::llround(std::max(0.0, static_cast<double>(seconds)));
    char text[48];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}
