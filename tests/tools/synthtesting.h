#pragma once

#include "cutloader.h"
#include "cutsynthesizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The bytes a writer gives for `blocks` generated blocks of `seed`.
template <typename Writer> std::string generate(std::uint64_t seed, std::int64_t blocks) {
    Writer writer;
    CutSynthesizer(seed).generate(blocks, writer);
    return writer.contents();
}

// The data set of a text (or else binary) file's bytes.
inline CutDataSet load(const std::string& bytes, bool text) {
    CutDataSet data;
    const LoadResult result = LoadCutBytes(bytes, text ? CutFormat::Text : CutFormat::Binary, data);
    EXPECT_TRUE(result.ok()) << result.reason();
    return data;
}
