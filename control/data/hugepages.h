#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>

// Asks the kernel to back the 2 MiB-aligned inside of a large, not yet touched block with huge
// pages. A large file and its records touch some hundred megabytes of fresh memory, and one fault
// per 4 KiB page costs more than the decoding itself, most of all on a virtual machine. The
// advice is only a hint: where it is not followed, nothing changes but the speed.
inline void adviseHugePages(const void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    if (bytes < 2 * kHugePage)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
