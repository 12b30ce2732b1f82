#include "floatformat.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr std::uint32_t kNineDigits = 100'000'000; // the smallest nine-digit number
constexpr std::uint32_t kTenDigits = 1'000'000'000;
// Above this power of ten the product m * 10^p no longer fits 128 bits.
constexpr int kMostScale = 31;

constexpr std::array<Wide, 39> kPowersOfTen = [] {
    std::array<Wide, 39> powers{};
    Wide power = 1;
    for (Wide& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

char* slowFormat(float value, char* out) {
    return std::to_chars(out, out + kMostFloat9gBytes, static_cast<double>(value),
                         std::chars_format::general, 9)
        .ptr;
}

// The nine significant digits of m * 2^e2 scaled by 10^p, rounded half to even; 0 when
// the scaled value has ten digits or more (the power was one too large).
std::uint64_t scaledDigits(std::uint32_t m, int e2, int p) {
    Wide quotient = 0;
    bool above = false;
    bool half = false;
    if (e2 >= 0) {
        const Wide whole = static_cast<Wide>(m) << e2;
        if (p >= 0) {
            quotient = whole * kPowersOfTen[static_cast<unsigned>(p)];
        } else {
            const Wide divisor = kPowersOfTen[static_cast<unsigned>(-p)];
            quotient = whole / divisor;
            const Wide twice = (whole % divisor) * 2;
            above = twice > divisor;
            half = twice == divisor;
        }
    } else {
        const Wide scaled = static_cast<Wide>(m) * kPowersOfTen[static_cast<unsigned>(p)];
        const unsigned shift = static_cast<unsigned>(-e2);
        quotient = scaled >> shift;
        const Wide rest = scaled & ((static_cast<Wide>(1) << shift) - 1);
        const Wide middle = static_cast<Wide>(1) << (shift - 1);
        above = rest > middle;
        half = rest == middle;
    }
    if (quotient >= kTenDigits)
        return 0;
    auto digits = static_cast<std::uint64_t>(quotient);
    if (above || (half && (digits & 1) != 0))
        ++digits;
    return digits;
}

// Writes the nine digits, then drops trailing zeros; returns the count kept (at least 1).
int nineDigits(std::uint32_t digits, char* out) {
    for (int k = 8; k >= 0; --k) {
        out[k] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int kept = 9;
    while (kept > 1 && out[kept - 1] == '0')
        --kept;
    return kept;
}

char* copy(const char* from, int count, char* out) {
    for (int k = 0; k < count; ++k)
        *out++ = from[k];
    return out;
}

// "%.9g"'s layout of the digits d1..d9 of a value with decimal exponent x.
char* layOut(std::uint32_t digits, int x, char* out) {
    char text[9];
    const int kept = nineDigits(digits, text);
    if (x < -4 || x >= 9) {
        *out++ = text[0];
        if (kept > 1) {
            *out++ = '.';
            out = copy(text + 1, kept - 1, out);
        }
        *out++ = 'e';
        *out++ = x < 0 ? '-' : '+';
        const int magnitude = x < 0 ? -x : x;
        if (magnitude >= 10)
            *out++ = static_cast<char>('0' + magnitude / 10);
        else
            *out++ = '0';
        *out++ = static_cast<char>('0' + magnitude % 10);
        return out;
    }
    if (x >= 0) {
        out = copy(text, x + 1, out);
        if (kept > x + 1) {
            *out++ = '.';
            out = copy(text + x + 1, kept - x - 1, out);
        }
        return out;
    }
    *out++ = '0';
    *out++ = '.';
    for (int k = -1; k > x; --k)
        *out++ = '0';
    return copy(text, kept, out);
}

} // namespace

char* FormatFloat9g(float value, char* out) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const auto biased = static_cast<int>((bits >> 23) & 0xff);
    if (biased == 0 || biased == 0xff)
        return slowFormat(value, out); // zeros, subnormals, infinities, NaNs
    const int e = biased - 127;        // 2^e <= |value| < 2^(e + 1)
    // floor(e * log10(2)): the decimal exponent or one less.
    const int estimate = (e * 1233) >> 12;
    int p = 8 - estimate;
    if (p > kMostScale)
        return slowFormat(value, out);
    const std::uint32_t m = (bits & 0x7fffff) | 0x800000;
    const int e2 = e - 23;
    std::uint64_t digits = scaledDigits(m, e2, p);
    if (digits == 0)
        digits = scaledDigits(m, e2, --p);
    int x = 8 - p;
    if (digits == kTenDigits) {
        digits = kNineDigits;
        ++x;
    }
    if ((bits >> 31) != 0)
        *out++ = '-';
    return layOut(static_cast<std::uint32_t>(digits), x, out);
}
