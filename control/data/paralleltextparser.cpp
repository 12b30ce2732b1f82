#include "paralleltextparser.h"

#include "cuttextlines.h"
#include "runeach.h"

#include <cstring>

ParallelTextParser::ParallelTextParser(const char* text, const char* end, unsigned threads,
                                       LoadMonitor* monitor)
    : monitor_(monitor), threads_(threads) {
    split(text, end, threads * kPiecesPerThread);
}

// Cuts the text at the line starts nearest to equal shares; an empty text is one empty part.
void ParallelTextParser::split(const char* text, const char* end, unsigned parts) {
    const std::size_t size = static_cast<std::size_t>(end - text);
    const char* begin = text;
    for (unsigned k = 1; k <= parts && (begin < end || lines_.empty()); ++k) {
        const char* cut = k == parts ? end : text + size * k / parts;
        if (cut < begin)
            cut = begin;
        if (cut < end) {
            const auto* feed = static_cast<const char*>(
                std::memchr(cut, '\n', static_cast<std::size_t>(end - cut)));
            cut = feed ? feed + 1 : end;
        }
        lines_.push_back({begin, cut, 0});
        begin = cut;
    }
}

void ParallelTextParser::read(std::size_t k) {
    PartedLoad::Part& part = load_->part(k);
    PartedLoad::Sink sink(part, load_->data());
    std::uint32_t lines = 0;
    std::uint32_t counted = 0;
    cuttext::forEachLine(lines_[k].begin, lines_[k].end, [&](const char* line) {
        const char* stop = cuttext::readLine(line, part.state, sink);
        load_->stepDone(part, lines, counted);
        return stop;
    });
    load_->partDone(part, counted);
}

CutDataSet ParallelTextParser::parse() {
    runShared(lines_.size(), threads_, [&](std::size_t k) {
        lines_[k].slots = cuttext::countBlockLines(lines_[k].begin, lines_[k].end);
    });
    std::vector<std::size_t> slots;
    for (const Lines& part : lines_)
        slots.push_back(part.slots);
    load_ = std::make_unique<PartedLoad>(slots, PartedLoad::Delta::NewLessOld, monitor_, threads_);
    runShared(lines_.size(), threads_, [&](std::size_t k) { read(k); });
    return load_->finish();
}
