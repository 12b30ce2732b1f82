#include "privateprofile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kSections = 10;
constexpr int kKeysPerSection = 1000;

// A settings file of 10,000 keys in 10 sections, written once per process.
const std::string& settingsFile() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "plotwell-bench-profile.ini").string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (int s = 0; s < kSections; ++s) {
            out << "[Section " << s << "]\n";
            for (int k = 0; k < kKeysPerSection; ++k) {
                out << "Key " << k << "=value of key " << k << " in section " << s << "\n";
            }
        }
        return file;
    }();
    return path;
}

// The last key of the last section: the read scans the whole file.
void BM_ReadLastKey(benchmark::State& state) {
    const std::string& file = settingsFile();
    char buffer[256];
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            getPrivateProfileString("Section 9", "Key 999", "", buffer, sizeof buffer, file));
    }
    if (std::string(buffer) != "value of key 999 in section 9") {
        state.SkipWithError("wrong value read");
    }
}
BENCHMARK(BM_ReadLastKey)->Unit(benchmark::kMicrosecond);

void BM_ReadMissingKey(benchmark::State& state) {
    const std::string& file = settingsFile();
    char buffer[256];
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            getPrivateProfileString("Section 9", "No Key", "", buffer, sizeof buffer, file));
    }
}
BENCHMARK(BM_ReadMissingKey)->Unit(benchmark::kMicrosecond);

// Replaces the value of the last key: read, edit, temporary file, flush, rename.
void BM_WriteLastKey(benchmark::State& state) {
    const std::string& file = settingsFile();
    long n = 0;
    for (auto _ : state) {
        if (!writePrivateProfileString("Section 9", "Key 999", std::to_string(n++), file)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_WriteLastKey)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(settingsFile());
    return 0;
}
