#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

// Numbers in settings values and typed answers: decimal text with optional blanks around it, a
// sign, a fraction and an exponent. Conversions to integers round halves to even and give
// nothing when the value is outside the integer's range.

std::optional<double> numericValue(const QString& text);
std::optional<std::int16_t> toInt16(const QString& text);
std::optional<std::int32_t> toInt32(const QString& text);

// How a decimal text reads as a number of a given kind.
enum class NumberReading {
    Read,
    NotNumber, // not the whole text a decimal number, or not finite
    TooLarge,  // beyond the kind's largest value
    TooSmall,  // a non-zero value that rounds to 0, or below the least value asked for
};

// The largest single-precision value, as messages give it.
inline constexpr char kLargestFloatText[] = "3.4e38";

// `text`, all of it, as a single-precision number: optional "-", digits with an optional fraction,
// an optional exponent. `value` is set only when it is Read.
NumberReading ReadFloatText(std::string_view text, float& value);
// `text`, all of it, as a whole number of digits from `least` to `most`; a number of any length
// beyond `most` is TooLarge. `value` is set only when it is Read.
NumberReading ReadCountText(std::string_view text, std::uint64_t least, std::uint64_t most,
                            std::uint64_t& value);

// A whole number rounded from `value` (halves to even), or nothing outside the 32-bit range.
std::optional<std::int32_t> roundToInt32(double value);

// The shortest decimal text that reads back as the same single-precision number.
QString shortestText(float value);

// `text` without leading and trailing blanks (other white space is kept).
QString trimBlanks(const QString& text);
