#pragma once

#include "cutloader.h"
#include "filepieces.h"

#include <string>
#include <vector>

// A whole file's bytes read into memory for the decoders, in pieces of 32 MiB on the loaders'
// threads. A monitor follows the file coming in as the first share of the load, and may stop it.
class WholeFile {
public:
    // Reads the file into `buffer`: its bytes followed by one zero byte. `buffer` is replaced only
    // on success.
    static LoadResult read(const std::string& path, LoadedArray<char>& buffer,
                           LoadMonitor* monitor);
    // The same for a file opened for the load; LoadError::Changed when it changed meanwhile.
    static LoadResult read(const FilePieces& file, LoadedArray<char>& buffer, LoadMonitor* monitor);
};
