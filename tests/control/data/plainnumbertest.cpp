#include "plainnumber.h"
#include "numberconv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

bool sameFloat(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The text, and how many of its characters the plain reader takes (0: none, the C conversion
// decides).
struct PlainCase {
    const char* text;
    int length;
};

// Whether the reader took what the case says, ending where it says; true when it took a number.
bool expectTaken(const PlainCase& c, const char* end) {
    if (c.length == 0) {
        EXPECT_EQ(end, nullptr) << c.text;
        return false;
    }
    EXPECT_NE(end, nullptr) << c.text;
    if (end == nullptr)
        return false;
    EXPECT_EQ(end - c.text, c.length) << c.text;
    return true;
}

TEST(PlainNumber, FloatTakesPlainDecimalsAndLeavesTheRest) {
    const PlainCase cases[] = {
        {"-16.762X", 7},
        {"1400(", 4},
        {"0.5", 3},
        {"-0", 2},
        {"-0.000", 6},
        {".5)", 2},
        {"5.Y", 2},
        {"-.25", 4},
        {"007.50", 6},
        {"12345678.5", 10},
        {"-123456789012345.5", 18},
        {"900719925474099.2", 17},
        {"0.000000000000001", 17},
        {"1.5e3", 0},
        {"2E-1", 0},
        {"0x1A", 0},
        {"12x", 2},
        {"00x5", 2},
        {"-0X1", 0},
        {"+5", 0},
        {" 5", 0},
        {"\t5", 0},
        {"", 0},
        {"-", 0},
        {".", 0},
        {"-.", 0},
        {"--5", 0},
        {"inf", 0},
        {"nan", 0},
        {"9007199254740992", 16},
        {"0.0000000000000001", 18},
        {"9007199254740993", 0},
        {"0.00000000000000000001", 0},
        {"12345678901234567890", 0},
        {"900719925474099.3", 0},
    };
    for (const PlainCase& c : cases) {
        float value = 1234.0f;
        if (expectTaken(c, PlainFloat(c.text, value))) {
            EXPECT_TRUE(sameFloat(value, static_cast<float>(CAtof(c.text)))) << c.text;
        }
    }
}

TEST(PlainNumber, IntTakesUpToNineDigitsAndLeavesTheRest) {
    const PlainCase cases[] = {
        {"123X", 3},
        {"-7)", 2},
        {"0", 1},
        {"-0", 2},
        {"007", 3},
        {"999999999", 9},
        {"-999999999F", 10},
        {"1234567890", 0},
        {"-2147483648", 0},
        {"+1", 0},
        {" 1", 0},
        {"", 0},
        {"-", 0},
        {"x1", 0},
    };
    for (const PlainCase& c : cases) {
        std::int32_t value = 1234;
        if (expectTaken(c, PlainInt(c.text, value))) {
            EXPECT_EQ(value, CAtol(c.text)) << c.text;
        }
    }
}

// Compares the plain reader with the C conversion cast to float; counts what it took.
struct FloatComparison {
    int taken = 0;
    int mismatches = 0;

    void check(const char* text) {
        float value = 0.0f;
        if (!PlainFloat(text, value))
            return;
        ++taken;
        if (!sameFloat(value, static_cast<float>(CAtof(text))) && ++mismatches < 10)
            ADD_FAILURE() << '"' << text << "\" gives " << value;
    }
};

// Random digits around a point: short ones as files hold them, and long ones up to the most
// digits a double holds exactly.
TEST(PlainNumber, FloatMatchesTheConversionOnRandomDecimals) {
    std::mt19937_64 random(20261208);
    FloatComparison comparison;
    std::string text;
    for (int i = 0; i < 400000; ++i) {
        text.clear();
        if (random() & 1)
            text += '-';
        const int whole = static_cast<int>(random() % (i % 3 ? 10 : 18));
        const int fraction = static_cast<int>(random() % (i % 2 ? 5 : 18));
        for (int k = 0; k < whole; ++k)
            text += static_cast<char>('0' + random() % 10);
        text += '.';
        for (int k = 0; k < fraction; ++k)
            text += static_cast<char>('0' + random() % 10);
        comparison.check(text.c_str());
    }
    EXPECT_EQ(comparison.mismatches, 0);
    EXPECT_GT(comparison.taken, 300000);
}

// Decimals next to the midpoint between two neighbouring floats, where the double that the C
// conversion gives and a product with an inverse power can round to different floats.
TEST(PlainNumber, FloatMatchesTheConversionNextToFloatMidpoints) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> exponent(-3.0, 9.0);
    FloatComparison comparison;
    char text[64];
    for (int i = 0; i < 300000; ++i) {
        const auto low = static_cast<float>(std::pow(10.0, exponent(random)));
        const double midpoint =
            (static_cast<double>(low) + std::nextafter(low, 2.0f * low + 1.0f)) / 2.0;
        const int significant = 16 - static_cast<int>(random() % 4);
        const int fraction =
            std::max(0, significant - 1 - static_cast<int>(std::floor(std::log10(midpoint))));
        std::snprintf(text, sizeof text, "%.*f", fraction, midpoint);
        comparison.check(text);
    }
    EXPECT_EQ(comparison.mismatches, 0);
    EXPECT_GT(comparison.taken, 200000);
}

} // namespace

namespace {

// Digits next to the bytes that border them in value ('/', ':', and bytes that differ from a digit
// only in their top bit or in their upper half), and next to the letters of the words.
TEST(PlainNumber, NumbersEndAtEveryOtherByte) {
    const char alphabet[] = "0123456789-./:\xb0\xb9\x80\x89\x10\x19 XF(";
    std::mt19937 random(11);
    FloatComparison comparison;
    int intsTaken = 0;
    int intMismatches = 0;
    char text[24];
    for (int i = 0; i < 300000; ++i) {
        const std::size_t length = random() % 20;
        for (std::size_t k = 0; k < length; ++k)
            text[k] = alphabet[random() % (sizeof alphabet - 1)];
        text[length] = '\0';
        comparison.check(text);
        std::int32_t value = 0;
        if (!PlainInt(text, value))
            continue;
        ++intsTaken;
        if (value != CAtol(text) && ++intMismatches < 10)
            ADD_FAILURE() << "int \"" << text << '"';
    }
    EXPECT_EQ(comparison.mismatches, 0);
    EXPECT_EQ(intMismatches, 0);
    EXPECT_GT(comparison.taken, 50000);
    EXPECT_GT(intsTaken, 50000);
}

} // namespace
