#include "../platform/tempfolder.h"
#include "binarycutwriter.h"
#include "bitidenticaltesting.h"
#include "cutdatatesting.h"
#include "cutsynthesizer.h"
#include "piecedtextload.h"
#include "referenceload.h"
#include "textcutwriter.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <functional>
#include <new>
#include <random>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

// Reading a text in parts on several threads, whole or in stretches as a file comes in, gives the
// data set of the reference reader (record by record) to the bit: records, distances, block numbers
// and maxima.

namespace {

CutDataSet parseOn(const std::string& text, unsigned threads) {
    CutDataSet data;
    const LoadResult result = parseText(text, data, threads);
    EXPECT_TRUE(result.ok()) << result.reason();
    return data;
}

void expectSameOnEveryThreadCount(const std::string& text, const std::string& name) {
    const CutDataSet reference = ReferenceTextLoad(text);
    for (unsigned threads = 1; threads <= 9; ++threads)
        expectBitIdentical(parseOn(text, threads), reference,
                           name + " on " + std::to_string(threads) + " threads");
}

// Lines of every kind the format knows, most words left out now and then so that they keep
// their value across the cuts between parts: G92 presets of some axes, tool lines, block lines
// without ")", without G, with every removal kind or an unknown one, lower case, NaN, infinity,
// hexadecimal numbers, comments, program lines, blank lines, CR LF and NUL bytes.
std::string randomText(unsigned seed, int lines) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    const char* const numbers[] = {"1.5",    "-2.25", "0",  "12.125", "nan",    "inf",
                                   "0x1p-3", "1e39",  "-0", "7",      "3.0e-2", "100000"};
    const auto number = [&] { return std::string(numbers[percent(random) % 12]); };
    const auto maybe = [&](int chance, const std::string& word) {
        return percent(random) < chance ? word : std::string();
    };
    const char* const kinds = "AVUDNQavn";
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const int kind = percent(random);
        std::string line;
        if (kind < 4) {
            line = std::string(percent(random) < 50 ? "G92" : "g92") + maybe(60, "X" + number()) +
                   maybe(60, "Y" + number()) + maybe(60, "Z" + number());
        } else if (kind < 8) {
            line = (percent(random) < 80 ? "T" : "t") + std::to_string(percent(random) % 7);
        } else if (kind < 12) {
            line = percent(random) < 50 ? "(COMMENT)" : percent(random) < 50 ? "M06" : "";
        } else if (kind < 14) {
            line = "N" + std::to_string(i) + " G01X" + number();
        } else {
            line = (percent(random) < 90 ? "N" : "n") + std::to_string(i * 3 - 40) + "(B" +
                   std::to_string(i) + ")" + maybe(90, "G0" + std::to_string(percent(random) % 4)) +
                   maybe(40, "X" + number()) + maybe(40, "Y" + number()) +
                   maybe(30, "Z" + number()) +
                   maybe(20, "F" + std::to_string(percent(random) * 50)) +
                   maybe(50, "(" + std::string(1, kinds[percent(random) % 9]) + number() + ")") +
                   maybe(30, "F" + std::to_string(percent(random) * 40));
        }
        if (percent(random) < 2)
            line.insert(line.size() / 2, 1, '\0');
        text += line + (percent(random) < 30 ? "\r\n" : "\n");
    }
    return text;
}

TEST(ParallelTextParser, RandomLinesGiveTheSequentialDataSet) {
    for (const unsigned seed : {1u, 2u, 3u, 4u})
        expectSameOnEveryThreadCount(randomText(seed, 3000), "seed " + std::to_string(seed));
    // Parts without a single block line, and parts that only set words.
    expectSameOnEveryThreadCount("T2\nG92X1Y2Z3\n%\n(A)\nN1)G01X5\nT3\nN2)X6\n", "short text");
    expectSameOnEveryThreadCount("N1)G01X5(A1)", "one line without line feed");
    expectSameOnEveryThreadCount("\n", "one blank line");
}

TEST(ParallelTextParser, GeneratedFilesGiveTheSequentialDataSet) {
    for (const std::uint64_t seed : {1u, 9u}) {
        TextCutWriter writer;
        CutSynthesizer(seed).generate(20000, writer);
        expectSameOnEveryThreadCount(writer.contents(), "generated seed " + std::to_string(seed));
    }
}

