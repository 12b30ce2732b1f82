#include "commandargumentlist.h"

#include <algorithm>
#include <cstdio>

namespace {

const CommandOption* findOption(CommandOptions options, const std::string& name) {
    const auto found =
        std::find_if(options.begin(), options.end(),
                     [&](const CommandOption& option) { return name == option.name; });
    return found == options.end() ? nullptr : &*found;
}

bool readFormatFlag(const std::string& argument, CommandArgumentList& result) {
    const CutFormat format = argument == "--text" ? CutFormat::Text : CutFormat::Binary;
    if (result.format && *result.format != format) {
        std::fprintf(stderr, "curvex: --text and --binary exclude each other\n");
        return false;
    }
    result.format = format;
    return true;
}

// Takes the values of `option`, given at args[at], from the arguments after it; moves `at` to
// the last of them.
bool readOptionValues(CommandArguments args, const CommandOption& option, std::size_t& at,
                      CommandArgumentList& result) {
    const std::size_t count = static_cast<std::size_t>(option.values);
    if (args.size() - at - 1 < count) {
        std::fprintf(stderr, "curvex: %s needs %s\n", option.name, option.needs);
        return false;
    }
    result.options[option.name].assign(args.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                       args.begin() + static_cast<std::ptrdiff_t>(at + 1 + count));
    at += count;
    return true;
}

bool isOptionLike(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

} // namespace

bool CommandArgumentList::has(const std::string& option) const {
    return options.count(option) != 0;
}

const std::string* CommandArgumentList::value(const std::string& option) const {
    const auto found = options.find(option);
    return found == options.end() || found->second.empty() ? nullptr : &found->second.front();
}

std::optional<CommandArgumentList> parseCommandArguments(CommandArguments args,
                                                         CommandOptions options) {
    CommandArgumentList result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string argument = args[i];
        if (argument == "--help") {
            result.help = true;
            return result;
        }
        bool read = true;
        if (argument == "--text" || argument == "--binary")
            read = readFormatFlag(argument, result);
        else if (const CommandOption* option = findOption(options, argument))
            read = readOptionValues(args, *option, i, result);
        else if (isOptionLike(argument)) {
            std::fprintf(stderr, "curvex: unknown option '%s'\n", argument.c_str());
            read = false;
        } else
            result.operands.push_back(argument);
        if (!read)
            return std::nullopt;
    }
    return result;
}
