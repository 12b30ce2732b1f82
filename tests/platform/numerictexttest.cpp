#include "numerictext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// How a text reads as a float, by the rule: beyond the largest float once rounded to the
// nearest is too large, a non-zero value that rounds to 0 too small, a value in between (a
// subnormal one too) is read. Decided here in long double precision.
NumberReading floatReadingByRule(const std::string& text) {
    const long double wide = std::strtold(text.c_str(), nullptr);
    // Half a unit in the last place above FLT_MAX rounds to infinity; half the least
    // subnormal and below round to 0.
    const long double largest =
        static_cast<long double>(FLT_MAX) + std::ldexp(static_cast<long double>(1), 127 - 24);
    const long double smallest = std::ldexp(static_cast<long double>(1), -150);
    if (std::fabs(wide) >= largest)
        return NumberReading::TooLarge;
    if (wide != 0 && std::fabs(wide) <= smallest)
        return NumberReading::TooSmall;
    return NumberReading::Read;
}

TEST(NumericText, FloatTextsBeyondTheRangeSayWhichWay) {
    const char* const numbers[] = {
        "0",
        "-0",
        "1",
        "-2.5e3",
        "3.4028234e38",
        "3.4028236e38",
        "-3.5e38",
        "1e39",
        "1e100",
        "-1e308",
        "1e400",
        "1e-30",
        "1e-38",
        "1e-40",
        "1.5e-45",
        "7e-46",
        "1e-46",
        "-1e-100",
        "1e-300",
        "1e-400",
        "0e999",
        "0.000e-999",
        "123456789012345678901234567890",
    };
    for (const char* text : numbers) {
        float value = -7.0f;
        const NumberReading reading = ReadFloatText(text, value);
        EXPECT_EQ(reading, floatReadingByRule(text)) << text;
        if (reading == NumberReading::Read)
            EXPECT_EQ(value, std::strtof(text, nullptr)) << text;
        else
            EXPECT_EQ(value, -7.0f) << text;
    }
    for (const char* text : {"", " 1", "1 ", "+1", "1e", "0x10", "inf", "-inf", "nan", "1,5"}) {
        float value = -7.0f;
        EXPECT_EQ(ReadFloatText(text, value), NumberReading::NotNumber) << text;
        EXPECT_EQ(value, -7.0f) << text;
    }
}

TEST(NumericText, CountTextsOutsideTheirLimitsSayWhichWay) {
    struct Case {
        const char* text;
        std::uint64_t least;
        std::uint64_t most;
        NumberReading reading;
    };
    const Case cases[] = {
        {"1", 1, 10, NumberReading::Read},
        {"10", 1, 10, NumberReading::Read},
        {"11", 1, 10, NumberReading::TooLarge},
        {"0", 1, 10, NumberReading::TooSmall},
        {"99999999999", 1, 2147483647, NumberReading::TooLarge},
        {"18446744073709551615", 0, UINT64_MAX, NumberReading::Read},
        {"18446744073709551616", 0, UINT64_MAX, NumberReading::TooLarge},
        {"000000000000000000000000005", 0, 5, NumberReading::Read},
        {"-1", 0, 5, NumberReading::NotNumber},
        {"1.0", 0, 5, NumberReading::NotNumber},
        {"", 0, 5, NumberReading::NotNumber},
        {"5x", 0, 5, NumberReading::NotNumber},
    };
    for (const Case& c : cases) {
        std::uint64_t value = 77;
        EXPECT_EQ(ReadCountText(c.text, c.least, c.most, value), c.reading) << c.text;
        if (c.reading == NumberReading::Read)
            EXPECT_EQ(value, std::strtoull(c.text, nullptr, 10)) << c.text;
        else
            EXPECT_EQ(value, 77u) << c.text;
    }
}

TEST(NumericText, ConvertsWithHalvesToEvenAndRejectsOutOfRange) {
    struct Case {
        const char* text;
        std::optional<std::int16_t> value;
    };
    const Case cases[] = {
        {"9690", 9690}, {" -120 ", -120}, {"2.5", 2},       {"3.5", 4},
        {"-2.5", -2},   {"1e3", 1000},    {"32767", 32767}, {"-32768", -32768},
        {"32768", {}},  {"40000", {}},    {"-32769", {}},   {"", {}},
        {"abc", {}},    {"12abc", {}},    {"inf", {}},      {"nan", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toInt16(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(NumericText, Int32AndRounding) {
    EXPECT_EQ(toInt32(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(toInt32(QStringLiteral("2147483648")), std::nullopt);
    EXPECT_EQ(toInt32(QStringLiteral("16777215")), 16777215);
    EXPECT_EQ(roundToInt32(2500.5), 2500);
    EXPECT_EQ(roundToInt32(2501.5), 2502);
    EXPECT_EQ(roundToInt32(1e20), std::nullopt);
}

TEST(NumericText, ShortestSinglePrecisionText) {
    EXPECT_EQ(shortestText(9690.0f), QStringLiteral("9690"));
    EXPECT_EQ(shortestText(2500.5f), QStringLiteral("2500.5"));
    EXPECT_EQ(shortestText(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(shortestText(-15.0f), QStringLiteral("-15"));
}

TEST(NumericText, TrimsOnlyBlanks) {
    EXPECT_EQ(trimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(trimBlanks(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
    EXPECT_EQ(trimBlanks(QStringLiteral("   ")), QString());
}

} // namespace
