#pragma once

#include "cutformat.h"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The arguments after a command's name.
using CommandArguments = std::span<char* const>;

// An option a command takes: a switch, or an option followed by `values` values.
struct CommandOption {
    const char* name;
    int values = 0;
    // What the message "NAME needs ..." calls the values when they are missing.
    const char* needs = "a value";
};

// The options of one command, each declared once.
using CommandOptions = std::span<const CommandOption>;

// The arguments of one command as read in order: the format flags, every option given with the
// values of its last occurrence (none for a switch), the remaining operands, and whether --help
// was asked for.
struct CommandArgumentList {
    std::optional<CutFormat> format; // --text or --binary
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> operands;
    bool help = false;

    bool has(const std::string& option) const;
    // The (first) value of `option`; null when it was not given.
    const std::string* value(const std::string& option) const;
};

// Reads `args` once, from first to last. An option takes the arguments after it as its values,
// whatever they look like; --text and --binary are every command's; --help ends the reading; any
// other argument that starts with '-' (not "-" alone) is an unknown option; the rest are
// operands. Prints what is wrong and returns nothing on wrong usage.
std::optional<CommandArgumentList> parseCommandArguments(CommandArguments args,
                                                         CommandOptions options);
