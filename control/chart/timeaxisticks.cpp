#include "timeaxisticks.h"

#include "graphrenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// Beyond 5 h the hours go on by 1, 2, 5 times their powers of ten: a job of hundreds of hours in
// 5 h steps would crowd the axis with labels written over each other.
constexpr std::array<float, 27> kTimeSteps = {
    1.0f,      2.0f,      5.0f,    10.0f,   15.0f,   30.0f,    60.0f,    120.0f,   300.0f,
    600.0f,    900.0f,    1800.0f, 3600.0f, 7200.0f, 18000.0f, 36000.0f, 72000.0f, 180000.0f,
    360000.0f, 720000.0f, 1.8e6f,  3.6e6f,  7.2e6f,  1.8e7f,   3.6e7f,   7.2e7f,   1.8e8f};

} // namespace

float NiceTimeStep(float a, float b) {
    return NiceStepOf(kTimeSteps, a, b);
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
