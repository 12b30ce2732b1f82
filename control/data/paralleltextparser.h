#pragma once

#include "cutdataset.h"
#include "cutloader.h"
#include "partedload.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Reads a text file's lines on several threads: the text is cut at line starts into parts, every
// part is read on its own and PartedLoad settles what a part could not know. There are a few parts
// per thread, and a thread that is done with its part takes the next one not taken, so that the
// threads end together however long their lines take.
class ParallelTextParser {
public:
    // `text`..`end` is the file's text, which is only read.
    ParallelTextParser(const char* text, const char* end, unsigned threads,
                       LoadMonitor* monitor = nullptr);

    // Throws std::bad_alloc when the arrays do not fit, PartedLoad::Cancelled when the monitor
    // asks it to stop.
    CutDataSet parse();

private:
    struct Lines {
        const char* begin = nullptr;
        const char* end = nullptr;
        std::size_t slots = 0; // its block lines: at most one record each
    };

    void split(const char* text, const char* end, unsigned parts);
    void read(std::size_t k);

    std::vector<Lines> lines_;
    std::unique_ptr<PartedLoad> load_;
    LoadMonitor* monitor_;
    unsigned threads_;
};
