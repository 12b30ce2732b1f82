#include "numerictext.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

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
