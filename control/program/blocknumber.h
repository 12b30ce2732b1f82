#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The block number of a program line: the number of an N word at its start. Before it may come
// blanks (spaces and tabs), then a block-skip "/" and blanks; then "N" or "n" followed directly
// by at least one digit. Leading zeros count for nothing (N0010 is 10). Nothing for any other
// line, and for a number beyond 32 bits, which no record can carry.
std::optional<std::uint32_t> BlockNumberOf(std::string_view line);
