#include "filedescriptor.h"

#include "tempfolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A pipe whose writer sends `pieces` from another thread, one after another with a pause, and
// then closes its end. The thread blocks SIGALRM, so that a timer interrupts only the reader.
class PipeWriter {
public:
    explicit PipeWriter(std::vector<std::string> pieces) {
        int ends[2];
        if (::pipe(ends) == 0) {
            reader_ = FileDescriptor(ends[0]);
            writer_ = std::thread([pieces = std::move(pieces), fd = ends[1]] {
                sigset_t alarm;
                sigemptyset(&alarm);
                sigaddset(&alarm, SIGALRM);
                pthread_sigmask(SIG_BLOCK, &alarm, nullptr);
                for (const std::string& piece : pieces) {
                    std::this_thread::sleep_for(30ms);
                    if (::write(fd, piece.data(), piece.size()) < 0) {
                        break;
                    }
                }
                ::close(fd);
            });
        }
    }
    ~PipeWriter() {
        if (writer_.joinable()) {
            writer_.join();
        }
    }
    int fd() const { return reader_.get(); }

private:
    FileDescriptor reader_;
    std::thread writer_;
};

TEST(ReadFully, GathersPiecesUntilTheSizeOrTheEnd) {
    struct Case {
        const char* what;
        std::vector<std::string> pieces;
        std::size_t size;
        std::string expected;
    };
    const Case cases[] = {
        {"ends early", {"abc", "defg"}, 100, "abcdefg"},
        {"stops at the size", {"abc", "defg"}, 5, "abcde"},
        {"nothing", {}, 10, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PipeWriter pipe(c.pieces);
        ASSERT_GE(pipe.fd(), 0);
        std::string buffer(c.size, '\0');
        const ssize_t got = readFully(pipe.fd(), buffer.data(), buffer.size());
        ASSERT_EQ(got, static_cast<ssize_t>(c.expected.size()));
        EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected);
    }
}

void ignoreSignal(int) {}

// A timer's signal, with a handler installed without SA_RESTART, interrupts the waiting read
// again and again; the read goes on each time.
TEST(ReadFully, GoesOnAfterInterruptedCalls) {
    struct sigaction handler {};
    handler.sa_handler = ignoreSignal;
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(SIGALRM, &handler, &previous), 0);
    const itimerval every5ms{{0, 5000}, {0, 5000}};
    ASSERT_EQ(::setitimer(ITIMER_REAL, &every5ms, nullptr), 0);

    {
        PipeWriter pipe({"late", "r"});
        std::string buffer(5, '\0');
        errno = 0;
        EXPECT_EQ(readFully(pipe.fd(), buffer.data(), buffer.size()), 5) << std::strerror(errno);
        EXPECT_EQ(buffer, "later");
    }

    const itimerval stop{};
    ::setitimer(ITIMER_REAL, &stop, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
}

TEST(OpenForReading, NeverWaitsAndTellsWhatItOpened) {
    TempFolder folder;
    writeBytes(folder.file("file"), "12345");
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);

    const OpenedFile file = openForReading(folder.file("file"));
    EXPECT_TRUE(file.regular());
    EXPECT_EQ(file.info.st_size, 5);

    // Nobody writes to the pipe: a blocking open would wait here for ever.
    const OpenedFile pipe = openForReading(folder.file("pipe"));
    EXPECT_TRUE(pipe.fd.valid());
    EXPECT_FALSE(pipe.regular());
    EXPECT_TRUE(S_ISFIFO(pipe.info.st_mode));

    const OpenedFile missing = openForReading(folder.file("none"));
    EXPECT_FALSE(missing.fd.valid());
    EXPECT_FALSE(missing.regular());
    EXPECT_EQ(missing.error, ENOENT);
}

TEST(FileDescriptor, ClosesOnceWhenMovedOrDestroyed) {
    TempFolder folder;
    writeBytes(folder.file("file"), "x");
    const int raw = openRetrying(folder.file("file").c_str(), O_RDONLY);
    ASSERT_GE(raw, 0);
    {
        FileDescriptor first(raw);
        FileDescriptor second(std::move(first));
        EXPECT_FALSE(first.valid());
        EXPECT_EQ(second.get(), raw);
        EXPECT_NE(::fcntl(raw, F_GETFD), -1);
    }
    EXPECT_EQ(::fcntl(raw, F_GETFD), -1);
    EXPECT_EQ(errno, EBADF);
}

} // namespace
