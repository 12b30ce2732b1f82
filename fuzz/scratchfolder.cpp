#include "scratchfolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

std::string MakeScratchFolder() {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path base = "/dev/shm";
    if (!fs::is_directory(base, error) || access(base.c_str(), W_OK) != 0)
        base = fs::temp_directory_path();
    std::string pattern = (base / "plotwell-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("plotwell fuzz: cannot create a scratch folder");
        std::abort();
    }
    return pattern;
}

void RemoveScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(ScratchFolder(), error);
}

} // namespace

const std::string& ScratchFolder() {
    static const std::string folder = MakeScratchFolder();
    static const bool removedAtExit = std::atexit(RemoveScratchFolder) == 0;
    (void)removedAtExit;
    return folder;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "plotwell fuzz: cannot write %s\n", path.c_str());
        std::abort();
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "plotwell fuzz: cannot read %s\n", path.c_str());
        std::abort();
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
