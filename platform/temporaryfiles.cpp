#include "temporaryfiles.h"

#include "filepath.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <dirent.h>
#include <memory>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace {

// The most bytes of a file's name that its temporary names keep: the longest name a folder
// holds, less the dots, the longest process id and counter, and ".tmp".
constexpr std::size_t kKeptNameBytes = NAME_MAX - 3 - 2 * 10 - 4;

std::string keptNameOf(const std::string& target) {
    return baseNameOf(target).substr(0, kKeptNameBytes);
}

std::string_view digitsAtStart(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9') {
        ++n;
    }
    return text.substr(0, n);
}

// The writing process of a temporary file of `base`, or nothing for any other name.
std::optional<pid_t> writerOf(std::string_view name, const std::string& base) {
    const std::string prefix = "." + base + ".";
    if (name.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    const std::string_view pid = digitsAtStart(name);
    name.remove_prefix(pid.size());
    if (name.empty() || name.front() != '.') {
        return std::nullopt;
    }
    name.remove_prefix(1);
    const std::string_view counter = digitsAtStart(name);
    if (pid.empty() || counter.empty() || name.substr(counter.size()) != ".tmp") {
        return std::nullopt;
    }
    pid_t value = 0;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), value);
    if (error != std::errc() || end != pid.data() + pid.size() || value <= 0) {
        return std::nullopt;
    }
    return value;
}

bool processIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

} // namespace

std::string temporaryPathBeside(const std::string& target, pid_t pid, unsigned counter) {
    return folderOf(target) + "/." + keptNameOf(target) + "." + std::to_string(pid) + "." +
           std::to_string(counter) + ".tmp";
}

void removeStaleTemporaries(const std::string& target) {
    const std::unique_ptr<DIR, FolderCloser> folder(::opendir(folderOf(target).c_str()));
    if (!folder) {
        return;
    }
    const std::string base = keptNameOf(target);
    while (const dirent* entry = ::readdir(folder.get())) {
        const auto writer = writerOf(entry->d_name, base);
        if (writer && processIsGone(*writer)) {
            ::unlinkat(::dirfd(folder.get()), entry->d_name, 0);
        }
    }
}
