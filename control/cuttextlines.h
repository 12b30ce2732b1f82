#pragma once

#include "cutrecord.h"
#include "numberconv.h"

#include <cstddef>
#include <cstring>

// The lines of the text format: one block per "N" line, "G92" lines preset the position, "T"
// lines change the tool; every other line is ignored. The words of a block line are searched in a
// fixed order, each search starting where the last successful one ended. Words that are missing
// keep their value (modal words).

// The modal words.
enum ModalWord : unsigned {
    kToolWord = 1u << 0,
    kXWord = 1u << 1,
    kYWord = 1u << 2,
    kZWord = 1u << 3,
    kOrgFeedWord = 1u << 4,
    kRemovalWord = 1u << 5, // the removal kind and the removal
    kOptFeedWord = 1u << 6,
    kAllWords = (1u << 7) - 1,
};

// The state the lines change. A part of a file read on its own starts without knowing the modal
// words; `known` tells which ones its lines have set so far, `unknownMoves` which axes of the
// last block moved from a position set before the part.
struct TextState {
    CutRecord record;
    unsigned known = kAllWords;
    unsigned unknownMoves = 0;
};

namespace cuttext {

inline char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline float readFloat(const char* p) {
    return static_cast<float>(CAtof(p));
}

// Searches `letter` from `point`; when found, moves `point` past it.
inline bool advancePast(const char*& point, char letter) {
    const char* found = std::strchr(point, letter);
    if (!found)
        return false;
    point = found + 1;
    return true;
}

// Calls `handle` with every line, cut at its line feed and ended at its first carriage return.
template <typename Handler> void forEachLine(char* text, char* end, Handler handle) {
    while (text < end) {
        auto* feed =
            static_cast<char*>(std::memchr(text, '\n', static_cast<std::size_t>(end - text)));
        char* lineEnd = feed ? feed : end;
        *lineEnd = '\0';
        if (auto* cr = static_cast<char*>(
                std::memchr(text, '\r', static_cast<std::size_t>(lineEnd - text))))
            *cr = '\0';
        handle(static_cast<const char*>(text));
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

inline void presetPosition(const char* line, TextState& state) {
    const char* point = line;
    if (advancePast(point, 'X')) {
        state.record.x = readFloat(point);
        state.known |= kXWord;
    }
    if (advancePast(point, 'Y')) {
        state.record.y = readFloat(point);
        state.known |= kYWord;
    }
    if (advancePast(point, 'Z')) {
        state.record.z = readFloat(point);
        state.known |= kZWord;
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
                      TextState& state) {
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

inline void readRemoval(const char*& point, TextState& state) {
    if (!advancePast(point, '('))
        return;
    const char letter = *point;
    if (const std::uint8_t kind = removalKindOf(letter)) {
        state.record.removalKind = kind;
        ++point;
        state.record.removal = readFloat(point);
        state.known |= kRemovalWord;
    } else if (upper(letter) == 'N') {
        state.record.removalKind = 0;
        state.record.removal = 0.0f;
        state.known |= kRemovalWord;
    }
}

// A block line: emits one record. A line without ")" has no block and changes nothing.
template <typename Sink> void readBlock(const char* line, TextState& state, Sink& sink) {
    const char* point = std::strchr(line + 1, ')');
    if (!point)
        return;
    ++point;
    CutRecord& record = state.record;
    record.blockNo = CAtol(line + 1);
    record.motionCode =
        upper(*point) == 'G' ? static_cast<std::uint8_t>(CAtol(point + 1)) : std::uint8_t{4};
    const float dx = moveAxis(point, 'X', record.x, kXWord, state);
    const float dy = moveAxis(point, 'Y', record.y, kYWord, state);
    const float dz = moveAxis(point, 'Z', record.z, kZWord, state);
    if (advancePast(point, 'F')) {
        record.orgFeed = CAtol(point);
        state.known |= kOrgFeedWord;
    }
    readRemoval(point, state);
    if (advancePast(point, 'F')) {
        record.optFeed = CAtol(point);
        state.known |= kOptFeedWord;
    }
    sink.add(state, dx, dy, dz);
    state.unknownMoves = 0;
}

template <typename Sink> void readLine(const char* line, TextState& state, Sink& sink) {
    switch (upper(line[0])) {
    case 'G':
        if (line[1] == '9' && line[2] == '2')
            presetPosition(line, state);
        break;
    case 'T':
        state.record.toolNo =
            static_cast<std::int16_t>(static_cast<std::uint16_t>(CStrtoul(line + 1)));
        state.known |= kToolWord;
        break;
    case 'N':
        readBlock(line, state, sink);
        break;
    default:
        break;
    }
}

} // namespace cuttext
