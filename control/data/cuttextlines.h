#pragma once

#include "cutfields.h"
#include "numberconv.h"
#include "plainnumber.h"

#include <algorithm>
#include <cstddef>
#include <string>

// The lines of the text format: one block per "N" line, "G92" lines preset the position, "T"
// lines change the tool; every other line is ignored. The words of a block line are searched in a
// fixed order, each search starting where the last successful one ended. Words that are missing
// keep their value (modal words).
//
// A line is read where it stands in the text: it ends at its first line feed, carriage return or
// zero byte, and no search or number goes past that end.

// A removal word gives the removal kind and the removal together.
inline constexpr unsigned kRemovalFields = kRemovalKindField | kRemovalField;

namespace cuttext {

inline char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool endsLine(char c) {
    return static_cast<unsigned char>(c) <= '\r' && (c == '\n' || c == '\r' || c == '\0');
}

// The rest of the line from `p` as a zero-terminated copy.
inline std::string restOfLine(const char* p) {
    const char* end = p;
    while (!endsLine(*end))
        ++end;
    return std::string(p, end);
}

// Reads the number at `p` with a C library conversion. A conversion stops at the first character
// that cannot continue its number, and so at the line's end; only the white space it skips before
// the number could take it into the next line, so a number after white space is read from a copy
// of the rest of its line.
template <typename Convert> auto readNumber(const char* p, Convert convert) {
    if (!CIsSpace(*p))
        return convert(p);
    return convert(restOfLine(p).c_str());
}

// Reads the number at `point`. A plain number moves `point` past its digits, where the next search
// may start: its characters are none of the letters searched for.
inline float takeFloat(const char*& point) {
    float value;
    if (const char* end = PlainFloat(point, value)) {
        point = end;
        return value;
    }
    return static_cast<float>(readNumber(point, CAtof));
}

inline std::int32_t takeInt(const char*& point) {
    std::int32_t value;
    if (const char* end = PlainInt(point, value)) {
        point = end;
        return value;
    }
    return readNumber(point, CAtol);
}

// Searches `letter` from `point` to the line's end; when found, moves `point` past it.
inline bool advancePast(const char*& point, char letter) {
    const char* p = point;
    while (*p != letter) {
        if (endsLine(*p))
            return false;
        ++p;
    }
    point = p + 1;
    return true;
}

// Calls `handle` with the start of every line; it returns where it stopped reading, at or before
// the line's end, and the next line is sought from there, or nullptr to stop before the next
// line. The text itself is only read. A last line without a line feed may run to the text's end
// with nothing after it, so it is handed over as a zero-terminated copy.
template <typename Handler> void forEachLine(const char* text, const char* end, Handler handle) {
    const char* lastLine = end;
    while (lastLine > text && lastLine[-1] != '\n')
        --lastLine;
    while (text < lastLine) {
        const char* p = handle(text);
        if (p == nullptr)
            return;
        while (*p != '\n')
            ++p;
        text = p + 1;
    }
    if (lastLine < end) {
        const std::string last(lastLine, end);
        handle(last.c_str());
    }
}

// At most one record per block line: the number of lines starting with "N" or "n". A line starts
// the text or follows a line feed. The inner loop has no branch on the bytes and counts in a byte,
// so that it runs on vectors.
inline std::size_t countBlockLines(const char* text, const char* end) {
    if (text >= end)
        return 0;
    std::size_t count = upper(*text) == 'N' ? 1 : 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const auto size = static_cast<std::size_t>(end - text);
    for (std::size_t i = 1; i < size;) {
        const std::size_t stretchEnd = std::min(size, i + 255);
        unsigned char stretch = 0;
        for (; i < stretchEnd; ++i)
            stretch = static_cast<unsigned char>(
                stretch + ((bytes[i - 1] == '\n') & ((bytes[i] | 0x20) == 'n')));
        count += stretch;
    }
    return count;
}

inline void presetPosition(const char* line, ReadState& state) {
    const char* point = line;
    if (advancePast(point, 'X')) {
        state.record.x = takeFloat(point);
        state.known |= kXField;
    }
    if (advancePast(point, 'Y')) {
        state.record.y = takeFloat(point);
        state.known |= kYField;
    }
    if (advancePast(point, 'Z')) {
        state.record.z = takeFloat(point);
        state.known |= kZField;
    }
}

inline std::uint8_t removalKindOf(char letter) {
    switch (upper(letter)) {
    case 'A':
        return 1;
    case 'V':
        return 2;
    case 'U':
        return 3;
    case 'D':
        return 4;
    default:
        return 0;
    }
}

// Moves one axis to the number after `letter`, if the letter follows; returns the change.
inline float moveAxis(const char*& point, char letter, float& axis, unsigned word,
                      ReadState& state) {
    if (!advancePast(point, letter))
        return 0.0f;
    const float value = takeFloat(point);
    const float delta = value - axis;
    axis = value;
    if (!(state.known & word))
        state.unknownMoves |= word;
    state.known |= word;
    return delta;
}

inline void readRemoval(const char*& point, ReadState& state) {
    if (!advancePast(point, '('))
        return;
    const char letter = *point;
    if (const std::uint8_t kind = removalKindOf(letter)) {
        state.record.removalKind = kind;
        ++point;
        state.record.removal = takeFloat(point);
        state.known |= kRemovalFields;
    } else if (upper(letter) == 'N') {
        state.record.removalKind = 0;
        state.record.removal = 0.0f;
        state.known |= kRemovalFields;
    }
}

// A block line: emits one record. A line without ")" has no block and changes nothing. Returns
// where the reading stopped.
template <typename Sink> const char* readBlock(const char* line, ReadState& state, Sink& sink) {
    const char* point = line + 1;
    const std::int32_t blockNo = takeInt(point);
    if (!advancePast(point, ')'))
        return line;
    CutRecord& record = state.record;
    record.blockNo = blockNo;
    record.motionCode = std::uint8_t{4};
    if (upper(*point) == 'G') {
        ++point;
        record.motionCode = static_cast<std::uint8_t>(takeInt(point));
    }
    state.known |= kBlockField | kMotionField;
    const float dx = moveAxis(point, 'X', record.x, kXField, state);
    const float dy = moveAxis(point, 'Y', record.y, kYField, state);
    const float dz = moveAxis(point, 'Z', record.z, kZField, state);
    if (advancePast(point, 'F')) {
        record.orgFeed = takeInt(point);
        state.known |= kOrgFeedField;
    }
    readRemoval(point, state);
    if (advancePast(point, 'F')) {
        record.optFeed = takeInt(point);
        state.known |= kOptFeedField;
    }
    sink.add(state, dx, dy, dz);
    state.unknownMoves = 0;
    return point;
}

// Reads one line, handing `sink` every record and every preset of the position; returns where the
// reading stopped, at or before the line's end.
template <typename Sink> const char* readLine(const char* line, ReadState& state, Sink& sink) {
    switch (upper(line[0])) {
    case 'G':
        if (line[1] == '9' && line[2] == '2') {
            presetPosition(line, state);
            sink.preset(state);
        }
        break;
    case 'T':
        state.record.toolNo =
            static_cast<std::int16_t>(static_cast<std::uint16_t>(readNumber(line + 1, CStrtoul)));
        state.known |= kToolField;
        break;
    case 'N':
        return readBlock(line, state, sink);
    default:
        break;
    }
    return line;
}

} // namespace cuttext
