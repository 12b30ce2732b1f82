#pragma once

#include "cutloader.h"
#include "filedescriptor.h"

#include <cstddef>
#include <string>

// A regular file opened for a load and read in pieces into memory the load owns. The file's size
// and times to the nanosecond are noted when it is opened: a read that comes back short, or a file
// whose size, modification or change time differ afterwards, means that it changed while it was
// read. Nothing of the file is mapped, so a file cut short under the load cannot fault it.
class FilePieces {
public:
    // Opens `path`: a regular file that is not empty.
    LoadResult open(const std::string& path);

    // The size noted when the file was opened.
    std::size_t size() const { return static_cast<std::size_t>(file_.info.st_size); }

    // Reads bytes offset..offset + length - 1 into `target`, on any thread.
    LoadResult read(std::size_t offset, char* target, std::size_t length) const;

    // LoadError::Changed when the file's size, modification or change time are not those noted
    // when it was opened.
    LoadResult unchanged() const;

private:
    OpenedFile file_;
};
