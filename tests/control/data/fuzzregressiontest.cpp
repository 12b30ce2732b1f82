// Inputs that the fuzz targets in fuzz/ found to break the data core, each kept as a test named
// after what it caught.

#include "cutdatatesting.h"
#include "numberconv.h"

#include <gtest/gtest.h>

#include <locale.h>
#include <string>

namespace {

double cStrtod(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text, nullptr, cLocale);
}

// A hexadecimal number's binary exponent needs a digit right after its one optional sign;
// "p+-5" is no exponent at all, so the number ends before the "p".
TEST(FuzzRegression, HexExponentWithTwoSignsIsNoExponent) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"0x1.p+-5", 1.0}, {"0x1p+-5", 1.0},    {"-0x1P+-5", -1.0},   {"0x1.8p-+3", 1.5},
        {"0x1p--2", 1.0},  {"0x1p-2+-5", 0.25}, {"0x1p+-99999", 1.0}, {"0X.8P+-1X", 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(cStrtod(c.text), c.expected);
        EXPECT_EQ(CAtof(c.text), c.expected);
    }
    const CutDataSet data = loadText("N1)G01X0x1.p+-5Y0x1p-2Z0x1p+-3\n");
    ASSERT_EQ(data.count, 1u);
    EXPECT_EQ(data.records[0].x, 1.0f);
    EXPECT_EQ(data.records[0].y, 0.25f);
    EXPECT_EQ(data.records[0].z, 1.0f);
}

} // namespace
