// Memory that runs out while a program is read, on the calling thread or on the thread that reads
// the second half of a large program: an error of the read, never an exception that ends the
// process. Allocations fail on demand through the program's own operator new.
#include "programfile.h"
#include "programtext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

namespace {

// Allocations of at least `from` and below `to` bytes fail while set.
std::atomic<std::size_t> gFailFrom{0};
std::atomic<std::size_t> gFailTo{0};

class FailingAllocations {
public:
    FailingAllocations(std::size_t from, std::size_t to) {
        gFailFrom = from;
        gFailTo = to;
    }
    ~FailingAllocations() { gFailTo = 0; }
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;
};

} // namespace

void* operator new(std::size_t size) {
    if (size >= gFailFrom && size < gFailTo)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

TEST(ProgramMemory, RunningOutIsAnErrorOfTheRead) {
    const auto path = std::filesystem::temp_directory_path() / "programmemorytest.nc";
    {
        std::ofstream file(path, std::ios::binary);
        const std::string line = "N10 G01 X1.000 Y2.000 Z3.000 F600\n";
        for (std::size_t written = 0; written < 40 * kMiB; written += line.size())
            file << line;
    }
    struct Case {
        const char* what;
        std::size_t from;
        std::size_t to;
    };
    // The whole text takes 40 MiB at once; the line starts of each half a few MiB on its thread.
    const Case cases[] = {
        {"the text", 32 * kMiB, 64 * kMiB},
        {"the line starts", kMiB, 16 * kMiB},
    };
    for (const Case& c : cases) {
        ProgramText text = ProgramText::of("N1\n");
        int error = 0;
        bool read = true;
        {
            const FailingAllocations failing(c.from, c.to);
            read = ProgramText::read(path.string(), text, error);
        }
        EXPECT_FALSE(read) << c.what;
        EXPECT_EQ(error, ENOMEM) << c.what;
        EXPECT_EQ(ProgramText::reasonOf(error), "out of memory") << c.what;
        EXPECT_EQ(text.lineCount(), 1u) << c.what;
    }
    ProgramText text;
    int error = 0;
    EXPECT_TRUE(ProgramText::read(path.string(), text, error)) << "with memory enough";
    std::filesystem::remove(path);
}

// The panel's line index and the control's block numbers never take the text whole, nor any
// other piece of more than a few MiB at once: with every allocation of 2 MiB or more failing,
// a 40 MiB program of short lines is read (the lines' starts alone take 9 MiB).
TEST(ProgramMemory, PiecesAreReadWithoutALargeAllocation) {
    const auto path = std::filesystem::temp_directory_path() / "programmemorypieces.nc";
    const std::string line = "N10 G01 X1.000 Y2.000 Z3.000 F600\n";
    std::size_t lines = 0;
    {
        std::ofstream file(path, std::ios::binary);
        for (std::size_t written = 0; written < 40 * kMiB; written += line.size(), ++lines)
            file << line;
    }
    const FailingAllocations failing(2 * kMiB, SIZE_MAX);
    ProgramFile file;
    int error = 0;
    EXPECT_TRUE(ProgramFile::read(path.string(), file, error)) << error;
    EXPECT_EQ(file.lineCount(), lines);
    EXPECT_EQ(file.head(lines, 100), line.substr(0, line.size() - 1));
    ProgramText text;
    EXPECT_FALSE(ProgramText::read(path.string(), text, error)) << "the whole text at once";
    std::filesystem::remove(path);
}

} // namespace
