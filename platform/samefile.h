#pragma once

#include <span>
#include <string>

// Whether two names lead to one file: an output written under one would destroy what the other
// holds.

// Whether `a` and `b` name the same file: the same device and inode once symbolic links are
// followed. Where either does not exist yet, whether both lead to the same place, so that two
// outputs not yet written are told apart as well. Empty names are no file.
bool isSameFile(const std::string& a, const std::string& b);

// The first of `others` that is the same file as `output`; null when none is.
const std::string* sameFileAmong(const std::string& output, std::span<const std::string> others);
