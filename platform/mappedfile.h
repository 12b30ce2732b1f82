#pragma once

#include <cstddef>

// A regular file mapped read-only into memory. Its pages are the page cache's own: mapping a file
// that the system has cached costs neither a copy nor fresh memory, where reading it would clear
// and fill as many fresh pages as the file has bytes.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the first `size` bytes (at least one) of the open file `fd`; false with errno set when
    // the file system cannot map it.
    bool map(int fd, std::size_t size);

    // Brings bytes offset..offset + length - 1 into memory now, reading them where they are not
    // cached; false when they cannot be read, an error of the device or a file that has become
    // shorter. A system that cannot do this leaves the pages to be read on first use.
    bool populate(std::size_t offset, std::size_t length) const;

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void unmap();

    const char* data_ = nullptr;
    std::size_t size_ = 0;
};
