#include "numerictext.h"

#include <gtest/gtest.h>

namespace {

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
