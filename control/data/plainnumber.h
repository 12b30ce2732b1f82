#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// Readers for the plain numbers that fill a text file ("-16.762", "1400"), faster than the C
// conversions in numberconv.h and giving exactly what they give for the same text. Anything
// else (white space or a plus before the number, an exponent, a hexadecimal form, more digits than
// a double holds exactly) gives nullptr, and the number is left to the C conversion.

namespace plainnumber {

// The value of the decimal digit `c`, and above 9 for any other character: one subtraction serves
// both the test and the sum in the digit loops.
inline unsigned digitValue(char c) {
    return static_cast<unsigned char>(c) - unsigned{'0'};
}

inline bool isDigit(char c) {
    return digitValue(c) <= 9;
}

// Adds the digits from `p` on to `value`, each as value * 10 + digit; returns the position after
// them. `value` wraps on a long run, which the callers refuse by the count of digits.
inline const char* addDigits(const char* p, std::uint64_t& value) {
    for (unsigned digit; (digit = digitValue(*p)) <= 9; ++p)
        value = value * 10 + digit;
    return p;
}

// Powers of ten that a double holds exactly, and the doubles nearest to the inverses of the first
// twenty.
inline constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr int kMostExactPower = 22;
inline constexpr double kInversePowers[] = {1e-0,  1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,
                                            1e-7,  1e-8,  1e-9,  1e-10, 1e-11, 1e-12, 1e-13,
                                            1e-14, 1e-15, 1e-16, 1e-17, 1e-18, 1e-19};
// A decimal is taken whole when its digits fit 64 bits (at most 19 of them) and their value fits a
// double's mantissa (at most 2^53).
inline constexpr int kMostDigits = 19;
inline constexpr std::uint64_t kMostMantissa = std::uint64_t{1} << 53;

// The digits of a decimal with an optional point, as one whole number.
struct Decimal {
    std::uint64_t mantissa = 0;
    std::ptrdiff_t digits = 0;   // read, before and after the point
    std::ptrdiff_t fraction = 0; // of them after the point
};

// Reads digits, an optional point and digits from `p`; returns the position after them. The
// mantissa is only meaningful for at most kMostDigits digits.
inline const char* readDecimal(const char* p, Decimal& decimal) {
    const char* const whole = p;
    std::uint64_t mantissa = 0;
    p = addDigits(p, mantissa);
    decimal.digits = p - whole;
    if (*p == '.') {
        const char* const point = ++p;
        p = addDigits(p, mantissa);
        decimal.fraction = p - point;
        decimal.digits += decimal.fraction;
    }
    decimal.mantissa = mantissa;
    return p;
}

// Whether a double holds the decimal's digits exactly.
inline bool fitsDouble(const Decimal& decimal) {
    return decimal.digits > 0 && decimal.digits <= kMostDigits && decimal.mantissa <= kMostMantissa;
}

// The float nearest to the double nearest to mantissa / 10^fraction, as a C conversion to double
// and a cast give it. The product with the inverse lies within three units in the last place of
// that double, so both round to the same float unless the product lies within a few units of the
// midpoint between two floats, the 29 bits that a float drops being near 2^28; only then is the
// quotient itself worked out. The result is a normal float: mantissa and fraction are bounded.
inline float quotientAsFloat(std::uint64_t mantissa, int fraction) {
    const auto m = static_cast<double>(mantissa);
    const double product = m * kInversePowers[fraction];
    constexpr std::uint64_t kDropped = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kMidpoint = std::uint64_t{1} << 28;
    constexpr std::uint64_t kMargin = 8;
    const std::uint64_t low = std::bit_cast<std::uint64_t>(product) & kDropped;
    if (low - (kMidpoint - kMargin) <= 2 * kMargin)
        return static_cast<float>(m / kPowers[fraction]);
    return static_cast<float>(product);
}

} // namespace plainnumber

// An optional minus and 1 to 9 digits, not followed by another digit: returns the position after
// them with `value` set to what CAtol gives, or nullptr.
inline const char* PlainInt(const char* p, std::int32_t& value) {
    const bool negative = *p == '-';
    const char* q = p + (negative ? 1 : 0);
    const char* const first = q;
    std::uint64_t magnitude = 0;
    q = plainnumber::addDigits(q, magnitude);
    if (q == first || q - first > 9)
        return nullptr;
    const auto digits = static_cast<std::int32_t>(magnitude);
    value = negative ? -digits : digits;
    return q;
}

// An optional minus and digits with an optional point, not a hexadecimal form and not followed by
// an exponent: returns the position after them with `value` set to what CAtof gives, cast to
// float, or nullptr.
inline const char* PlainFloat(const char* p, float& value) {
    using namespace plainnumber;
    const bool negative = *p == '-';
    const char* q = p + (negative ? 1 : 0);
    if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X'))
        return nullptr;
    Decimal decimal;
    q = readDecimal(q, decimal);
    if (!fitsDouble(decimal) || *q == 'e' || *q == 'E')
        return nullptr;
    const float magnitude = quotientAsFloat(decimal.mantissa, static_cast<int>(decimal.fraction));
    value = negative ? -magnitude : magnitude;
    return q;
}
