#pragma once

// The loaders: a text or binary file of monitoring data in, a CutDataSet out. The words they use,
// one idea each:
//   record   what the data set keeps of one NC block: its fields and running distances.
//   block    an NC block of the program, named by its block number; nothing else.
//   entry    one record of the binary format: a flag word and the fields it names.
//   piece    bytes of the file that one thread reads at a time (32 MiB of a file read whole).
//   stretch  32 MiB of whole lines of a large text, read and decoded before the next is read.
//   part     records decoded on their own, on any thread; the parted load settles afterwards
//            what a part could not know (the fields and position before it).
//   span     records that the index pass after the parts goes over once, on any thread.
//   walk     the binary scan's way over the flag words from a place in the file (cutbinaryscan.h).
//   group    4096 records whose move sums the move index keeps.
//   leaf     16 records whose ranges the drawing index keeps (cutindex.h).

#include "cutdataset.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

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
    // The phases of a monitored load, by where each ends in thousandths of the whole: a file
    // read whole comes in first; the records are decoded (a text read in stretches reads and
    // decodes together, from 0); what is left completes the data set (distances and indexes).
    static constexpr int kWholeFileReadEnds = 400;
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

// Reads a whole file into `buffer`: its bytes followed by one zero byte. Reads until every byte
// has arrived.
LoadResult ReadWholeFile(const std::string& path, LoadedArray<char>& buffer,
                         LoadMonitor* monitor = nullptr);

// Buffer in, result out. `buffer` holds the file's bytes followed by one zero byte (as
// ReadWholeFile leaves it); it is only read. `out` is replaced only on success.
LoadResult ParseCutText(std::span<const char> buffer, CutDataSet& out);
// The threads for a file of `bytes` bytes: the machine's cores (at most 8) for some megabytes.
unsigned CutLoadThreads(std::size_t bytes);
// The same on `threads` threads (1: the sequential reader); the result is the same to the bit.
// The plain call takes CutLoadThreads(bytes). A monitor follows the parsing on several threads
// and may stop it.
LoadResult ParseCutText(std::span<const char> buffer, CutDataSet& out, unsigned threads,
                        LoadMonitor* monitor = nullptr);
// The binary decoder on CutLoadThreads(bytes) threads.
LoadResult DecodeCutBinary(std::span<const char> buffer, CutDataSet& out);

// The same for a file's bytes alone, without a zero byte after them, on `threads`
// threads (1: the sequential reader and decoder; the result is the same to the bit). A monitor
// follows the work on several threads and may stop it.
LoadResult ParseCutTextBytes(std::span<const char> bytes, CutDataSet& out, unsigned threads,
                             LoadMonitor* monitor = nullptr);
LoadResult DecodeCutBinaryBytes(std::span<const char> bytes, CutDataSet& out, unsigned threads,
                                LoadMonitor* monitor = nullptr);

// Path in: reads the file in pieces into memory of the load's own and decodes it; a large text is
// decoded piece by piece as it comes in, so that the load never holds the whole file. A file whose
// size, modification or change time differ after the read from before it fails with
// LoadError::Changed. On failure `data` is left exactly as it was. A monitor follows the read and
// the decoding and may stop them.
LoadResult ParseCutText(const std::string& path, CutDataSet& data, LoadMonitor* monitor = nullptr);
LoadResult DecodeCutBinary(const std::string& path, CutDataSet& data,
                           LoadMonitor* monitor = nullptr);
LoadResult LoadCutFile(const std::string& path, bool text, CutDataSet& data,
                       LoadMonitor* monitor = nullptr);
