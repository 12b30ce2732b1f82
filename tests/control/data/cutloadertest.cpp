#include "cutdatatesting.h"

#include "../../platform/tempfolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ReadFailureCase {
    const char* name;
    const char* file; // in the test folder; "." is the folder itself
    LoadError error;
    const char* reason;
};

TEST(CutLoader, FailedLoadsKeepThePreviousDataSetAndSayWhy) {
    TempFolder folder;
    writeBytes(folder.file("empty.txt"), "");
    writeBytes(folder.file("short.bin"), "12345678901");
    writeBytes(folder.file("cut.bin"), BinaryBytes().header(0, 0, 0).u16(0x0040).u16(5).bytes());
    const ReadFailureCase cases[] = {
        {"missing", "none.txt", LoadError::CannotOpen,
         "cannot open the file: No such file or directory"},
        {"a folder", ".", LoadError::CannotOpen, "cannot open the file: Is a directory"},
        {"empty", "empty.txt", LoadError::Empty, "the file is empty"},
        {"too short", "short.bin", LoadError::TooShort,
         "the file is shorter than its 12-byte header"},
        {"truncated", "cut.bin", LoadError::Truncated, "truncated entry at byte offset 14"},
    };
    for (const ReadFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = std::string(c.file) == "." ? folder.path() : folder.file(c.file);
        for (const bool text : {true, false}) {
            if (text && c.error != LoadError::CannotOpen && c.error != LoadError::Empty)
                continue; // a text file cannot be short or truncated
            const CutDataSet previous = previousDataSet();
            CutDataSet data = previous;
            const LoadResult result =
                LoadCutFile(path, text ? CutFormat::Text : CutFormat::Binary, data);
            EXPECT_EQ(result.error, c.error);
            EXPECT_EQ(result.reason(), c.reason);
            expectSameDataSet(data, previous);
        }
    }
}

// A named pipe, even one that a writer holds open, and a device are refused before a byte is
// read: reading would wait for the writer or never end.
TEST(CutLoader, RefusesWhatIsNotARegularFile) {
    TempFolder folder;
    const std::string pipe = folder.file("pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Read and write: the open neither waits for a reader nor leaves the pipe without a writer.
    const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "N1)G01X1\r\n", 10), 10);
    for (const std::string& path : {pipe, std::string("/dev/null"), std::string("/dev/zero")}) {
        for (const bool text : {true, false}) {
            SCOPED_TRACE(path + (text ? " text" : " binary"));
            const CutDataSet previous = previousDataSet();
            CutDataSet data = previous;
            const LoadResult result =
                LoadCutFile(path, text ? CutFormat::Text : CutFormat::Binary, data);
            EXPECT_EQ(result.error, LoadError::NotRegular);
            EXPECT_EQ(result.reason(), "not a regular file");
            expectSameDataSet(data, previous);
        }
    }
    ::close(writer);
}

// A monitor that asks to stop ends the read of either format with the reason; the previous data
// set stays. A monitored load that runs through reports its read.
TEST(CutLoader, MonitorStopsTheReadAndSeesItMoveOn) {
    TempFolder folder;
    writeBytes(folder.file("cut.txt"), "N1)G01X1(A1)\nN2)G01X2\n");
    writeBytes(folder.file("cut.bin"), BinaryBytes().header(0, 0, 0).u16(0x0008).f32(1).bytes());
    for (const bool text : {true, false}) {
        const std::string path = folder.file(text ? "cut.txt" : "cut.bin");
        LoadMonitor monitor;
        monitor.cancelled = true;
        CutDataSet data = previousDataSet();
        const LoadResult result = LoadCutFile(path, text ? CutFormat::Text : CutFormat::Binary,
                                              data, {.monitor = &monitor});
        EXPECT_EQ(result.error, LoadError::Cancelled) << path;
        EXPECT_EQ(result.reason(), "the load was cancelled");
        expectSameDataSet(data, previousDataSet());
        LoadMonitor running;
        EXPECT_TRUE(LoadCutFile(path, text ? CutFormat::Text : CutFormat::Binary, data,
                                {.monitor = &running})
                        .ok())
            << path;
        EXPECT_EQ(data.count, 2u) << path;
    }
}

