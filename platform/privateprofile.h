#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Settings files of the private-profile (INI) kind. Byte strings; section and key names match
// without regard to ASCII case.

// Copies the value of section/key (or `defaultValue` when the file, section or key is missing)
// into `buffer`, at most bufferSize - 1 bytes and a terminating NUL. Returns the number of bytes
// delivered, NUL not counted.
std::size_t getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, char* buffer,
                                    std::size_t bufferSize, const std::string& file);

// Sets section/key to `value`, keeping every other byte of the file. The file is replaced
// atomically; false when it could not be written (the old file is then untouched), with errno
// telling why (EINVAL for a section, key or value that a file cannot hold).
bool writePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file);
