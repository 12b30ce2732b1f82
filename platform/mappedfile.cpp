#include "mappedfile.h"

#include <cerrno>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22
#endif

MappedFile::~MappedFile() {
    unmap();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        unmap();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool MappedFile::map(int fd, std::size_t size) {
    unmap();
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED)
        return false;
    data_ = static_cast<const char*>(mapped);
    size_ = size;
    return true;
}

bool MappedFile::populate(std::size_t offset, std::size_t length) const {
    static const auto kPage = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data_ + offset) & ~(kPage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data_ + offset + length);
    while (::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_READ) != 0) {
        if (errno == EINVAL) // a kernel without it: the pages come in on first use
            return true;
        if (errno != EINTR && errno != EAGAIN)
            return false;
    }
    return true;
}

void MappedFile::unmap() {
    if (data_)
        ::munmap(const_cast<char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}
