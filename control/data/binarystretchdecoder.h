#pragma once

#include "cutloader.h"
#include "partedload.h"

#include <cstddef>
#include <span>

// Decodes a binary file's entries a stretch of bytes at a time, each stretch in parts on the
// loaders' threads. A stretch holds 12 bytes in the header's place (the file's header in the first
// stretch; any bytes later) and then whole entries, the last of which may be cut off by the
// stretch's end: its bytes begin the next stretch. The data set is the same to the bit however the
// file is cut into stretches.
class BinaryStretchDecoder {
public:
    struct Stretch {
        LoadResult result;
        // Where the whole entries end within the stretch: the next stretch begins with the bytes
        // from here on.
        std::size_t end = 0;
        // A flag word whose low byte is zero ended the data before the stretch's end.
        bool dataEnded = false;
    };

    BinaryStretchDecoder(unsigned threads, LoadMonitor* monitor);

    // Decodes the whole entries of `stretch`, which ends `readShare` of the way through the file
    // (1: the file ends with it, and an entry cut off there is truncated). The arrays are made
    // room for as many records as the file will give at the rate seen so far, and an eighth more.
    // Throws std::bad_alloc when the arrays do not fit.
    Stretch decode(std::span<const unsigned char> stretch, double readShare);
    // The data set once the last stretch has been decoded; its record 0 is the header's start
    // point.
    CutDataSet finish() {
        CutDataSet data = load_.finish();
        data.moves.startPoint = true;
        return data;
    }

private:
    const unsigned char* decodePart(std::size_t k, const unsigned char* bytes, std::size_t entry,
                                    std::size_t offset, std::size_t last);

    PartedLoad load_;
    unsigned threads_;
};
