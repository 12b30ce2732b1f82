#include "commandarguments.h"

#include "cutloader.h"
#include "programtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>

namespace {

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

std::optional<CutFormat> chooseFormat(const CommandArgumentList& arguments,
                                      const std::string& path) {
    if (arguments.format)
        return arguments.format;
    if (const std::optional<CutFormat> format = CutFormatOfName(path))
        return format;
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

bool readOptionCount(const CommandArgumentList& arguments, const std::string& option,
                     std::uint64_t least, std::uint64_t& count) {
    const std::string* text = arguments.value(option);
    if (!text)
        return true;
    if (!readOptionNumber(option, *text, count))
        return false;
    if (count < least || count > UINT32_MAX) {
        std::fprintf(stderr, "curvex: %s needs a whole number from %llu to %u, not '%s'\n",
                     option.c_str(), static_cast<unsigned long long>(least), UINT32_MAX,
                     text->c_str());
        return false;
    }
    return true;
}

bool readProgramLines(const std::string& path, const CutDataSet& data,
                      std::optional<RecordLines>& lines) {
    ProgramText program;
    if (int error = 0; !ProgramText::read(path, program, error)) {
        std::fprintf(stderr, "curvex: cannot read %s: %s\n", path.c_str(),
                     ProgramText::reasonOf(error).c_str());
        return false;
    }
    lines.emplace(program, std::span(data.blockNos.data(), data.count));
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
