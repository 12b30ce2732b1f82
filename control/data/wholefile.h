#pragma once

#include "cutloader.h"
#include "filepieces.h"

#include <string>
#include <vector>

// A whole file's bytes read into memory for the decoders, in pieces of 32 MiB on the loaders'
// threads. A monitor follows the file coming in as the first share of the load, and may stop it.
class WholeFile {
public:
    // Reads the file opened for the load into `buffer`, which is replaced only on success;
    // LoadError::Changed when the file changed meanwhile.
    static LoadResult read(const FilePieces& file, LoadedArray<char>& buffer, LoadMonitor* monitor);
};
