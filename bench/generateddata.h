#pragma once

#include "binarycutwriter.h"
#include "cutloader.h"
#include "cutsynthesizer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <span>
#include <string>

// `blocks` generated blocks of `seed`, decoded as the binary loader decodes a file.
inline CutDataSet generatedData(std::int64_t blocks, unsigned seed = 7) {
    std::string bytes;
    {
        BinaryCutWriter writer;
        CutSynthesizer(seed).generate(blocks, writer);
        bytes = writer.contents();
    }
    CutDataSet decoded;
    LoadCutBytes(bytes, CutFormat::Binary, decoded);
    return decoded;
}

// Whether `data` holds the `blocks` records it was generated with; the benchmark is skipped with
// the reason when not.
inline bool generatedDataDecoded(benchmark::State& state, const CutDataSet& data,
                                 std::int64_t blocks) {
    if (static_cast<std::int64_t>(data.count) >= blocks)
        return true;
    state.SkipWithError("generated data did not decode");
    return false;
}
