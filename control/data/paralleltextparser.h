#pragma once

#include "cutdataset.h"
#include "cutloader.h"
#include "partedload.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Reads a text's lines on several threads: the text is cut at line starts into parts, every part
// is read on its own and PartedLoad settles what a part could not know. There are a few parts per
// thread, and a thread that is done with its part takes the next one not taken, so that the
// threads end together however long their lines take. A text may come in stretches of whole
// lines, each read before the next arrives.
class ParallelTextParser {
public:
    // Some lines of the text and the most records they can give: their block lines.
    struct Lines {
        const char* begin = nullptr;
        const char* end = nullptr;
        std::size_t slots = 0;
    };

    ParallelTextParser(unsigned threads, LoadMonitor* monitor);

    // Reads `text`..`end`, the whole text, which is only read, and gives its data set; on one
    // thread in one part. Nothing when the monitor stopped it. Throws std::bad_alloc when the
    // arrays do not fit.
    std::optional<CutDataSet> parse(const char* text, const char* end);

    // Reads the next stretch of the text, in `parts` that follow each other; a stretch ends after
    // a line feed, except the text's last one. The bytes are not needed once this returns. Room is
    // made for `expected` records in all when the arrays must grow. False when the monitor
    // stopped it; throws as parse() does.
    bool read(const std::vector<Lines>& parts, std::size_t expected);
    // The data set once the last stretch has been read.
    CutDataSet finish() { return load_.finish(); }

    // The start of the first line that begins at or after `from`, or `end`.
    static const char* lineStartFrom(const char* text, const char* from, const char* end);

private:
    void readPart(std::size_t k, const Lines& lines);

    PartedLoad load_;
    unsigned threads_;
};
