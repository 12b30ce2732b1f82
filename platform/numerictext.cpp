#include "numerictext.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

template <typename Int> std::optional<Int> roundInto(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<double> numericValue(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A text that from_chars took whole but found beyond the float range is read again in double
// precision, or as the system reads it beyond that, to tell a large value from a tiny one.
NumberReading ReadFloatText(std::string_view text, float& value) {
    const char* const end = text.data() + text.size();
    float read = 0.0f;
    const auto [ptr, ec] = std::from_chars(text.data(), end, read);
    if (text.empty() || ptr != end || ec == std::errc::invalid_argument)
        return NumberReading::NotNumber;
    if (ec == std::errc::result_out_of_range) {
        const double wide = std::strtod(std::string(text).c_str(), nullptr);
        return std::fabs(wide) > 1.0 ? NumberReading::TooLarge : NumberReading::TooSmall;
    }
    if (!std::isfinite(read))
        return NumberReading::NotNumber;
    value = read;
    return NumberReading::Read;
}

NumberReading ReadCountText(std::string_view text, std::uint64_t least, std::uint64_t most,
                            std::uint64_t& value) {
    const char* const end = text.data() + text.size();
    std::uint64_t read = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, read);
    if (text.empty() || ptr != end || ec == std::errc::invalid_argument)
        return NumberReading::NotNumber;
    if (ec == std::errc::result_out_of_range || read > most)
        return NumberReading::TooLarge;
    if (read < least)
        return NumberReading::TooSmall;
    value = read;
    return NumberReading::Read;
}

std::optional<std::int16_t> toInt16(const QString& text) {
    const auto value = numericValue(text);
    return value ? roundInto<std::int16_t>(*value) : std::nullopt;
}

std::optional<std::int32_t> toInt32(const QString& text) {
    const auto value = numericValue(text);
    return value ? roundToInt32(*value) : std::nullopt;
}

std::optional<std::int32_t> roundToInt32(double value) {
    return roundInto<std::int32_t>(value);
}

QString shortestText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}
