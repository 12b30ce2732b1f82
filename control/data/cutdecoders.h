#pragma once

#include "cutloader.h"

#include <span>

// The two formats' decoders behind LoadCutBytes and LoadCutFile: a file's bytes alone in, on
// `threads` threads (at least one); a monitor follows the decoding and may stop it. `out` is
// replaced only on success. The bytes are not empty.
LoadResult ParseTextBytes(std::span<const char> bytes, CutDataSet& out, unsigned threads,
                          LoadMonitor* monitor);
LoadResult DecodeBinaryBytes(std::span<const char> bytes, CutDataSet& out, unsigned threads,
                             LoadMonitor* monitor);
