// Fuzzes the text loader: any bytes must load (a text file has no way to fail but memory), give a
// data set that keeps every invariant, emit one record per block line at most, and give the same
// data set when read in parts on several threads.

#include "cutdatachecks.h"
#include "cutloader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct BlockLineCount {
    std::uint32_t atMost = 0;  // lines that start with "N"
    std::uint32_t atLeast = 0; // of those, the lines with a ")" before any CR or NUL
};

// Counts the block lines the way the loader sees them: cut at line feeds, each line ending at its
// first carriage return.
BlockLineCount CountBlockLines(const std::uint8_t* data, std::size_t size) {
    BlockLineCount lines;
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = start;
        while (end < size && data[end] != '\n')
            ++end;
        if (data[start] == 'N' || data[start] == 'n') {
            ++lines.atMost;
            for (std::size_t i = start + 1; i < end && data[i] != '\r' && data[i] != '\0'; ++i) {
                if (data[i] == ')') {
                    ++lines.atLeast;
                    break;
                }
            }
        }
        start = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> buffer(data, data + size);

    static const CutDataSet previous = PreviousDataSet();
    CutDataSet loaded = previous;
    const LoadResult result = LoadCutBytes(buffer, CutFormat::Text, loaded, {.threads = 1});
    if (!result.ok()) {
        if (result.error != (size == 0 ? LoadError::Empty : LoadError::OutOfMemory))
            FailInvariant("the text loader failed for a reason other than memory or emptiness");
        if (!SameDataSet(loaded, previous))
            FailInvariant("a failed text load changed the previous data set");
        return 0;
    }

    CheckLoadedDataSet(loaded);
    // Read in parts on several threads, the text gives the same data set to the bit.
    CutDataSet parallel;
    const unsigned threads = 2 + static_cast<unsigned>(size % 5);
    if (!LoadCutBytes(buffer, CutFormat::Text, parallel, {.threads = threads}).ok() ||
        !SameDataSet(parallel, loaded))
        FailInvariant("reading on several threads gave another data set");
    const BlockLineCount lines = CountBlockLines(data, size);
    if (loaded.count > lines.atMost || loaded.count < lines.atLeast)
        FailInvariant("record count does not match the block lines");
    for (const CutRecord& record : loaded.records) {
        if (record.removalKind > 4)
            FailInvariant("a text record has a removal kind above 4");
    }
    return 0;
}
