#include "programtext.h"
#include "recordlines.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLines = 10'000'000;

// A program of 10,000,000 numbered lines of about 63 bytes (630 MB), written once to the
// temporary folder and read from the page cache after the first run.
const std::string& programPath() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "plotwell-bench-program.nc").string();
        std::FILE* out = std::fopen(file.c_str(), "wb");
        char line[112];
        for (std::size_t n = 1; n <= kLines && out; ++n) {
            const int length = std::snprintf(
                line, sizeof line, "N%zu G01 X%06zu.123 Y-%05zu.456 Z-1.5 F1200 S800 M08 (P1)\n", n,
                n % 1000000, n % 99999);
            std::fwrite(line, 1, static_cast<std::size_t>(length), out);
        }
        if (out)
            std::fclose(out);
        return file;
    }();
    return path;
}

// Reading the program and indexing its lines, as the window does when it opens one.
void BM_ProgramRead(benchmark::State& state) {
    const std::string& path = programPath();
    std::size_t lines = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        ProgramText text;
        int error = 0;
        if (!ProgramText::read(path, text, error)) {
            state.SkipWithError("program could not be read");
            return;
        }
        lines = text.lineCount();
        bytes = text.bytes();
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// The map of 10,000,000 records, one per block in order, onto the same program.
void BM_RecordLines(benchmark::State& state) {
    ProgramText text;
    int error = 0;
    if (!ProgramText::read(programPath(), text, error)) {
        state.SkipWithError("program could not be read");
        return;
    }
    std::vector<std::int32_t> blockNos(kLines);
    for (std::size_t i = 0; i < kLines; ++i)
        blockNos[i] = static_cast<std::int32_t>(i + 1);
    for (auto _ : state) {
        const RecordLines lines(text, blockNos);
        benchmark::DoNotOptimize(lines.lineOf(kLines - 1));
    }
}

BENCHMARK(BM_ProgramRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecordLines)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
