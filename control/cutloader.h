#pragma once

#include "cutdataset.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Why a load failed. The automation interface only answers TRUE or FALSE; C++ callers and the
// command-line tool get the reason.
enum class LoadError {
    None,
    CannotOpen,  // missing, a folder, or no permission
    NotRegular,  // a named pipe or a device: never read, so it cannot stall the load
    Unreadable,  // an error while reading, or the file shrank during the read
    Empty,       // 0 bytes
    TooShort,    // a binary file shorter than its 12-byte header
    Truncated,   // a binary entry whose field does not fit; `offset` is where the field starts
    OutOfMemory, //
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
LoadResult ReadWholeFile(const std::string& path, std::vector<char>& buffer);

// Buffer in, result out. `buffer` holds the file's bytes followed by one zero byte (as
// ReadWholeFile leaves it); the text parser cuts it into lines in place. `out` is replaced only
// on success.
LoadResult ParseCutText(std::span<char> buffer, CutDataSet& out);
// The same on `threads` threads (1: the sequential reader); the result is the same to the bit.
// The plain call takes the machine's cores for a text of some megabytes.
LoadResult ParseCutText(std::span<char> buffer, CutDataSet& out, unsigned threads);
LoadResult DecodeCutBinary(std::span<const char> buffer, CutDataSet& out);

// Path in: reads the file and decodes it. On failure `data` is left exactly as it was.
LoadResult ParseCutText(const std::string& path, CutDataSet& data);
LoadResult DecodeCutBinary(const std::string& path, CutDataSet& data);
LoadResult LoadCutFile(const std::string& path, bool text, CutDataSet& data);
