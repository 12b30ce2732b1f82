#pragma once

#include <string>
#include <string_view>

// A private folder for the files a fuzz target writes, on tmpfs (/dev/shm) where there is one so
// that the many small writes stay in memory. Created on first use, removed with its contents at
// exit.
const std::string& ScratchFolder();

// Replaces the file `path` by exactly `bytes`; aborts when that is impossible.
void WriteBytes(const std::string& path, std::string_view bytes);

// The whole content of `path`; aborts when it cannot be read.
std::string ReadBytes(const std::string& path);
