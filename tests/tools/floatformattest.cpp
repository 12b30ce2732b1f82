#include "floatformat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::string printed(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string formatted(float value) {
    char text[kMostFloat9gBytes + 1];
    char* const end = FormatFloat9g(value, text);
    return {text, end};
}

// Values at every turn of the layout and the rounding: both sides of each power of ten, the
// exponent limits of fixed notation, ties that round to even on the ninth digit, values whose
// rounding carries into a tenth digit, the slow path's ranges and the non-finite values.
TEST(FloatFormat, WritesWhatPrintfWritesAtEveryTurn) {
    std::vector<float> values = {0.0f,
                                 -0.0f,
                                 1.0f,
                                 -1.0f,
                                 0.5f,
                                 0.1f,
                                 1e-5f,
                                 1e-4f,
                                 9.99999e-5f,
                                 123456789.0f,
                                 999999999.0f,
                                 1e9f,
                                 4294967040.0f,
                                 16777216.0f,
                                 16777217.0f,
                                 3.14159274f,
                                 1e-23f,
                                 1e-24f,
                                 std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::min(),
                                 std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN()};
    for (int x = -45; x <= 38; ++x) {
        const auto power = static_cast<float>(std::pow(10.0, x));
        for (float v = power, k = 0; k < 3; ++k, v = std::nextafter(v, 0.0f))
            values.push_back(v);
        for (float v = power, k = 0; k < 3; ++k, v = std::nextafter(v, kInfinity))
            values.push_back(-v);
    }
    for (const float value : values)
        EXPECT_EQ(formatted(value), printed(value))
            << "bits " << std::bit_cast<std::uint32_t>(value);
}

// Every 8191st bit pattern of a float (about half a million values of every sign and exponent), and
// every float of [2^26, 2^26 + 4096) and of [1000, 1000.5), where nine digits cut into the value.
TEST(FloatFormat, WritesWhatPrintfWritesAcrossAllFloats) {
    int mismatches = 0;
    const auto check = [&](float value) {
        if (formatted(value) != printed(value) && ++mismatches <= 10)
            ADD_FAILURE() << printed(value) << " written as " << formatted(value);
    };
    for (std::uint64_t bits = 0; bits <= 0xffffffffu; bits += 8191)
        check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    for (float v = 67108864.0f; v < 67108864.0f + 4096.0f; v = std::nextafter(v, kInfinity))
        check(v);
    for (float v = 1000.0f; v < 1000.5f; v = std::nextafter(v, kInfinity))
        check(v);
    EXPECT_EQ(mismatches, 0);
}

} // namespace
