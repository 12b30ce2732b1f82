#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Numbers in settings values and typed answers: decimal text with optional blanks around it, a
// sign, a fraction and an exponent. Conversions to integers round halves to even and give
// nothing when the value is outside the integer's range.

std::optional<double> numericValue(const QString& text);
std::optional<std::int16_t> toInt16(const QString& text);
std::optional<std::int32_t> toInt32(const QString& text);

// A whole number rounded from `value` (halves to even), or nothing outside the 32-bit range.
std::optional<std::int32_t> roundToInt32(double value);

// The shortest decimal text that reads back as the same single-precision number.
QString shortestText(float value);

// `text` without leading and trailing blanks (other white space is kept).
QString trimBlanks(const QString& text);
