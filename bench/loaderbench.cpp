#include "binarycutwriter.h"
#include "cutdataset.h"
#include "cutloader.h"
#include "cutsynthesizer.h"
#include "runeach.h"
#include "textcutwriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::uint64_t kSeed = 7;

std::filesystem::path benchFolder() {
    return std::filesystem::temp_directory_path() /
           ("plotwell-bench-loader-" + std::to_string(::getpid()));
}

void writeGenerated(const std::string& path, std::int64_t blocks, CutWriter& writer) {
    CutSynthesizer(kSeed).generate(blocks, writer);
    std::ofstream(path, std::ios::binary) << writer.contents();
}

// The generated file of `blocks` blocks in either format, written on first use.
std::string benchFile(std::int64_t blocks, bool text) {
    static std::set<std::string> written;
    const std::string path =
        (benchFolder() / ("CUTDATA-" + std::to_string(blocks) + (text ? ".txt" : ".bin"))).string();
    if (written.insert(path).second) {
        std::filesystem::create_directories(benchFolder());
        if (text) {
            TextCutWriter writer;
            writeGenerated(path, blocks, writer);
        } else {
            BinaryCutWriter writer;
            writeGenerated(path, blocks, writer);
        }
    }
    return path;
}

// What any load of as many records pays at the least: the data set's four arrays reserved fresh,
// written once in pieces shared out to the threads as the loaders share theirs, and released when
// the next data set comes. No record is read or computed.
void BM_FillFreshArrays(benchmark::State& state) {
    const auto records = static_cast<std::size_t>(state.range(0));
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t pieces = std::size_t{kPiecesPerThread} * threads;
    CutDataSet data;
    for (auto _ : state) {
        FreeCutData(data);
        SizeCutData(data, records);
        runShared(pieces, threads, [&](std::size_t k) {
            const std::size_t first = records * k / pieces;
            const std::size_t last = records * (k + 1) / pieces;
            std::fill(data.records.data() + first, data.records.data() + last, CutRecord{});
            std::fill(data.totalDistance.data() + first, data.totalDistance.data() + last, 1.0f);
            std::fill(data.cutDistance.data() + first, data.cutDistance.data() + last, 1.0f);
            std::fill(data.blockNos.data() + first, data.blockNos.data() + last, 1);
        });
        benchmark::DoNotOptimize(data.records.data());
    }
}

// What a loaded data set holds: its four arrays, the drawing index and the move index.
double heldBytes(const CutDataSet& data) {
    const MoveIndex& moves = data.moves;
    return static_cast<double>(
        data.records.size() * sizeof(CutRecord) +
        (data.totalDistance.size() + data.cutDistance.size()) * sizeof(float) +
        data.blockNos.size() * sizeof(std::int32_t) + data.index.bytes() +
        moves.tools.capacity() * sizeof(ToolSums) + moves.groups.capacity() * sizeof(MoveSums) +
        moves.exceptions.capacity() * sizeof(StepException));
}

void loadLoop(benchmark::State& state, bool text) {
    const std::string path = benchFile(state.range(0), text);
    CutDataSet data;
    for (auto _ : state) {
        if (!LoadCutFile(path, text ? CutFormat::Text : CutFormat::Binary, data).ok())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(data.records.data());
    }
    state.SetItemsProcessed(state.iterations() * data.count);
    const auto records = static_cast<double>(data.count);
    state.counters["bytes_per_record"] =
        static_cast<double>(std::filesystem::file_size(path)) / records;
    state.counters["held_per_record"] = heldBytes(data) / records;
    state.counters["index_per_record"] = static_cast<double>(data.index.bytes()) / records;
}

void BM_LoadText(benchmark::State& state) {
    loadLoop(state, true);
}
void BM_LoadBinary(benchmark::State& state) {
    loadLoop(state, false);
}

// 1,000,000 and 10,000,000 blocks; 100,000,000 (a 6 GB text file and as much memory) only when
// asked for.
void sizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(1'000'000)->Arg(10'000'000);
    if (std::getenv("PLOTWELL_BENCH_100M"))
        bench->Arg(100'000'000);
    bench->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(BM_FillFreshArrays)->Apply(sizes);
BENCHMARK(BM_LoadText)->Apply(sizes);
BENCHMARK(BM_LoadBinary)->Apply(sizes);

} // namespace

// The files are generated into a temporary folder when first needed and removed at the end.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
