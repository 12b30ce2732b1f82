#pragma once

// The loaders: a text or binary file of monitoring data in, a CutDataSet out. The words they use,
// one idea each:
//   record   what the data set keeps of one NC block: its fields and running distances.
//   block    an NC block of the program, named by its block number; nothing else.
//   entry    one record of the binary format: a flag word and the fields it names.
//   piece    bytes of a stretch that one thread reads.
//   stretch  4 MiB of a file (whole lines of a text, whole entries of a binary file), read and
//            decoded before the next is read.
//   part     records decoded on their own, on any thread; the parted load settles afterwards
//            what a part could not know (the fields and position before it).
//   span     records that the index pass after the parts goes over once, on any thread.
//   walk     the binary scan's way over the flag words from a place in the file (cutbinaryscan.h).
//   group    4096 records whose move sums the move index keeps.
//   leaf     16 records whose ranges the drawing index keeps (cutindex.h).

#include "cutdataset.h"
#include "cutformat.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Why a load failed. The automation interface only answers TRUE or FALSE; C++ callers and the
// command-line tool get the reason.
enum class LoadError {
    None,
    CannotOpen,  // missing, a folder, or no permission
    NotRegular,  // a named pipe or a device: never read, so it cannot stall the load
    Unreadable,  // an error while reading
    Changed,     // the file's size or times changed during the read, or it ended sooner
    Empty,       // 0 bytes
    TooShort,    // a binary file shorter than its 12-byte header
    Truncated,   // a binary entry whose field does not fit; `offset` is where the field starts
    OutOfMemory, //
    Cancelled,   // stopped through its LoadMonitor
};

// Lets another thread follow a load and stop it: the share done in thousandths, and the request
// to stop, which the load answers within some milliseconds with LoadError::Cancelled. `read`, when
// set, is called after each piece of the file has come in, on the thread that read it, before the
// next piece is begun on that thread.
struct LoadMonitor {
    // The phases of a monitored load, by where each ends in thousandths of the whole: the file
    // is read and decoded stretch by stretch; what is left completes the data set (distances
    // and indexes).
    static constexpr int kDecodingEnds = 950;

    std::atomic<int> permille{0};
    std::atomic<bool> cancelled{false};
    std::function<void()> read;
};

struct LoadResult {
    LoadError error = LoadError::None;
    std::uint64_t offset = 0; // byte offset for Truncated
    int systemError = 0;      // errno for CannotOpen and Unreadable, where the system gave one

    bool ok() const { return error == LoadError::None; }
    std::string reason() const; // e.g. "truncated entry at byte offset 1234"
};

// The format that a file's name ends with: ".txt" text, ".bin" binary, in any case; nothing for
// any other ending.
std::optional<CutFormat> CutFormatOfName(std::string_view path);

struct LoadOptions {
    // The threads that decode: 0 takes CutLoadThreads of the size; 1 decodes in order on the
    // calling thread. The data set is the same to the bit on any number.
    unsigned threads = 0;
    // Follows the load and may stop it; may be null.
    LoadMonitor* monitor = nullptr;
};

// The threads for a file of `bytes` bytes: the machine's cores (at most 8) for some megabytes.
unsigned CutLoadThreads(std::size_t bytes);

// Bytes in, data set out: the bytes of a whole file, which are only read. 0 bytes fail with
// LoadError::Empty, as an empty file does. `out` is replaced only on success.
LoadResult LoadCutBytes(std::span<const char> bytes, CutFormat format, CutDataSet& out,
                        const LoadOptions& options = {});

// Path in: reads the file in pieces into memory of the load's own and decodes it; a text is
// decoded stretch by stretch as it comes in, so that the load never holds the whole file. A file
// whose size, modification or change time differ after the read from before it fails with
// LoadError::Changed. On failure `out` is left exactly as it was.
LoadResult LoadCutFile(const std::string& path, CutFormat format, CutDataSet& out,
                       const LoadOptions& options = {});
