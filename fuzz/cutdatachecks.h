#pragma once

#include "cutdataset.h"

#include <cstddef>
#include <string_view>

// Invariant checks shared by the loader fuzz targets. A broken invariant prints what broke and
// aborts, which libFuzzer reports as a crash together with the input that caused it.

[[noreturn]] void FailInvariant(std::string_view what);

// A loaded data set that no fuzzed input can produce: a failed load must leave it as it is.
CutDataSet PreviousDataSet();

// Equal field by field; floats compare by their bits, so NaN equals the same NaN.
bool SameRecord(const CutRecord& a, const CutRecord& b);

// Equal field by field; floats compare by their bits, so NaN equals the same NaN.
bool SameDataSet(const CutDataSet& a, const CutDataSet& b);

// What every successful load guarantees: four arrays of `count` elements, block numbers that
// belong to their records, distances that never decrease where the steps are finite, G00 moves
// that leave the cutting distance alone, and maxima that are the largest series values of this
// load only (at least 0, entries 3 to 15 always 0), and a move index that gives back every step.
void CheckLoadedDataSet(const CutDataSet& data);
