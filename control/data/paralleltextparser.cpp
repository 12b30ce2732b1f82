#include "paralleltextparser.h"

#include "cuttextlines.h"
#include "runeach.h"

#include <algorithm>
#include <cstring>

ParallelTextParser::ParallelTextParser(unsigned threads, LoadMonitor* monitor)
    : load_(PartedLoad::Delta::NewLessOld, monitor, threads), threads_(threads) {}

const char* ParallelTextParser::lineStartFrom(const char* text, const char* from, const char* end) {
    if (from == text || from >= end || from[-1] == '\n')
        return std::min(from, end);
    const auto* feed =
        static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
    return feed ? feed + 1 : end;
}

// The text cut at the line starts nearest to equal shares, each part with its block lines; an
// empty text is one empty part.
std::optional<CutDataSet> ParallelTextParser::parse(const char* text, const char* end) {
    const std::size_t size = static_cast<std::size_t>(end - text);
    const unsigned count = threads_ > 1 ? threads_ * kPiecesPerThread : 1;
    std::vector<Lines> parts;
    const char* begin = text;
    for (unsigned k = 1; k <= count && (begin < end || parts.empty()); ++k) {
        const char* cut = lineStartFrom(text, text + size * k / count, end);
        parts.push_back({begin, std::max(cut, begin), 0});
        begin = parts.back().end;
    }
    runShared(parts.size(), threads_, [&](std::size_t k) {
        parts[k].slots = cuttext::countBlockLines(parts[k].begin, parts[k].end);
    });
    if (!read(parts, 0))
        return std::nullopt;
    return finish();
}

bool ParallelTextParser::read(const std::vector<Lines>& parts, std::size_t expected) {
    const std::size_t first = load_.parts();
    std::vector<std::size_t> slots;
    slots.reserve(parts.size());
    for (const Lines& part : parts)
        slots.push_back(part.slots);
    load_.addParts(slots, expected);
    runShared(parts.size(), threads_, [&](std::size_t k) { readPart(first + k, parts[k]); });
    load_.closeGaps();
    return !load_.stopped();
}

void ParallelTextParser::readPart(std::size_t k, const Lines& lines) {
    if (load_.stopped())
        return;
    PartedLoad::Part& part = load_.part(k);
    PartedLoad::Sink sink(part, load_.data());
    std::uint32_t steps = 0;
    std::uint32_t counted = 0;
    cuttext::forEachLine(lines.begin, lines.end, [&](const char* line) {
        const char* stop = cuttext::readLine(line, part.state, sink);
        return load_.stepDone(part, steps, counted) ? stop : nullptr;
    });
    load_.partDone(part, counted);
}
