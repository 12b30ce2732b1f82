#pragma once

#include <string>
#include <string_view>

// Whole-file reads and atomic whole-file replacement with POSIX calls.

enum class FileReadStatus {
    Ok,
    Missing, // no file of that name
    Failed,  // a folder, no permission, or an error while reading
};

// Reads every byte of `path` into `out`; on Failed errno tells why.
FileReadStatus readWholeFile(const std::string& path, std::string& out);

// Writes `content` to a new file beside `path`, flushes it to disk and renames it over `path`.
// A symbolic link is followed: its target is replaced, or created when it does not exist yet.
// An existing file keeps its permission bits, and its owner and group as far as the process may
// give them; a new one gets 0666 less the umask. A file the caller may not write, or one without
// any write permission (also for root), is refused. On failure `path` is untouched, false comes
// back and errno tells why (ENOSPC for a full disk, EACCES for a refused file, ELOOP for links
// that loop). Temporary files that killed writers left beside the file are removed.
bool replaceFileAtomically(const std::string& path, std::string_view content);

// Called with the temporary file's path once it holds the flushed new content, right before the
// rename. Lets a test stop a write at its most delicate point; null (the default) for none.
using BeforeRenameHook = void (*)(const std::string& temporaryPath);
void setBeforeRenameHook(BeforeRenameHook hook);
