#pragma once

#include "cutdataset.h"
#include "cutloader.h"
#include "filepieces.h"
#include "piecedtextload.h"

#include <cstddef>

// A binary file read and decoded in stretches: each stretch is read into a buffer of the load's
// own, in pieces on the loaders' threads, and its whole entries are decoded before the next one is
// read; an entry cut off by a stretch's end begins the next. The load holds one stretch of the
// file at a time, never the whole of it, and stops reading where the data end.
class PiecedBinaryLoad {
public:
    static constexpr std::size_t kStretchBytes = PiecedTextLoad::kStretchBytes;

    PiecedBinaryLoad(unsigned threads, LoadMonitor* monitor,
                     std::size_t stretchBytes = kStretchBytes);

    // Reads and decodes `file`: LoadError::Changed when it changed during the read. `out` is
    // replaced only on success.
    LoadResult load(const FilePieces& file, CutDataSet& out);

private:
    LoadResult fill(const FilePieces& file, std::size_t offset, std::size_t at, std::size_t length);

    unsigned threads_;
    LoadMonitor* monitor_;
    std::size_t stretchBytes_;
    LoadedArray<char> buffer_;
};
