#pragma once

#include "cutfields.h"
#include "numberconv.h"

#include <cstddef>
#include <cstring>
#include <string>

// The lines of the text format: one block per "N" line, "G92" lines preset the position, "T"
// lines change the tool; every other line is ignored. The words of a block line are searched in a
// fixed order, each search starting where the last successful one ended. Words that are missing
// keep their value (modal words).

// A removal word gives the removal kind and the removal together.
inline constexpr unsigned kRemovalFields = kRemovalKindField | kRemovalField;

namespace cuttext {

inline char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline float readFloat(const char* p) {
    return static_cast<float>(CAtof(p));
}

// Searches `letter` from `point`; when found, moves `point` past it.
inline bool advancePast(const char*& point, char letter) {
    const char* p = point;
    while (*p != letter) {
        if (*p == '\0')
            return false;
        ++p;
    }
    point = p + 1;
    return true;
}

// Calls `handle` with every line as a zero-terminated copy, cut at its line feed and ended at its
// first carriage return. The text itself is only read: it may be a mapped file.
template <typename Handler> void forEachLine(const char* text, const char* end, Handler handle) {
    std::string line;
    while (text < end) {
        const auto* feed =
            static_cast<const char*>(std::memchr(text, '\n', static_cast<std::size_t>(end - text)));
        const char* lineEnd = feed ? feed : end;
        const auto* cr = static_cast<const char*>(
            std::memchr(text, '\r', static_cast<std::size_t>(lineEnd - text)));
        line.assign(text, cr ? cr : lineEnd);
        handle(static_cast<const char*>(line.c_str()));
        text = lineEnd + 1;
    }
}

// At most one record per block line: the number of lines starting with "N" or "n".
inline std::size_t countBlockLines(const char* text, const char* end) {
    std::size_t count = 0;
    while (text < end) {
        if (upper(*text) == 'N')
            ++count;
        const void* feed = std::memchr(text, '\n', static_cast<std::size_t>(end - text));
        if (!feed)
            break;
        text = static_cast<const char*>(feed) + 1;
    }
    return count;
}

inline void presetPosition(const char* line, ReadState& state) {
    const char* point = line;
    if (advancePast(point, 'X')) {
        state.record.x = readFloat(point);
        state.known |= kXField;
    }
    if (advancePast(point, 'Y')) {
        state.record.y = readFloat(point);
        state.known |= kYField;
    }
    if (advancePast(point, 'Z')) {
        state.record.z = readFloat(point);
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
    const float value = readFloat(point);
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
        state.record.removal = readFloat(point);
        state.known |= kRemovalFields;
    } else if (upper(letter) == 'N') {
        state.record.removalKind = 0;
        state.record.removal = 0.0f;
        state.known |= kRemovalFields;
    }
}

// A block line: emits one record. A line without ")" has no block and changes nothing.
template <typename Sink> void readBlock(const char* line, ReadState& state, Sink& sink) {
    const char* point = line + 1;
    if (!advancePast(point, ')'))
        return;
    CutRecord& record = state.record;
    record.blockNo = CAtol(line + 1);
    record.motionCode =
        upper(*point) == 'G' ? static_cast<std::uint8_t>(CAtol(point + 1)) : std::uint8_t{4};
    state.known |= kBlockField | kMotionField;
    const float dx = moveAxis(point, 'X', record.x, kXField, state);
    const float dy = moveAxis(point, 'Y', record.y, kYField, state);
    const float dz = moveAxis(point, 'Z', record.z, kZField, state);
    if (advancePast(point, 'F')) {
        record.orgFeed = CAtol(point);
        state.known |= kOrgFeedField;
    }
    readRemoval(point, state);
    if (advancePast(point, 'F')) {
        record.optFeed = CAtol(point);
        state.known |= kOptFeedField;
    }
    sink.add(state, dx, dy, dz);
    state.unknownMoves = 0;
}

template <typename Sink> void readLine(const char* line, ReadState& state, Sink& sink) {
    switch (upper(line[0])) {
    case 'G':
        if (line[1] == '9' && line[2] == '2')
            presetPosition(line, state);
        break;
    case 'T':
        state.record.toolNo =
            static_cast<std::int16_t>(static_cast<std::uint16_t>(CStrtoul(line + 1)));
        state.known |= kToolField;
        break;
    case 'N':
        readBlock(line, state, sink);
        break;
    default:
        break;
    }
}

} // namespace cuttext
