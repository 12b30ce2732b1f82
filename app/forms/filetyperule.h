#pragma once

#include <QString>

#include <optional>

// How the open command tells a text file from a binary one by the file's ending.
enum class FileTypeRule { Text, Binary, Ask };

// Looks at the last four characters of `fileName` (blanks trimmed from both ends; the whole name
// when it is shorter), without regard to letter case: ".TXT" is text, ".BIN" binary, then the
// configured binary and text endings when they are not empty; anything else must be asked.
FileTypeRule fileTypeByEnding(const QString& fileName, const QString& binSuffix,
                              const QString& textSuffix);

// True for a text file, false for a binary one, by the ending of `fileName` and the configured
// endings; else the user is asked, and nothing comes back when the question was cancelled.
std::optional<bool> askTextFile(const QString& fileName);
