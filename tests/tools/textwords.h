#pragma once

#include <sstream>
#include <string>
#include <vector>

// The words of a line of text, split at white space.
inline std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}
