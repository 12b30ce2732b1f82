#include "commandarguments.h"
#include "commands.h"
#include "programtext.h"
#include "recordlines.h"

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <utility>

// `curvex source`: the program line a record comes from.

namespace {

bool readRecord(const CommandArgumentList& arguments, std::uint64_t& record) {
    const std::string* text = arguments.value("--record");
    if (!text) {
        std::fprintf(stderr, "curvex: give the record with --record I\n");
        return false;
    }
    return readOptionCount("--record", *text, 0, UINT64_MAX, record);
}

// The path given with --program; prints what is wrong when there is none.
const std::string* programPath(const CommandArgumentList& arguments) {
    const std::string* path = arguments.value("--program");
    if (!path)
        std::fprintf(stderr, "curvex: give the NC program with --program PROG\n");
    return path;
}

} // namespace

int runSource(const CommandArgumentList& arguments) {
    std::uint64_t record = 0;
    const std::string* path = programPath(arguments);
    if (!path || !readRecord(arguments, record))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    ProgramText program;
    if (int error = 0; !ProgramText::read(*path, program, error)) {
        std::fprintf(stderr, "curvex: cannot read %s: %s\n", path->c_str(),
                     ProgramText::reasonOf(error).c_str());
        return kExitFailure;
    }
    if (record >= data.count) {
        std::fprintf(stderr, "curvex: record %llu is beyond the %u records\n",
                     static_cast<unsigned long long>(record), data.count);
        return kExitFailure;
    }
    ProgramNumbers numbers = ProgramNumbers::of(program);
    if (!numbers.numbered())
        std::fprintf(stderr, "curvex: %s\n", kUnnumberedProgramNote);
    const RecordLines lines(std::move(numbers), std::span(data.blockNos.data(), data.count));
    const std::uint32_t line = lines.lineOf(static_cast<std::uint32_t>(record));
    if (line == 0) {
        std::fprintf(stderr, "curvex: record %llu has no line in the program\n",
                     static_cast<unsigned long long>(record));
        return kExitFailure;
    }
    const std::string_view text = program.line(line);
    std::printf("%u,", line);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::printf("\n");
    return finishOutput();
}
