// Fuzzes the binary decoder, on a buffer and now and then through a file: either the load fails for
// a reason that the bytes explain and the previous data set stays whole, or it gives a data set
// that keeps every invariant and starts with the header position.

#include "cutbinaryscan.h"
#include "cutdatachecks.h"
#include "cutloader.h"
#include "scratchfolder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace {

using cutbinary::kHeaderSize;

float HeaderFloat(const std::uint8_t* data, std::size_t offset) {
    float value = 0.0f;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

void CheckFailure(const LoadResult& result, std::size_t size) {
    switch (result.error) {
    case LoadError::Empty:
        if (size != 0)
            FailInvariant("a buffer with bytes was rejected as empty");
        return;
    case LoadError::TooShort:
        if (size >= kHeaderSize)
            FailInvariant("a file with a whole header was rejected as too short");
        return;
    case LoadError::Truncated:
        if (result.offset < kHeaderSize || result.offset > size)
            FailInvariant("a truncated entry is reported outside the file");
        return;
    case LoadError::OutOfMemory:
        return;
    default:
        FailInvariant("the binary decoder failed for an unexpected reason");
    }
}

void CheckSuccess(const CutDataSet& loaded, const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize)
        FailInvariant("a file shorter than the header loaded");
    CheckLoadedDataSet(loaded);
    // Every entry that emits a record carries at least one field byte after its flag word.
    if (loaded.count < 1 || loaded.count - 1 > (size + 1 - kHeaderSize) / 3)
        FailInvariant("record count does not fit the file size");
    const CutRecord& first = loaded.records[0];
    const CutRecord header{
        0, 0, 255, HeaderFloat(data, 0), HeaderFloat(data, 4), HeaderFloat(data, 8)};
    if (!SameRecord(first, header) || loaded.totalDistance[0] != 0.0f ||
        loaded.cutDistance[0] != 0.0f)
        FailInvariant("record 0 is not the header position");
    for (const CutRecord& record : loaded.records) {
        if (record.removalKind > 3)
            FailInvariant("a binary record has a removal kind above 3");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> buffer(data, data + size);

    static const CutDataSet previous = PreviousDataSet();
    CutDataSet loaded = previous;
    const LoadResult result = LoadCutBytes(buffer, CutFormat::Binary, loaded, {.threads = 1});
    if (result.ok()) {
        CheckSuccess(loaded, data, size);
    } else {
        CheckFailure(result, size);
        if (!SameDataSet(loaded, previous))
            FailInvariant("a failed binary load changed the previous data set");
    }
    // Decoded in parts on several threads, the bytes give the same result and data set to the bit.
    CutDataSet parallel = previous;
    const unsigned threads = 2 + static_cast<unsigned>(size % 5);
    const LoadResult parallelResult =
        LoadCutBytes(buffer, CutFormat::Binary, parallel, {.threads = threads});
    if (parallelResult.error != result.error || parallelResult.offset != result.offset ||
        !SameDataSet(parallel, loaded))
        FailInvariant("decoding on several threads gave another result or data set");

    // The same bytes through a file, for one input size in 16 (the file round costs more than
    // the decoding): the file load must agree with the bytes, an empty file included.
    if (size % 16 != 0)
        return 0;
    const std::string path = ScratchFolder() + "/CUTDATA.bin";
    WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
    CutDataSet fromFile = previous;
    const LoadResult fileResult = LoadCutFile(path, CutFormat::Binary, fromFile);
    if (fileResult.error != result.error || fileResult.offset != result.offset ||
        !SameDataSet(fromFile, loaded))
        FailInvariant("loading through the file differs from loading the buffer");
    return 0;
}
