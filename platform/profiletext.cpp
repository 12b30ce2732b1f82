#include "profiletext.h"

#include <algorithm>

namespace {

// What some editors put before the first line of a UTF-8 file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

constexpr std::string_view kLineBreaks = "\r\n";

// One line of the text: [begin, contentEnd) is its content, [contentEnd, end) its CR LF, LF or
// lone CR.
struct Line {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

Line lineAt(std::string_view bytes, std::size_t begin) {
    const std::size_t at = bytes.find_first_of(kLineBreaks, begin);
    if (at == std::string_view::npos) {
        return {begin, bytes.size(), bytes.size()};
    }
    const bool crLf = bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n';
    return {begin, at, at + (crLf ? 2 : 1)};
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view content) {
    content = trimmed(content);
    if (content.empty() || content.front() != '[') {
        return std::nullopt;
    }
    content.remove_prefix(1);
    return trimmed(content.substr(0, content.find(']')));
}

bool isComment(std::string_view content) {
    content = trimmed(content);
    return !content.empty() && (content.front() == ';' || content.front() == '#');
}

// The position of "=" in a key line, or npos for a line that is no key line.
std::size_t equalsSign(std::string_view content) {
    if (isComment(content)) {
        return std::string_view::npos;
    }
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos || trimmed(content.substr(0, eq)).empty()) {
        return std::string_view::npos;
    }
    return eq;
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

} // namespace

ProfileText::Location ProfileText::locate(std::string_view section, std::string_view key) const {
    section = trimmed(section);
    key = trimmed(key);
    Location where;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t pos = textBegin(); pos < bytes_.size();) {
        const Line line = lineAt(bytes_, pos);
        pos = line.end;
        const std::string_view content = bytes_.substr(line.begin, line.contentEnd - line.begin);
        if (const auto name = sectionName(content)) {
            inSection = equalsIgnoringCase(*name, section);
            inFirstSection = inSection && !where.sectionFound;
            if (inFirstSection) {
                where.sectionFound = true;
                where.insertAt = line.end;
            }
            continue;
        }
        const std::size_t eq = inSection ? equalsSign(content) : std::string_view::npos;
        if (eq == std::string_view::npos) {
            continue;
        }
        if (equalsIgnoringCase(trimmed(content.substr(0, eq)), key)) {
            std::size_t valueBegin = line.begin + eq + 1;
            while (valueBegin < line.contentEnd && isBlank(bytes_[valueBegin])) {
                ++valueBegin;
            }
            where.keyFound = true;
            where.valueBegin = valueBegin;
            where.valueEnd = line.contentEnd;
            return where;
        }
        if (inFirstSection) {
            where.insertAt = line.end;
        }
    }
    return where;
}

std::optional<std::string_view> ProfileText::value(std::string_view section,
                                                   std::string_view key) const {
    const Location where = locate(section, key);
    if (!where.keyFound) {
        return std::nullopt;
    }
    std::string_view raw = bytes_.substr(where.valueBegin, where.valueEnd - where.valueBegin);
    raw = unquoted(trimmed(raw));
    return raw.substr(0, raw.find('\0'));
}

std::size_t ProfileText::textBegin() const {
    return bytes_.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
}

// The first line break: CR LF, LF or a lone CR. A CR at the very end that is the text's only
// line break may be the start of a CR LF that was cut off, so it decides nothing.
std::string_view ProfileText::lineEnding() const {
    const std::size_t at = bytes_.find_first_of(kLineBreaks);
    if (at == std::string_view::npos || bytes_[at] == '\n' || at + 1 == bytes_.size()) {
        return "\n";
    }
    return bytes_[at + 1] == '\n' ? "\r\n" : "\r";
}

// What the line that ends at `lineEnd` lacks to be a complete line: nothing after LF or a lone
// CR (or at the start), except LF after a CR at the very end of a text whose lines do not end
// with CR alone (a CR LF cut short); else the text's line ending.
std::string_view ProfileText::missingLineEnd(std::size_t lineEnd) const {
    if (lineEnd <= textBegin() || bytes_[lineEnd - 1] == '\n') {
        return {};
    }
    if (bytes_[lineEnd - 1] == '\r') {
        const bool cutCrLf = lineEnd == bytes_.size() && lineEnding() != "\r";
        return cutCrLf ? "\n" : std::string_view();
    }
    return lineEnding();
}

std::string ProfileText::withValue(std::string_view section, std::string_view key,
                                   std::string_view value) const {
    const Location where = locate(section, key);
    const std::string_view eol = lineEnding();
    std::string keyLine(trimmed(key));
    keyLine += '=';
    keyLine += value;

    std::string out;
    out.reserve(bytes_.size() + keyLine.size() + section.size() + 8);
    if (where.keyFound) {
        out.append(bytes_.substr(0, where.valueBegin));
        out.append(value);
        out.append(bytes_.substr(where.valueEnd));
    } else if (where.sectionFound) {
        out.append(bytes_.substr(0, where.insertAt));
        const std::string_view missing = missingLineEnd(where.insertAt);
        if (missing.empty()) {
            out.append(keyLine).append(eol);
        } else {
            out.append(missing).append(keyLine);
        }
        out.append(bytes_.substr(where.insertAt));
    } else {
        out.append(bytes_).append(missingLineEnd(bytes_.size()));
        out.append("[").append(trimmed(section)).append("]").append(eol);
        out.append(keyLine).append(eol);
    }
    return out;
}

bool ProfileText::canStore(std::string_view section, std::string_view key, std::string_view value) {
    section = trimmed(section);
    key = trimmed(key);
    return !section.empty() && !key.empty() && !hasLineBreakOrNul(section) &&
           !hasLineBreakOrNul(key) && !hasLineBreakOrNul(value) &&
           section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
           key.front() != '[' && !isComment(key);
}
