#include "binarycutwriter.h"
#include "cutloader.h"
#include "cutsynthesizer.h"
#include "textcutwriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::int64_t kBlocks = 1'000'000;
constexpr std::uint64_t kSeed = 7;

std::filesystem::path benchFolder() {
    return std::filesystem::temp_directory_path() /
           ("plotwell-bench-loader-" + std::to_string(::getpid()));
}

std::string textFile() {
    return (benchFolder() / "CUTDATA.txt").string();
}
std::string binaryFile() {
    return (benchFolder() / "CUTDATA.bin").string();
}

void writeGenerated(const std::string& path, CutWriter& writer) {
    CutSynthesizer(kSeed).generate(kBlocks, writer);
    std::ofstream(path, std::ios::binary) << writer.contents();
}

void createFiles() {
    std::filesystem::create_directories(benchFolder());
    TextCutWriter text;
    writeGenerated(textFile(), text);
    BinaryCutWriter binary;
    writeGenerated(binaryFile(), binary);
}

// What any loader pays first: the file into memory.
void BM_ReadWholeText(benchmark::State& state) {
    std::vector<char> buffer;
    for (auto _ : state) {
        if (!ReadWholeFile(textFile(), buffer).ok())
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(buffer.size()));
}

void loadLoop(benchmark::State& state, const std::string& path, bool text) {
    CutDataSet data;
    for (auto _ : state) {
        if (!LoadCutFile(path, text, data).ok())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(data.records.data());
    }
    state.SetItemsProcessed(state.iterations() * data.count);
    state.counters["bytes_per_record"] =
        static_cast<double>(std::filesystem::file_size(path)) / static_cast<double>(data.count);
}

void BM_LoadText(benchmark::State& state) {
    loadLoop(state, textFile(), true);
}
void BM_LoadBinary(benchmark::State& state) {
    loadLoop(state, binaryFile(), false);
}

BENCHMARK(BM_ReadWholeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond);

} // namespace

// The 1,000,000-block files are generated into a temporary folder at start and removed at the
// end.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    createFiles();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
