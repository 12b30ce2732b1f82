#include "cutbuilder.h"
#include "cutloader.h"
#include "numberconv.h"

#include <cstring>
#include <new>

// The text format: one block per "N" line, "G92" lines preset the position, "T" lines change the
// tool; every other line is ignored. The words of a block line are searched in a fixed order,
// each search starting where the last successful one ended.

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

float readFloat(const char* p) {
    return static_cast<float>(CAtof(p));
}

// Searches `letter` from `point`; when found, moves `point` past it.
bool advancePast(const char*& point, char letter) {
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
std::size_t countBlockLines(const char* text, const char* end) {
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

void presetPosition(const char* line, CutRecord& state) {
    const char* point = line;
    if (advancePast(point, 'X'))
        state.x = readFloat(point);
    if (advancePast(point, 'Y'))
        state.y = readFloat(point);
    if (advancePast(point, 'Z'))
        state.z = readFloat(point);
}

std::uint8_t removalKindOf(char letter) {
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
float moveAxis(const char*& point, char letter, float& axis) {
    if (!advancePast(point, letter))
        return 0.0f;
    const float value = readFloat(point);
    const float delta = value - axis;
    axis = value;
    return delta;
}

void readRemoval(const char*& point, CutRecord& state) {
    if (!advancePast(point, '('))
        return;
    const char letter = *point;
    if (const std::uint8_t kind = removalKindOf(letter)) {
        state.removalKind = kind;
        ++point;
        state.removal = readFloat(point);
    } else if (upper(letter) == 'N') {
        state.removalKind = 0;
        state.removal = 0.0f;
    }
}

// A block line: emits one record. A line without ")" has no block and changes nothing.
void readBlock(const char* line, CutRecord& state, CutBuilder& builder) {
    const char* point = std::strchr(line + 1, ')');
    if (!point)
        return;
    ++point;
    state.blockNo = CAtol(line + 1);
    state.motionCode =
        upper(*point) == 'G' ? static_cast<std::uint8_t>(CAtol(point + 1)) : std::uint8_t{4};
    const float dx = moveAxis(point, 'X', state.x);
    const float dy = moveAxis(point, 'Y', state.y);
    const float dz = moveAxis(point, 'Z', state.z);
    if (advancePast(point, 'F'))
        state.orgFeed = CAtol(point);
    readRemoval(point, state);
    if (advancePast(point, 'F'))
        state.optFeed = CAtol(point);
    builder.add(state, dx, dy, dz);
}

void readLine(const char* line, CutRecord& state, CutBuilder& builder) {
    switch (upper(line[0])) {
    case 'G':
        if (line[1] == '9' && line[2] == '2')
            presetPosition(line, state);
        break;
    case 'T':
        state.toolNo = static_cast<std::int16_t>(static_cast<std::uint16_t>(CStrtoul(line + 1)));
        break;
    case 'N':
        readBlock(line, state, builder);
        break;
    default:
        break;
    }
}

} // namespace

LoadResult ParseCutText(std::span<char> buffer, CutDataSet& out) {
    if (buffer.empty())
        return {LoadError::Empty};
    char* text = buffer.data();
    char* end = text + buffer.size() - 1;
    try {
        CutBuilder builder(countBlockLines(text, end));
        CutRecord state;
        forEachLine(text, end, [&](const char* line) { readLine(line, state, builder); });
        out = builder.take();
    } catch (const std::bad_alloc&) {
        return {LoadError::OutOfMemory};
    }
    return {};
}
