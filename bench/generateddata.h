#pragma once

#include "binarycutwriter.h"
#include "cutloader.h"
#include "cutsynthesizer.h"

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