// A text that ends where the mapped memory ends: the page after its last byte is not readable, as
// after a mapped file whose size is a multiple of the page size.
class TextBeforeGuardPage {
public:
    explicit TextBeforeGuardPage(const std::string& text) {
        const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        readable_ = (text.size() + page - 1) / page * page + page;
        void* memory = ::mmap(nullptr, readable_ + page, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            throw std::bad_alloc();
        memory_ = static_cast<char*>(memory);
        mapped_ = readable_ + page;
        if (::mprotect(memory_ + readable_, page, PROT_NONE) != 0) {
            const int error = errno;
            ::munmap(memory_, mapped_);
            throw std::system_error(error, std::generic_category(), "mprotect");
        }
        size_ = text.size();
        std::memcpy(memory_ + readable_ - size_, text.data(), size_);
    }
    ~TextBeforeGuardPage() { ::munmap(memory_, mapped_); }
    TextBeforeGuardPage(const TextBeforeGuardPage&) = delete;
    TextBeforeGuardPage& operator=(const TextBeforeGuardPage&) = delete;

    std::span<const char> bytes() const { return {memory_ + readable_ - size_, size_}; }

private:
    char* memory_ = nullptr;
    std::size_t readable_ = 0;
    std::size_t mapped_ = 0;
    std::size_t size_ = 0;
};

// Numbers are read eight bytes at a time, but nothing after the text's last byte is read: a read
// there would stop the test. The last lines end in every way a number or a word can end them.
TEST(ParallelTextParser, NothingAfterTheTextIsRead) {
    const std::string body = randomText(5, 400);
    const char* const endings[] = {"N9)G01X1.5",
                                   "N9)G01X1.5\n",
                                   "N9)G01X",
                                   "N9)G01X-",
                                   "N9)G01Y12345678",
                                   "N9)G01X1F1400(A0.5)F21",
                                   "N9)G01X1.2345\r",
                                   "G92X1.25Y-3",
                                   "T5",
                                   "N12345678",
                                   "N9)G01Z-0.0001\n\n",
                                   "N9)X1.",
                                   "N9)X."};
    for (const char* ending : endings) {
        for (const std::string& text : {std::string(ending), body + ending}) {
            const TextBeforeGuardPage guarded(text);
            for (const unsigned threads : {1u, 2u, 3u}) {
                CutDataSet data;
                ASSERT_TRUE(
                    LoadCutBytes(guarded.bytes(), CutFormat::Text, data, {.threads = threads})
                        .ok());
                expectBitIdentical(data, ReferenceTextLoad(text),
                                   std::string(ending) + " on " + std::to_string(threads) +
                                       " threads");
            }
        }
    }
}

// The thread count decides nothing about success: an empty buffer and the previous data set.
TEST(ParallelTextParser, FailedReadLeavesThePreviousDataSet) {
    CutDataSet data = previousDataSet();
    std::vector<char> empty;
    EXPECT_EQ(LoadCutBytes(empty, CutFormat::Text, data, {.threads = 4}).error, LoadError::Empty);
    expectSameDataSet(data, previousDataSet());
}

// A monitor sees the parsing move on and stops it: a stopped parse leaves the data set as it was.
TEST(ParallelTextParser, MonitorFollowsAndStopsTheParts) {
    std::string text;
    for (int i = 0; i < 300000; ++i)
        text.append("N")
            .append(std::to_string(i))
            .append(")G01X")
            .append(std::to_string(i % 97))
            .append("\n");
    LoadMonitor monitor;
    CutDataSet data;
    ASSERT_TRUE(
        LoadCutBytes(text, CutFormat::Text, data, {.threads = 2, .monitor = &monitor}).ok());
    EXPECT_EQ(data.count, 300000u);
    EXPECT_GT(monitor.permille, 400);

    CutDataSet previous = previousDataSet();
    monitor.cancelled = true;
    EXPECT_EQ(
        LoadCutBytes(text, CutFormat::Text, previous, {.threads = 2, .monitor = &monitor}).error,
        LoadError::Cancelled);
    expectSameDataSet(previous, previousDataSet());
}

// A file read and decoded in stretches of whole lines, on one thread or several, gives the data
// set of the reference reader however the stretches cut it: lines longer than a stretch, a last
// line without a line feed, CR LF and NUL bytes, and a text without a line feed.
TEST(PiecedTextLoad, StretchesGiveTheSequentialDataSet) {
    const struct {
        const char* name;
        std::string text;
    } texts[] = {
        {"random lines", randomText(6, 2000)},
        {"a long line among them",
         randomText(7, 300) + "N5)G01X1(" + std::string(5000, 'c') + ")\n" + randomText(8, 300)},
        {"last line without line feed", randomText(9, 500) + "N9)G01X7.5F100"},
        {"one line", "N1)G01X5(A1)"},
    };
    TempFolder folder;
    const std::string path = folder.file("t.txt");
    for (const auto& t : texts) {
        writeBytes(path, t.text);
        const CutDataSet reference = ReferenceTextLoad(t.text);
        for (const std::size_t stretch :
             {std::size_t{97}, std::size_t{4096}, std::size_t{1} << 20}) {
            for (const unsigned threads : {1u, 2u, 3u}) {
                const std::string what = std::string(t.name) + ", stretches of " +
                                         std::to_string(stretch) + " on " +
                                         std::to_string(threads) + " threads";
                FilePieces file;
                ASSERT_TRUE(file.open(path).ok()) << what;
                CutDataSet data;
                const LoadResult result =
                    PiecedTextLoad(threads, nullptr, stretch).load(file, data);
                ASSERT_TRUE(result.ok()) << what << ": " << result.reason();
                expectBitIdentical(data, reference, what);
            }
        }
    }
}

// How a file changes while it is read, once its first piece has come in.
// Waits until a change made now gets a later time than `time`: file times follow a coarse clock.
void waitForTheClock(const timespec& time) {
    timespec now{};
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    } while (now.tv_sec < time.tv_sec ||
             (now.tv_sec == time.tv_sec && now.tv_nsec <= time.tv_nsec));
}

