// What a settings-file write does to the file system around the file: other writers, owners,
// read-only files, links and the temporaries of killed writers.

#include "privateprofile.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// A folder on a memory file system when there is one: the concurrency test makes thousands of
// writes, each flushed with fsync, which a disk would make slow.
class MemoryFolder {
public:
    MemoryFolder() {
        std::string pattern =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm/plotwell-XXXXXX" : "";
        if (pattern.empty() || ::mkdtemp(pattern.data()) == nullptr) {
            pattern = fallback_.path();
        }
        path_ = pattern;
    }
    ~MemoryFolder() {
        std::error_code ignored;
        if (path_ != fallback_.path()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    MemoryFolder(const MemoryFolder&) = delete;
    MemoryFolder& operator=(const MemoryFolder&) = delete;

    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
    TempFolder fallback_;
    std::string path_;
};

std::string valueOf(const std::string& file, const std::string& key) {
    char buffer[32] = {};
    getPrivateProfileString("Counters", key, "missing", buffer, sizeof buffer, file);
    return buffer;
}

// Writes the numbers 1..writes to the writer's own key in a child process. Before each write
// the child reads the key back: it must still hold the number written last, which an update lost
// to the other writer (who replaced the file with a copy read before that write) would have
// rolled back. Exit status 0 when every write reported success and was found again.
pid_t startWriter(const std::string& file, const std::string& key, int writes) {
    const pid_t child = ::fork();
    if (child == 0) {
        int lost = 0;
        for (int n = 1; n <= writes; ++n) {
            const std::string previous = n == 1 ? "missing" : std::to_string(n - 1);
            lost += valueOf(file, key) == previous ? 0 : 1;
            if (!writePrivateProfileString("Counters", key, std::to_string(n), file)) {
                ::_exit(2);
            }
        }
        ::_exit(lost == 0 ? 0 : 1);
    }
    return child;
}

// Two writer processes, 10,000 writes in all, each of them found again. The file stays small,
// so that thousands of writes take a second or two.
TEST(ProfileFile, ConcurrentWriterProcessesLoseNoUpdate) {
    constexpr int kWritesEach = 5000;
    const std::string keys[] = {"First", "Second"};
    MemoryFolder folder;
    const std::string file = folder.file("shared.ini");
    std::vector<pid_t> writers;
    for (const auto& key : keys) {
        writers.push_back(startWriter(file, key, kWritesEach));
        ASSERT_GT(writers.back(), 0);
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 2) << "a write reported failure";
        EXPECT_NE(WEXITSTATUS(status), 1) << "a write that reported success was lost";
    }
    for (const auto& key : keys) {
        EXPECT_EQ(valueOf(file, key), std::to_string(kWritesEach)) << key;
    }
}

TEST(ProfileFile, ReplacementKeepsOwnerAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    constexpr uid_t kOther = 65534; // nobody / nogroup
    TempFolder folder;
    const std::string file = folder.file("owned.ini");
    writeBytes(file, "[A]\nKey=old\n");
    ASSERT_EQ(::chown(file.c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(writePrivateProfileString("A", "Key", "new", file));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(st.st_gid, kOther);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(file), "[A]\nKey=new\n");
}

// A file without any write permission is refused for every user, root included, as a write in
// place would be for its owner.
TEST(ProfileFile, FileWithoutWritePermissionIsRefused) {
    for (const mode_t mode : {0444, 0400, 0555}) {
        TempFolder folder;
        const std::string file = folder.file("locked.ini");
        writeBytes(file, "[A]\nKey=old\n");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        EXPECT_FALSE(writePrivateProfileString("A", "Key", "new", file)) << std::oct << mode;
        EXPECT_EQ(readBytes(file), "[A]\nKey=old\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    }
}

TEST(ProfileFile, DanglingSymbolicLinkGetsItsTargetCreated) {
    const struct {
        const char* name;
        bool relative;
    } cases[] = {{"absolute", false}, {"relative", true}};
    for (const auto& c : cases) {
        TempFolder folder;
        std::filesystem::create_directory(folder.file("real"));
        const std::string target = folder.file("real/settings.ini");
        const std::string link = folder.file("settings.ini");
        std::filesystem::create_symlink(c.relative ? "real/settings.ini" : target, link);
        ASSERT_TRUE(writePrivateProfileString("A", "Key", "v", link)) << c.name;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << c.name;
        EXPECT_EQ(readBytes(target), "[A]\nKey=v\n") << c.name;
    }
}

TEST(ProfileFile, LinkLoopOrTargetInMissingFolderIsRefused) {
    TempFolder folder;
    const std::string loop = folder.file("loop.ini");
    std::filesystem::create_symlink("loop.ini", loop);
    EXPECT_FALSE(writePrivateProfileString("A", "Key", "v", loop));
    const std::string astray = folder.file("astray.ini");
    std::filesystem::create_symlink(folder.file("none/settings.ini"), astray);
    EXPECT_FALSE(writePrivateProfileString("A", "Key", "v", astray));
    EXPECT_TRUE(std::filesystem::is_symlink(loop));
    EXPECT_TRUE(std::filesystem::is_symlink(astray));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

pid_t deadProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(ProfileFile, NextWriterRemovesTemporariesOfDeadWritersOnly) {
    TempFolder folder;
    const std::string file = folder.file("app.ini");
    writeBytes(file, "[A]\nKey=old\n");
    const std::string dead = std::to_string(deadProcess());
    const std::string alive = std::to_string(::getppid());
    const std::string stale[] = {".app.ini." + dead + ".0.tmp", ".app.ini." + dead + ".17.tmp"};
    const std::string kept[] = {
        ".app.ini." + alive + ".3.tmp",  // a writer that is still running
        ".other.ini." + dead + ".0.tmp", // another file's, left to its own writer
        ".app.ini.x" + dead + ".0.tmp",  ".app.ini." + dead + ".tmp", "app.ini." + dead + ".0.tmp",
    };
    for (const auto& name : stale) {
        writeBytes(folder.file(name), "[A]\nKey=half");
    }
    for (const auto& name : kept) {
        writeBytes(folder.file(name), "x");
    }
    ASSERT_TRUE(writePrivateProfileString("A", "Key", "new", file));
    for (const auto& name : stale) {
        EXPECT_FALSE(std::filesystem::exists(folder.file(name))) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(folder.file(name))) << name;
    }
    EXPECT_EQ(readBytes(file), "[A]\nKey=new\n");
}

// Every name the system takes is written, up to the longest: the temporary name beside it keeps
// within the limit, and a killed writer's temporary of a long name is found again.
TEST(ProfileFile, NamesUpToTheLongestAreWritten) {
    TempFolder folder;
    const std::string dead = std::to_string(deadProcess());
    for (const std::size_t length : {200u, 228u, 229u, 243u, 255u}) {
        const std::string name(length, 'n');
        const std::string file = folder.file(name);
        const std::string stale = folder.file("." + name.substr(0, 228) + "." + dead + ".0.tmp");
        writeBytes(stale, "[A]\nKey=half");
        EXPECT_TRUE(writePrivateProfileString("A", "Key", "new", file)) << length;
        EXPECT_EQ(readBytes(file), "[A]\nKey=new\n") << length;
        EXPECT_FALSE(std::filesystem::exists(stale)) << length;
    }
}

} // namespace
