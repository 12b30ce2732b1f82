#pragma once

#include "cutdataset.h"
#include "cutloader.h"
#include "cuttextlines.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

// Reads a text file's lines on several threads. The text is cut at line starts into parts, and
// every part is read on its own, not knowing the modal words and the position before it: the
// records' fields it could not know, and the length of the few blocks that moved from a position
// set before the part, are filled in once every part's end state is known. The distances are
// then summed record by record, as the sequential reader sums them, so the data set is the same
// to the bit.
class ParallelTextParser {
public:
    // `text`..`end` is the file's text, cut into lines in place while it is read.
    ParallelTextParser(char* text, char* end, unsigned parts, LoadMonitor* monitor = nullptr);

    // What parse() throws when the monitor asks it to stop.
    struct Cancelled {};

    // Throws std::bad_alloc when the arrays do not fit.
    CutDataSet parse();

private:
    static constexpr int kWordCount = 7;

    // A block that moved from a position set before its part: its step waits for that position.
    struct PendingStep {
        std::uint32_t record;
        std::array<float, 3> delta;
        unsigned axes;
    };

    struct Part {
        char* begin = nullptr;
        char* end = nullptr;
        std::size_t slots = 0; // its block lines: at most one record each
        std::size_t first = 0; // where its records go
        std::uint32_t count = 0;
        TextState state; // at the part's end
        // Per modal word, the records before this one take the word's value from before the part.
        std::array<std::uint32_t, kWordCount> firstKnown{};
        std::vector<PendingStep> pending;
        std::array<float, kMaximaCount> maxima{};
    };

    class PartSink;

    void split(char* text, char* end, unsigned parts);
    void allocate(std::size_t slots);
    void read(Part& part);
    void closeGaps();
    void complete(Part& part, const CutRecord& before);
    void takeEarlierWords(const Part& part, const CutRecord& before);
    void indexMoves();
    void sumDistances(std::vector<float>& distances);

    void lineDone(const Part& part, std::uint32_t& lines, std::uint32_t& counted);

    std::vector<Part> parts_;
    CutDataSet data_;
    LoadMonitor* monitor_;
    std::size_t slots_ = 0;
    std::atomic<std::size_t> recordsRead_{0};
};
