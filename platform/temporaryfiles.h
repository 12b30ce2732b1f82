#pragma once

#include <string>
#include <sys/types.h>

// The hidden temporary files that a replacement of a file writes beside it:
// ".NAME.PID.N.tmp" in the file's folder, PID the writing process, N a counter. NAME is the
// file's name cut to its first bytes where the whole of it would make too long a name for the
// folder; the writing process and the counter keep the name unique.

std::string temporaryPathBeside(const std::string& target, pid_t pid, unsigned counter);

// Removes the temporary files of `target` whose writing process is gone (killed while it
// wrote). Those of running processes, and files of any other name, stay.
void removeStaleTemporaries(const std::string& target);
