#include "numberconv.h"

#include "../../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

bool sameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct LongCase {
    const char* text;
    std::int32_t expected;
};

TEST(NumberConv, AtolSaturatesTo32Bits) {
    const LongCase cases[] = {
        {"0", 0},
        {"1200", 1200},
        {"  \t+42abc", 42},
        {"-17", -17},
        {"\n\v\f\r5", 5},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+-3", 0},
        {" - 3", 0},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-99999999999999999999999", kMin},
        {"0001.9", 1},
        {"12e3", 12},
        {"0x1F", 0},
    };
    for (const LongCase& c : cases)
        EXPECT_EQ(CAtol(c.text), c.expected) << '"' << c.text << '"';
}

struct UnsignedCase {
    const char* text;
    std::uint32_t expected;
};

TEST(NumberConv, StrtoulWorksIn32Bits) {
    const UnsignedCase cases[] = {
        {"5", 5},
        {" 65535", 65535},
        {"65536", 65536},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0xFFFFFFFFu},
        {"123456789012345678901234567890", 0xFFFFFFFFu},
        {"-1", 0xFFFFFFFFu},
        {"-4294967295", 1},
        {"-4294967296", 0xFFFFFFFFu},
        {"+7", 7},
        {"x7", 0},
        {"", 0},
    };
    for (const UnsignedCase& c : cases)
        EXPECT_EQ(CStrtoul(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumberConv, AtofAcceptsWhatCAccepts) {
    const char* cases[] = {
        "0",
        "-0",
        "-0.0",
        "  1.5",
        "\t-2.449",
        "+.5",
        "5.",
        ".",
        "-.",
        "-",
        "--1",
        "+-1",
        "1e3",
        "1E-3",
        "1e",
        "1e+",
        "1e+x",
        "2.5e-3Y",
        "0.2346)F1017",
        "-2.449Y-0.046",
        "1.0e0010",
        "123456789012345678901234567890",
        "0.000000000000000000000000000123456789",
        "9007199254740993",
        "1e22",
        "1e23",
        "3e-23",
        "1.7976931348623157e308",
        "1.8e308",
        "-1e999",
        "1e-999",
        "4.9e-324",
        "2.4e-324",
        "0x1p3",
        "0X1.8P-1",
        "-0x.8",
        "0x",
        "0xg",
        "0x.p1",
        "0x1p",
        "0x1P+",
        "0xFFFFFFFFFFFFFFFFFF",
        "0x1p99999",
        "inf",
        "-INF",
        "Infinity",
        "infinit",
        "nan",
        "-NaN",
        "nan(abc_1)",
        "nan(",
        "nan()x",
        "in",
        "na",
        "0.1",
        "0.3",
        "33554433",
        "1.00000005960464477539062",
        "16777217",
    };
    for (const char* text : cases) {
        const double expected = strtod_l(text, nullptr, cLocale());
        EXPECT_TRUE(sameDouble(CAtof(text), expected))
            << '"' << text << "\" gives " << CAtof(text) << ", strtod " << expected;
    }
}

// Numbers as data files and other programs print them, in every common form: each must give
// exactly the C library's value.
TEST(NumberConv, AtofMatchesStrtodOnPrintedNumbers) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> exponent(-40.0, 40.0);
    const char* formats[] = {"%.*g", "%.*e", "%.*f", "%.*a"};
    char text[400];
    int mismatches = 0;
    for (int i = 0; i < 200000; ++i) {
        const double value = std::pow(10.0, exponent(random)) * ((random() & 1) ? -1.0 : 1.0);
        const int precision = static_cast<int>(random() % 25);
        std::snprintf(text, sizeof text, formats[random() % 4], precision, value);
        if (!sameDouble(CAtof(text), strtod_l(text, nullptr, cLocale())) && ++mismatches < 10)
            ADD_FAILURE() << '"' << text << '"';
    }
    EXPECT_EQ(mismatches, 0);
}

// Random mixtures of the characters that can make up a number.
TEST(NumberConv, AtofMatchesStrtodOnNumberLikeNoise) {
    std::mt19937 random(7);
    const char alphabet[] = "0123456789.eE+-xXpPaAfFnNiItTyY()_ \t";
    char text[16];
    int mismatches = 0;
    for (int i = 0; i < 300000; ++i) {
        const std::size_t length = random() % (sizeof text);
        for (std::size_t k = 0; k < length; ++k)
            text[k] = alphabet[random() % (sizeof alphabet - 1)];
        text[length] = '\0';
        if (!sameDouble(CAtof(text), strtod_l(text, nullptr, cLocale())) && ++mismatches < 10)
            ADD_FAILURE() << '"' << text << '"';
        const long reference = strtol_l(text, nullptr, 10, cLocale());
        const std::int32_t saturated = reference < kMin   ? kMin
                                       : reference > kMax ? kMax
                                                          : reference;
        if (CAtol(text) != saturated && ++mismatches < 10)
            ADD_FAILURE() << "atol \"" << text << '"';
    }
    EXPECT_EQ(mismatches, 0);
}

// The process locale may use a decimal comma (a host program sets its user's locale); the files
// never do. The test builds a locale of its own whose decimal point is a comma.
TEST(NumberConv, IgnoresTheProcessLocale) {
    TempFolder folder;
    writeBytes(folder.file("comma.src"), "LC_NUMERIC\ndecimal_point \"<U002C>\"\n"
                                         "thousands_sep \"\"\ngrouping -1\nEND LC_NUMERIC\n");
    const std::string build = "localedef -c -i " + folder.file("comma.src") + " " +
                              folder.file("comma") + " >/dev/null 2>&1";
    if (std::system(build.c_str()) == -1)
        GTEST_SKIP() << "localedef cannot run";
    const std::string previous = setlocale(LC_NUMERIC, nullptr);
    setenv("LOCPATH", folder.path().c_str(), 1);
    const bool active = setlocale(LC_NUMERIC, "comma") != nullptr;
    const double cLibrary = std::strtod("2.5", nullptr);
    const double ours = CAtof("2.5");
    const double withComma = CAtof("2,5");
    setlocale(LC_NUMERIC, previous.c_str());
    unsetenv("LOCPATH");
    if (!active)
        GTEST_SKIP() << "localedef made no usable locale";
    ASSERT_EQ(cLibrary, 2.0) << "the comma locale is not in effect";
    EXPECT_EQ(ours, 2.5);
    EXPECT_EQ(withComma, 2.0);
}

} // namespace
