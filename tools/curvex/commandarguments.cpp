#include "commandarguments.h"

#include "cutloader.h"
#include "numerictext.h"
#include "programtext.h"

#include <cstdio>
#include <cstring>
#include <span>

namespace {

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
    switch (ReadFloatText(text, value)) {
    case NumberReading::Read:
        return true;
    case NumberReading::TooLarge:
        std::fprintf(stderr, "curvex: %s '%s' is too large (at most %s)\n", option.c_str(),
                     text.c_str(), kLargestFloatText);
        return false;
    case NumberReading::TooSmall:
        std::fprintf(stderr, "curvex: %s '%s' is too small: it rounds to 0\n", option.c_str(),
                     text.c_str());
        return false;
    case NumberReading::NotNumber:
        break;
    }
    return reportBadNumber(option, text);
}

bool readOptionCount(const std::string& option, const std::string& text, std::uint64_t least,
                     std::uint64_t most, std::uint64_t& value) {
    const NumberReading reading = ReadCountText(text, least, most, value);
    if (reading == NumberReading::Read)
        return true;
    if (reading == NumberReading::NotNumber)
        return reportBadNumber(option, text);
    std::fprintf(stderr, "curvex: %s needs a whole number from %llu to %llu, not '%s'\n",
                 option.c_str(), static_cast<unsigned long long>(least),
                 static_cast<unsigned long long>(most), text.c_str());
    return false;
}

bool readOptionCount(const CommandArgumentList& arguments, const std::string& option,
                     std::uint64_t least, std::uint64_t& count) {
    const std::string* text = arguments.value(option);
    return !text || readOptionCount(option, *text, least, UINT32_MAX, count);
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
