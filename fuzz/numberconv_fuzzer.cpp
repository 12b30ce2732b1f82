// Fuzzes the number conversions of the text loader against the C library in the "C" locale:
// CAtof must give exactly strtod's value, CAtol strtol's value saturated to 32 bits, CStrtoul the
// value a 32-bit strtoul gives; the plain-number readers, where they take a number, CAtof's value
// cast to float and CAtol's value.

#include "numberconv.h"
#include "plainnumber.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(std::string_view what, const char* text) {
    std::fprintf(stderr, "invariant broken: %.*s for \"%s\"\n", static_cast<int>(what.size()),
                 what.data(), text);
    std::abort();
}

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::int32_t ReferenceAtol(const char* text) {
    const long value = strtol_l(text, nullptr, 10, CLocale());
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// strtoul where unsigned long has 32 bits: the magnitude saturates, then a minus negates it.
std::uint32_t ReferenceStrtoul(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;
    const unsigned long long magnitude = strtoull_l(p, nullptr, 10, CLocale());
    if (magnitude > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<std::uint32_t>::max();
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const char* number = text.data();

    if (!SameDouble(CAtof(number), strtod_l(number, nullptr, CLocale())))
        Fail("CAtof differs from strtod", number);
    if (CAtol(number) != ReferenceAtol(number))
        Fail("CAtol differs from strtol saturated to 32 bits", number);
    if (CStrtoul(number) != ReferenceStrtoul(number))
        Fail("CStrtoul differs from a 32-bit strtoul", number);
    float plainFloat = 0.0f;
    const auto expectedFloat = static_cast<float>(CAtof(number));
    if (PlainFloat(number, plainFloat) &&
        std::memcmp(&plainFloat, &expectedFloat, sizeof plainFloat) != 0)
        Fail("PlainFloat differs from CAtof cast to float", number);
    std::int32_t plainInt = 0;
    if (PlainInt(number, plainInt) && plainInt != CAtol(number))
        Fail("PlainInt differs from CAtol", number);
    return 0;
}
