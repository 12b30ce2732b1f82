#pragma once

#include <QString>

#include <cstdint>

class CurvexProxy;

// Small routines shared by start-up and the windows: the settings file, the file-open dialog,
// two string routines, a program runner and the printer output of the chart.

// Remembers the settings file (gIniFile) used by the three settings routines below.
void SetIniFile(const QString& path);
// The value of section/key (at most 254 bytes). When the key is missing or empty the default is
// written into the file and returned.
QString ReadIniWithDefault(const QString& section, const QString& key, const QString& defaultValue);
// The value of section/key (at most 254 bytes), or empty. Writes nothing.
QString ReadIniValue(const QString& section, const QString& key);
// Writes the whole value; non-zero when the file was written.
std::int16_t WriteIniValue(const QString& section, const QString& key, const QString& value);

// The file-open dialog with the program's title and filter. Returns the chosen full path and
// sets gInitFile and gInitDirectory from it; empty (and nothing changed) when cancelled or when
// `suffix` is empty, in which case no dialog is shown.
QString ShowFileOpenDialog(const QString& initialFile, const QString& initialFolder,
                           const QString& description, const QString& suffix);

// Returns the first token of `text` before `delimiter`, trimmed of blanks; `text` becomes the
// trimmed rest. Without the delimiter the whole trimmed text is returned and kept in `text`.
QString SplitFirstToken(QString& text, const QString& delimiter);

// The path up to and including its last "/", or empty.
QString FolderOfPath(const QString& path);

// Starts the command line (split as a shell splits words, never through a shell) and waits for
// it, processing events every 100 ms, at most floor(timeoutMs / 100) + 1 passes. Returns the
// program's exit code, 4 when it cannot be started, 5 when it is still running after the
// time-out (it is left running). windowStyle: 0 hidden, 1 normal; programs here have no window
// of their own to show.
int RunAndWait(const QString& commandLine, std::int16_t windowStyle, std::int32_t timeoutMs);

// Copies the chart of `viewer` onto the drawing surface `hdc` of the given pixel size.
void OutputGraphToPrinter(CurvexProxy& viewer, std::int32_t hdc, std::int32_t width,
                          std::int32_t height);
