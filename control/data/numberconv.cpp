#include "numberconv.h"

#include "plainnumber.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

using plainnumber::isDigit;

const char* skipSpace(const char* p) {
    while (CIsSpace(*p))
        ++p;
    return p;
}

// Reads an optional sign; returns true for a minus.
bool readSign(const char*& p) {
    if (*p == '-' || *p == '+')
        return *p++ == '-';
    return false;
}

// Accumulates decimal digits, stopping the growth once `limit` is passed; returns whether any
// digit was read.
bool readDigits(const char*& p, std::uint64_t limit, std::uint64_t& value) {
    const char* start = p;
    for (; isDigit(*p); ++p) {
        if (value <= limit)
            value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    return p != start;
}

// The common short decimal number ("-2.449", "1200", "1.5e3"): when its digits fit a double's
// mantissa and its power of ten is exact, one multiplication or division rounds it correctly.
// Returns false for anything else.
bool fastDecimal(const char* p, double& result) {
    using namespace plainnumber;
    Decimal decimal;
    p = readDecimal(p, decimal);
    if (!fitsDouble(decimal))
        return false;
    int exponent = -static_cast<int>(decimal.fraction);
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        const bool negative = readSign(q);
        std::uint64_t value = 0;
        if (readDigits(q, 1000, value))
            exponent += negative ? -static_cast<int>(value) : static_cast<int>(value);
    }
    if (exponent < -kMostExactPower || exponent > kMostExactPower)
        return false;
    const auto m = static_cast<double>(decimal.mantissa);
    result = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
    return true;
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
           c == '_' || c == '(' || c == ')' || c == '+' || c == '-';
}

// Where a hexadecimal number that starts at `p` (after "0x") ends: digits, a point, digits, and
// a binary exponent only when a digit follows its one optional sign. from_chars alone would also
// read "p+-5" as an exponent.
const char* hexNumberEnd(const char* p) {
    while (isHexDigit(*p))
        ++p;
    if (*p == '.') {
        ++p;
        while (isHexDigit(*p))
            ++p;
    }
    if (*p != 'p' && *p != 'P')
        return p;
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-')
        ++exponent;
    if (!isDigit(*exponent))
        return p;
    while (isDigit(*exponent))
        ++exponent;
    return exponent;
}

// A result beyond a double's range: strtod of the "C" locale decides between infinity and zero.
double outOfRange(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text, nullptr, cLocale);
}

// Everything the fast path leaves: long mantissas, large exponents, hexadecimal forms, infinity
// and NaN. `p` stands after the sign. Returns false when no number stands there.
bool slowPath(const char* p, double& value) {
    const char* const start = p;
    const char* end = p;
    while (isNumberChar(*end))
        ++end;
    auto format = std::chars_format::general;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        const char* digits = p + 2;
        if (!isHexDigit(digits[0]) && !(digits[0] == '.' && isHexDigit(digits[1]))) {
            value = 0.0; // only the "0" before the "x" is a number
            return true;
        }
        p = digits;
        end = hexNumberEnd(digits);
        format = std::chars_format::hex;
    }
    const auto [ptr, ec] = std::from_chars(p, end, value, format);
    if (ec == std::errc::result_out_of_range) {
        value = outOfRange(start);
        return true;
    }
    return ec == std::errc();
}

} // namespace

std::int32_t CAtol(const char* text) {
    const char* p = skipSpace(text);
    const bool negative = readSign(p);
    std::uint64_t magnitude = 0;
    readDigits(p, std::uint64_t{1} << 32, magnitude);
    if (negative) {
        if (magnitude >= std::uint64_t{1} << 31)
            return std::numeric_limits<std::int32_t>::min();
        return -static_cast<std::int32_t>(magnitude);
    }
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(magnitude);
}

std::uint32_t CStrtoul(const char* text) {
    const char* p = skipSpace(text);
    const bool negative = readSign(p);
    std::uint64_t magnitude = 0;
    readDigits(p, std::uint64_t{1} << 32, magnitude);
    if (magnitude > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<std::uint32_t>::max();
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

double CAtof(const char* text) {
    const char* p = skipSpace(text);
    const bool negative = readSign(p);
    if (*p == '+' || *p == '-')
        return 0.0;
    double value = 0.0;
    const bool hex = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
    if (!hex && fastDecimal(p, value))
        return negative ? -value : value;
    if (!slowPath(p, value))
        return 0.0;
    return negative ? -value : value;
}