struct ChangeCase {
    const char* name;
    void (*change)(int fd, off_t size);
};

const ChangeCase kChanges[] = {
    {"cut to half", [](int fd, off_t size) { ASSERT_EQ(::ftruncate(fd, size / 2), 0); }},
    {"cut to nothing", [](int fd, off_t) { ASSERT_EQ(::ftruncate(fd, 0), 0); }},
    {"grown", [](int fd, off_t size) { ASSERT_EQ(::pwrite(fd, "N1)\n", 4, size), 4); }},
    {"rewritten in place at an earlier time",
     [](int fd, off_t) {
         ASSERT_EQ(::pwrite(fd, "N", 1, 0), 1);
         struct stat status {};
         ASSERT_EQ(::fstat(fd, &status), 0);
         timespec times[2] = {status.st_atim, status.st_mtim};
         times[1].tv_sec -= 10;
         ASSERT_EQ(::futimens(fd, times), 0);
     }},
    // Only the change time tells these apart from the file that was opened.
    {"rewritten in place with its size and modification time kept",
     [](int fd, off_t) {
         struct stat before {};
         ASSERT_EQ(::fstat(fd, &before), 0);
         waitForTheClock(before.st_ctim);
         ASSERT_EQ(::pwrite(fd, "%", 1, 0), 1);
         const timespec times[2] = {before.st_atim, before.st_mtim};
         ASSERT_EQ(::futimens(fd, times), 0);
     }},
    {"permissions changed",
     [](int fd, off_t) {
         struct stat before {};
         ASSERT_EQ(::fstat(fd, &before), 0);
         waitForTheClock(before.st_ctim);
         ASSERT_EQ(::fchmod(fd, (before.st_mode & 07777) ^ 0040), 0);
     }},
};

// A monitor that changes the file at `path` the first time a piece of it has been read.
struct ChangingMonitor {
    ChangingMonitor(const std::string& path, const ChangeCase& c) {
        monitor.read = [this, path, &c] {
            if (changed.exchange(true))
                return;
            const int fd = ::open(path.c_str(), O_WRONLY);
            ASSERT_GE(fd, 0);
            c.change(fd, static_cast<off_t>(readBytes(path).size()));
            ::close(fd);
        };
    }
    LoadMonitor monitor;
    std::atomic<bool> changed{false};
};

// A file cut short, grown or rewritten while it is read, in stretches or whole, fails the load with
// the reason; the previous data set stays and nothing past the file's new end is read.
TEST(PiecedTextLoad, FileChangedDuringTheReadFailsTheLoad) {
    TextCutWriter text;
    CutSynthesizer(4).generate(3000, text);
    BinaryCutWriter binary;
    CutSynthesizer(4).generate(3000, binary);
    TempFolder folder;
    const std::string path = folder.file("changing.txt");
    const struct {
        const char* name;
        bool text;
        std::function<LoadResult(CutDataSet&, LoadMonitor&)> load;
    } loads[] = {
        {"stretches on 2 threads", true,
         [&](CutDataSet& data, LoadMonitor& monitor) {
             FilePieces file;
             if (LoadResult result = file.open(path); !result.ok())
                 return result;
             return PiecedTextLoad(2, &monitor, 1000).load(file, data);
         }},
        {"whole text", true,
         [&](CutDataSet& data, LoadMonitor& monitor) {
             return LoadCutFile(path, CutFormat::Text, data, {.monitor = &monitor});
         }},
        {"whole binary", false,
         [&](CutDataSet& data, LoadMonitor& monitor) {
             return LoadCutFile(path, CutFormat::Binary, data, {.monitor = &monitor});
         }},
    };
    for (const auto& load : loads) {
        for (const ChangeCase& c : kChanges) {
            SCOPED_TRACE(std::string(load.name) + ", " + c.name);
            writeBytes(path, load.text ? text.contents() : binary.contents());
            ChangingMonitor changing(path, c);
            CutDataSet data = previousDataSet();
            const LoadResult result = load.load(data, changing.monitor);
            EXPECT_TRUE(changing.changed);
            EXPECT_EQ(result.error, LoadError::Changed);
            EXPECT_EQ(result.reason(), "the file changed while it was read");
            expectSameDataSet(data, previousDataSet());
        }
    }
}

} // namespace
