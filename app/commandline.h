#pragma once

#include <QStringList>

#include <optional>

// Splits a command line into words the way a POSIX shell splits a simple command, without any
// expansion: blanks and tabs separate words, single quotes keep everything literally, double
// quotes keep everything except that a backslash escapes $ ` " \ and a newline, and outside
// quotes a backslash keeps the next character. An unterminated quote gives nothing.
std::optional<QStringList> splitCommandLine(const QString& commandLine);
