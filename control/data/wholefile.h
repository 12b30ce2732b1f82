#pragma once

#include "cutloader.h"
#include "mappedfile.h"

#include <span>
#include <string>
#include <vector>

// A whole file's bytes for the decoders: mapped where its file system can map it, read into memory
// where it cannot. A cached file is then decoded from the page cache's own pages, without the
// fresh memory and the copy of a read. A monitor follows the file coming in, in pieces of 32 MiB,
// as the first share of the load, and may stop it.
class WholeFile {
public:
    LoadResult open(const std::string& path, LoadMonitor* monitor);

    // The bytes of the file, valid as long as this object lives.
    std::span<const char> bytes() const { return bytes_; }

    // Reads the file into `buffer`: its bytes followed by one zero byte.
    static LoadResult read(const std::string& path, std::vector<char>& buffer,
                           LoadMonitor* monitor);

private:
    LoadResult populate(int fd, std::size_t size, LoadMonitor* monitor);

    MappedFile mapped_;
    std::vector<char> read_;
    std::span<const char> bytes_;
};