// A binary file larger than a stretch of 32 MiB comes in whole, on every core: each entry in its
// place, the monitor sees the share go up, and a monitor that asks to stop stops the load.
TEST(CutLoader, ABinaryFileLargerThanAStretchComesInWholeAndStopsWhenAsked) {
    constexpr int kEntries = 6'000'000; // 6 bytes each: 36 MB
    std::string bytes;
    bytes.reserve(12 + std::size_t{6} * kEntries);
    BinaryBytes header;
    bytes = header.header(0, 0, 0).bytes();
    for (int i = 0; i < kEntries; ++i) {
        const float x = static_cast<float>(i);
        char entry[6] = {0x08, 0x00};
        std::memcpy(entry + 2, &x, sizeof x);
        bytes.append(entry, sizeof entry);
    }
    TempFolder folder;
    writeBytes(folder.file("big"), bytes);
    LoadMonitor running;
    CutDataSet data;
    ASSERT_TRUE(
        LoadCutFile(folder.file("big"), CutFormat::Binary, data, {.monitor = &running}).ok());
    ASSERT_EQ(data.count, kEntries + 1u);
    for (const int i : {0, 1, 5'592'404, 5'592'405, kEntries - 1})
        EXPECT_EQ(data.records[i + 1].x, static_cast<float>(i)) << i;
    EXPECT_GT(running.permille, 0);
    EXPECT_LE(running.permille, 1000);
    LoadMonitor stopped;
    stopped.cancelled = true;
    CutDataSet kept = previousDataSet();
    EXPECT_EQ(LoadCutFile(folder.file("big"), CutFormat::Binary, kept, {.monitor = &stopped}).error,
              LoadError::Cancelled);
    expectSameDataSet(kept, previousDataSet());
}

// A text whose last number runs up to the file's end, at a page's end, is read to its last digit,
// on one thread and on several.
TEST(CutLoader, TextEndingAtAPageEndIsReadToItsLastDigit) {
    TempFolder folder;
    const std::string line = "N1)G01X-16.762Y3F1400(A0.25)F2100\n";
    const std::string last = "N2)G01X2Y3F1400(A0.5)F123456";
    for (const std::size_t size : {std::size_t{4096}, std::size_t{12} << 20}) {
        SCOPED_TRACE(size);
        std::string text;
        text.reserve(size);
        while (text.size() + line.size() + last.size() <= size)
            text += line;
        text.append(size - text.size() - last.size(), '\n');
        text += last;
        ASSERT_EQ(text.size(), size);
        writeBytes(folder.file("t.txt"), text);
        CutDataSet data;
        ASSERT_TRUE(LoadCutFile(folder.file("t.txt"), CutFormat::Text, data).ok());
        ASSERT_EQ(data.count, (size - last.size()) / line.size() + 1);
        EXPECT_EQ(data.records.back().optFeed, 123456);
        EXPECT_EQ(data.records.back().x, 2.0f);
        EXPECT_EQ(data.records.front().x, -16.762f);
    }
}

TEST(CutLoader, OtherReasons) {
    EXPECT_EQ(LoadResult{LoadError::OutOfMemory}.reason(), "out of memory");
    EXPECT_EQ((LoadResult{LoadError::Unreadable, 0, EIO}.reason()),
              std::string("cannot read the whole file: ") + std::strerror(EIO));
    EXPECT_EQ(LoadResult{LoadError::Unreadable}.reason(), "cannot read the whole file");
}

TEST(CutLoader, TheFlagChoosesTheLoader) {
    TempFolder folder;
    const std::string binary = BinaryBytes().header(1, 2, 3).u16(0x0002).i32(77).bytes();
    writeBytes(folder.file("data"), binary);
    CutDataSet data;
    ASSERT_TRUE(LoadCutFile(folder.file("data"), CutFormat::Binary, data).ok());
    EXPECT_EQ(data.count, 2u);
    EXPECT_EQ(data.blockNos.back(), 77);

    writeBytes(folder.file("data"), "N5)G01X1\r\nN6)G01X3\r\n");
    ASSERT_TRUE(LoadCutFile(folder.file("data"), CutFormat::Text, data).ok());
    EXPECT_EQ(data.blockNos, (LoadedArray<std::int32_t>{5, 6}));
    EXPECT_EQ(data.totalDistance, (LoadedArray<float>{1, 3}));
}

} // namespace
