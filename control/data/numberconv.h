#pragma once

#include <cstdint>

// The C library number conversions as the data files were written for them: `long` has 32 bits
// and the decimal point is always ".", whatever the process locale. Each reads a zero-terminated
// text, skips leading white space, stops at the first character that cannot continue the number
// and gives 0 where no number stands. None of them allocates.

// The white space that the conversions skip before a number: space, tab, line feed, vertical tab,
// form feed and carriage return.
inline bool CIsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// atoi and atol: values outside the 32-bit range are saturated to INT32_MIN or INT32_MAX.
std::int32_t CAtol(const char* text);

// strtoul with base 10 in 32 bits: an out-of-range value gives 0xFFFFFFFF, a leading minus
// negates modulo 2^32.
std::uint32_t CStrtoul(const char* text);

// atof: exactly what strtod gives in the "C" locale (decimal and hexadecimal forms, exponents,
// "inf", "infinity", "nan" and "nan(...)" in any case).
double CAtof(const char* text);
