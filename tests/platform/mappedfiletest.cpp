#include "mappedfile.h"

#include "filedescriptor.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// The mapping shows the file's bytes; pages that the file no longer holds cannot be brought in,
// which populate() reports instead of the fault a read of them would raise.
TEST(MappedFile, ShowsTheBytesAndReportsPagesCutOffTheFile) {
    TempFolder folder;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::string bytes(static_cast<std::size_t>(3 * page + 100), 'a');
    for (std::size_t i = 0; i < bytes.size(); i += 97)
        bytes[i] = static_cast<char>('0' + i % 10);
    writeBytes(folder.file("f"), bytes);
    FileDescriptor fd(::open(folder.file("f").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(fd.valid());

    MappedFile mapped;
    ASSERT_TRUE(mapped.map(fd.get(), bytes.size()));
    ASSERT_EQ(mapped.size(), bytes.size());
    EXPECT_TRUE(mapped.populate(0, bytes.size()));
    EXPECT_EQ(std::string_view(mapped.data(), mapped.size()), bytes);

    MappedFile moved = std::move(mapped);
    EXPECT_EQ(mapped.data(), nullptr);
    ASSERT_EQ(::truncate(folder.file("f").c_str(), page), 0);
    EXPECT_TRUE(moved.populate(0, static_cast<std::size_t>(page)));
    EXPECT_FALSE(moved.populate(static_cast<std::size_t>(page), static_cast<std::size_t>(page)));
    EXPECT_FALSE(moved.populate(0, bytes.size()));
}

TEST(MappedFile, FailsWhereTheDescriptorCannotBeMapped) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    FileDescriptor reader(ends[0]);
    FileDescriptor writer(ends[1]);
    MappedFile mapped;
    EXPECT_FALSE(mapped.map(reader.get(), 4096));
    EXPECT_EQ(mapped.data(), nullptr);
}

} // namespace
