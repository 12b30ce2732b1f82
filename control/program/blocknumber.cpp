#include "blocknumber.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view line, std::size_t at) {
    while (at < line.size() && isBlank(line[at]))
        ++at;
    return at;
}

} // namespace

std::optional<std::uint32_t> BlockNumberOf(std::string_view line) {
    std::size_t at = skipBlanks(line, 0);
    if (at < line.size() && line[at] == '/')
        at = skipBlanks(line, at + 1);
    if (at + 1 >= line.size() || (line[at] != 'N' && line[at] != 'n') || !isDigit(line[at + 1]))
        return std::nullopt;
    std::uint64_t number = 0;
    for (++at; at < line.size() && isDigit(line[at]); ++at) {
        number = number * 10 + static_cast<std::uint64_t>(line[at] - '0');
        if (number > UINT32_MAX)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}
