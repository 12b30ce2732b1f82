#include "generateddata.h"
#include "recorddump.h"
#include "series.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <vector>

namespace {

constexpr std::int64_t kBlocks = 1'000'000;
constexpr float kG00Feed = 5000.0f;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

char* putFloat(float value, char* out) {
    out =
        std::to_chars(out, out + 15, static_cast<double>(value), std::chars_format::general, 9).ptr;
    *out = ',';
    return out + 1;
}

template <typename Integer> char* putInteger(Integer value, char* out) {
    out = std::to_chars(out, out + 11, value).ptr;
    *out = ',';
    return out + 1;
}

// The yardstick: the sixteen values of every record written with std::to_chars in one plain loop
// on one thread, with nothing to choose.
char* toCharsPass(const CutDataSet& data, char* out) {
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& r = data.records[i];
        out = putInteger(i, out);
        out = putInteger(r.toolNo, out);
        out = putInteger(r.blockNo, out);
        out = putInteger(r.motionCode, out);
        out = putFloat(r.x, out);
        out = putFloat(r.y, out);
        out = putFloat(r.z, out);
        out = putInteger(r.orgFeed, out);
        out = putInteger(r.removalKind, out);
        out = putFloat(r.removal, out);
        out = putInteger(r.optFeed, out);
        out = putFloat(data.totalDistance[i], out);
        out = putFloat(data.cutDistance[i], out);
        out = putFloat(seriesValue(data, i, 0, kG00Feed), out);
        out = putFloat(seriesValue(data, i, 1, kG00Feed), out);
        out = putFloat(seriesValue(data, i, 2, kG00Feed), out);
        out[-1] = '\n';
    }
    return out;
}

bool dataDecoded(benchmark::State& state) {
    return generatedDataDecoded(state, benchData(), kBlocks);
}

void BM_ToCharsPass(benchmark::State& state) {
    if (!dataDecoded(state))
        return;
    const CutDataSet& data = benchData();
    std::vector<char> bytes(
        RecordDump(data, RecordDump::allColumns(), kG00Feed).mostBytes(data.count));
    for (auto _ : state)
        benchmark::DoNotOptimize(toCharsPass(data, bytes.data()));
    state.SetItemsProcessed(state.iterations() * benchData().count);
}

// What `curvex dump` does on each of its threads, on one thread: CPU time per record against the
// pass above.
void BM_DumpFormat(benchmark::State& state) {
    if (!dataDecoded(state))
        return;
    const CutDataSet& data = benchData();
    const RecordDump dump(data, RecordDump::allColumns(), kG00Feed);
    std::vector<char> bytes(dump.mostBytes(data.count));
    for (auto _ : state)
        benchmark::DoNotOptimize(dump.format(0, data.count, bytes.data()));
    state.SetItemsProcessed(state.iterations() * benchData().count);
}

// The whole output on every core, written to /dev/null: formatting and writing together.
void BM_DumpWrite(benchmark::State& state) {
    if (!dataDecoded(state))
        return;
    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (!sink) {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    const RecordDump dump(benchData(), RecordDump::allColumns(), kG00Feed);
    for (auto _ : state)
        dump.write(sink);
    std::fclose(sink);
    state.SetItemsProcessed(state.iterations() * benchData().count);
}

} // namespace

BENCHMARK(BM_ToCharsPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpFormat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
