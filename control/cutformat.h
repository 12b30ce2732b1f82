#pragma once

#include <cstdint>

// The two kinds of monitoring data file: text lines, or binary entries.
enum class CutFormat { Text, Binary };

namespace curvex {

// The control's LoadCutData takes the format as an integer: any value but 0 reads text; hosts
// give -1 (True) for text and 0 for binary.
constexpr std::int32_t typeTextFlag(CutFormat format) {
    return format == CutFormat::Text ? -1 : 0;
}

constexpr CutFormat formatOfTypeTextFlag(std::int32_t typeTextFlg) {
    return typeTextFlg != 0 ? CutFormat::Text : CutFormat::Binary;
}

} // namespace curvex
