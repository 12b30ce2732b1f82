#pragma once

#include <QString>

// How the open command tells a text file from a binary one by the file's ending.
enum class FileTypeRule { Text, Binary, Ask };

// Looks at the last four characters of `fileName` (blanks trimmed from both ends; the whole name
// when it is shorter), without regard to letter case: ".TXT" is text, ".BIN" binary, then the
// configured binary and text endings when they are not empty; anything else must be asked.
FileTypeRule fileTypeByEnding(const QString& fileName, const QString& binSuffix,
                              const QString& textSuffix);
