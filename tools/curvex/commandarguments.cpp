#include "commandarguments.h"

#include "cutloader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

bool endsWithIgnoringCase(const std::string& text, const char* ending) {
    const std::size_t length = std::strlen(ending);
    if (text.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[text.size() - length + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i])
            return false;
    }
    return true;
}

template <typename T> bool readWhole(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool reportBadNumber(const std::string& option, const std::string& text) {
    std::fprintf(stderr, "curvex: %s needs a number, not '%s'\n", option.c_str(), text.c_str());
    return false;
}

} // namespace

std::optional<CommandArgumentList>
parseCommandArguments(CommandArguments args, std::initializer_list<const char*> valued) {
    CommandArgumentList result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string argument = args[i];
        if (argument == "--text" || argument == "--binary") {
            const CutFormat format = argument == "--text" ? CutFormat::Text : CutFormat::Binary;
            if (result.format && *result.format != format) {
                std::fprintf(stderr, "curvex: --text and --binary exclude each other\n");
                return std::nullopt;
            }
            result.format = format;
            continue;
        }
        bool takesValue = false;
        for (const char* option : valued)
            takesValue = takesValue || argument == option;
        if (takesValue) {
            if (i + 1 == args.size()) {
                std::fprintf(stderr, "curvex: %s needs a value\n", argument.c_str());
                return std::nullopt;
            }
            result.values[argument] = args[++i];
            continue;
        }
        if (argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "curvex: unknown option '%s'\n", argument.c_str());
            return std::nullopt;
        }
        result.operands.push_back(argument);
    }
    return result;
}

std::optional<CutFormat> chooseFormat(const CommandArgumentList& arguments,
                                      const std::string& path) {
    if (arguments.format)
        return arguments.format;
    if (endsWithIgnoringCase(path, ".txt"))
        return CutFormat::Text;
    if (endsWithIgnoringCase(path, ".bin"))
        return CutFormat::Binary;
    std::fprintf(stderr,
                 "curvex: cannot tell the format of %s from its ending; give --text or --binary\n",
                 path.c_str());
    return std::nullopt;
}

int loadOperandFile(const CommandArgumentList& arguments, CutDataSet& data) {
    if (arguments.operands.size() != 1) {
        std::fprintf(stderr, "curvex: give exactly one file\n");
        return kExitUsage;
    }
    const std::string& path = arguments.operands.front();
    const std::optional<CutFormat> format = chooseFormat(arguments, path);
    if (!format)
        return kExitUsage;
    const LoadResult result = LoadCutFile(path, *format, data);
    if (!result.ok()) {
        std::fprintf(stderr, "curvex: cannot load %s: %s\n", path.c_str(), result.reason().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

bool readOptionNumber(const std::string& option, const std::string& text, float& value) {
    if (!readWhole(text, value) || !std::isfinite(value))
        return reportBadNumber(option, text);
    return true;
}

bool readOptionNumber(const std::string& option, const std::string& text, std::uint64_t& value) {
    if (!readWhole(text, value))
        return reportBadNumber(option, text);
    return true;
}

bool readOptionFeed(const std::string& option, const std::string& text, float& value) {
    if (!readOptionNumber(option, text, value))
        return false;
    if (!(value > 0.0f)) {
        std::fprintf(stderr, "curvex: %s needs a feed above 0 mm/min, not '%s'\n", option.c_str(),
                     text.c_str());
        return false;
    }
    return true;
}

int cannotWriteSettings(const std::string& path, int error) {
    std::fprintf(stderr, "curvex: cannot write the settings file %s: %s\n", path.c_str(),
                 std::strerror(error));
    return kExitFailure;
}

int finishOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "curvex: cannot write to standard output\n");
        return kExitFailure;
    }
    return kExitOk;
}
