#pragma once

#include "cutdataset.h"

#include <span>

// The loads the plain way, record by record into a CutBuilder on one thread: the reference that
// LoadCutBytes and LoadCutFile, which read in parts on any number of threads, are compared with.
// The bytes are well formed (a text, or a binary file with its header and whole entries).
CutDataSet ReferenceTextLoad(std::span<const char> bytes);
CutDataSet ReferenceBinaryLoad(std::span<const char> bytes);
