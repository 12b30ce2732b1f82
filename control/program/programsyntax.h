#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The parts of a program line that the program panel colours.
enum class SyntaxKind {
    Plain,
    Comment,     // in parentheses, or from ";" to the end of the line
    BlockNumber, // N word
    Code,        // G and M words
    Axis,        // X, Y, Z, A, B, C, U, V, W, I, J, K and R words
    Setting,     // F, S and T words
};

struct SyntaxSpan {
    std::size_t start = 0; // byte offsets into the line
    std::size_t length = 0;
    SyntaxKind kind = SyntaxKind::Plain;
};

// The line cut into spans that follow each other and cover it; a word is its letter (either case)
// and the number after it. A comment that is not closed runs to the end of the line.
std::vector<SyntaxSpan> SyntaxSpansOf(std::string_view line);
