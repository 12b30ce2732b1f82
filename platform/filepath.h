#pragma once

#include <string>

// Path routines of the settings-file writer, on byte strings.

// The folder part of `path`: "." when it has none, "/" for a file in the root.
std::string folderOf(const std::string& path);

// The part of `path` after its last "/".
std::string baseNameOf(const std::string& path);

// The file that a write to `path` replaces: `path` itself when it is no symbolic link, else the
// end of its chain of links, which need not exist yet. Empty for a chain that loops or is too
// long to follow.
std::string linkTarget(const std::string& path);
