#pragma once

// A float as printf's "%.9g" writes it, to the byte, written from `out` on (at most
// kMostFloat9gBytes bytes); returns the end of what was written.
//
// How it is fast: a finite float is m * 2^e with a 24-bit m, so for every value from 1e-23 up the
// value times the power of ten that gives nine digits is exact in 128-bit integers (m * 10^p
// shifted right by -e, or m * 2^e divided by 10^-p for values of a billion and more). Its
// quotient is the nine digits and its remainder decides the rounding, half to even as printf
// rounds the exact binary value. No floating-point arithmetic, no table of powers beyond 10^38,
// no loop over digits but the nine. Smaller values, zeros, infinities and NaNs take
// std::to_chars, which gives the same text more slowly.
inline constexpr int kMostFloat9gBytes = 15;

char* FormatFloat9g(float value, char* out);
