#include "programsyntax.h"

namespace {

bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
}

SyntaxKind wordKind(char letter) {
    switch (letter | 0x20) {
    case 'n':
        return SyntaxKind::BlockNumber;
    case 'g':
    case 'm':
        return SyntaxKind::Code;
    case 'f':
    case 's':
    case 't':
        return SyntaxKind::Setting;
    case 'x':
    case 'y':
    case 'z':
    case 'a':
    case 'b':
    case 'c':
    case 'u':
    case 'v':
    case 'w':
    case 'i':
    case 'j':
    case 'k':
    case 'r':
        return SyntaxKind::Axis;
    default:
        return SyntaxKind::Plain;
    }
}

// Where the part that starts at `at` ends, and what it is.
SyntaxSpan partAt(std::string_view line, std::size_t at) {
    const char c = line[at];
    if (c == ';')
        return {at, line.size() - at, SyntaxKind::Comment};
    if (c == '(') {
        const std::size_t close = line.find(')', at);
        const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
        return {at, end - at, SyntaxKind::Comment};
    }
    const bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    if (letter && at + 1 < line.size() && isNumberChar(line[at + 1])) {
        std::size_t end = at + 1;
        while (end < line.size() && isNumberChar(line[end]))
            ++end;
        return {at, end - at, wordKind(c)};
    }
    return {at, 1, SyntaxKind::Plain};
}

} // namespace

std::vector<SyntaxSpan> SyntaxSpansOf(std::string_view line) {
    std::vector<SyntaxSpan> spans;
    for (std::size_t at = 0; at < line.size();) {
        const SyntaxSpan part = partAt(line, at);
        if (!spans.empty() && spans.back().kind == part.kind && part.kind == SyntaxKind::Plain)
            spans.back().length += part.length;
        else
            spans.push_back(part);
        at += part.length;
    }
    return spans;
}
