#pragma once

#include "cutformat.h"

#include <QString>

#include <optional>

// How the open command tells a text file from a binary one by the file's ending: looks at the
// last four characters of `fileName` (blanks trimmed from both ends; the whole name when it is
// shorter), without regard to letter case: ".TXT" is text, ".BIN" binary, then the configured
// binary and text endings when they are not empty; nothing for anything else, which must be
// asked.
std::optional<CutFormat> fileTypeByEnding(const QString& fileName, const QString& binSuffix,
                                          const QString& textSuffix);

// The format of `fileName` by its ending and the configured endings; else the user is asked, and
// nothing comes back when the question was cancelled.
std::optional<CutFormat> askFileFormat(const QString& fileName);
