#include "samefile.h"

#include "filepath.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace {

// Where a write to `path` lands, as an absolute name without "." and "..".
std::filesystem::path placeOf(const std::string& path) {
    std::error_code ignored;
    const std::string target = linkTarget(path);
    return std::filesystem::absolute(target.empty() ? path : target, ignored).lexically_normal();
}

} // namespace

bool isSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return placeOf(a) == placeOf(b);
}

const std::string* sameFileAmong(const std::string& output, std::span<const std::string> others) {
    const auto found = std::find_if(others.begin(), others.end(), [&](const std::string& other) {
        return isSameFile(output, other);
    });
    return found == others.end() ? nullptr : &*found;
}
