#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The block number of a program line: the number of an N word at its start. Before it may come
// blanks (spaces and tabs), then a block-skip "/" and blanks; then "N" or "n" followed directly
// by at least one digit. Leading zeros count for nothing (N0010 is 10). Nothing for any other
// line, and for a number beyond 32 bits, which no record can carry.
std::optional<std::uint32_t> BlockNumberOf(std::string_view line);

// How many bytes at the start of a line are searched for its block number, so that reading the
// block numbers of a program takes the same memory whatever the length of its lines.
inline constexpr std::size_t kBlockNumberBytes = 4096;
