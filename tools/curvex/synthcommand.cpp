#include "binarycutwriter.h"
#include "commandarguments.h"
#include "commands.h"
#include "cutsynthesizer.h"
#include "filepath.h"
#include "ncprogramwriter.h"
#include "outputclash.h"
#include "partsynthesizer.h"
#include "textcutwriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint64_t kDefaultSeed = 1;
constexpr std::uint64_t kDefaultBlocks = 3000;
constexpr std::uint64_t kMaxBlocks = 100'000'000;

// Writes `bytes` to `path`; false after saying why it could not.
bool writeFile(const std::string& path, const std::string& bytes) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written)
        std::fprintf(stderr, "curvex: cannot write %s: %s\n", path.c_str(),
                     std::strerror(error != 0 ? error : EIO));
    return written;
}

// Whether `path` can be written, checked before any output is: a file the process may write, or
// a new one in a folder it may write. False after saying why not.
bool mayWrite(const std::string& path) {
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    int error = exists && S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (error == 0 && ::access(exists ? path.c_str() : folderOf(path).c_str(), W_OK) != 0)
        error = errno;
    if (error != 0)
        std::fprintf(stderr, "curvex: cannot write %s: %s\n", path.c_str(), std::strerror(error));
    return error == 0;
}

// --paths random (the default) or part, where given.
bool readPaths(const CommandArgumentList& arguments, bool& part) {
    const std::string* value = arguments.value("--paths");
    if (value && *value != "random" && *value != "part") {
        std::fprintf(stderr, "curvex: --paths needs random or part, not '%s'\n", value->c_str());
        return false;
    }
    part = value && *value == "part";
    return true;
}

// The whole number given with `option`, where given, of at most `most`.
bool readCount(const CommandArgumentList& arguments, const char* option, std::uint64_t most,
               std::uint64_t& count) {
    const std::string* value = arguments.value(option);
    return !value || readOptionCount(option, *value, 0, most, count);
}

// `blocks` blocks of `seed`, of random moves or (`part`) like the machining of a part.
void synthesize(bool part, std::uint64_t seed, std::uint64_t blocks, CutWriter& writer) {
    if (part)
        PartSynthesizer(seed).generate(static_cast<std::int64_t>(blocks), writer);
    else
        CutSynthesizer(seed).generate(static_cast<std::int64_t>(blocks), writer);
}

// FILE's name with the ending .nc in place of its own, if it has one.
std::string programPathOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool ending = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (ending ? path.substr(0, dot) : path) + ".nc";
}

// The NC program of the same blocks beside the data; false with a message when it cannot be
// written.
bool writeProgram(const std::string& dataPath, bool part, std::uint64_t seed,
                  std::uint64_t blocks) {
    NcProgramWriter writer;
    synthesize(part, seed, blocks, writer);
    return writeFile(programPathOf(dataPath), writer.contents());
}

// Both outputs, the data and (`program`) its program, checked before either is written: they
// are two files, and each can be written. An exit status.
int checkOutputs(const std::string& dataPath, bool program) {
    if (!program)
        return mayWrite(dataPath) ? kExitOk : kExitFailure;
    const std::string programPath = programPathOf(dataPath);
    const std::string data[] = {dataPath};
    if (const int status = refuseOverwrite(programPath, data, "data output"); status != kExitOk)
        return status;
    return mayWrite(dataPath) && mayWrite(programPath) ? kExitOk : kExitFailure;
}

} // namespace

int runSynth(const CommandArgumentList& arguments) {
    const std::string* output = arguments.value("-o");
    if (!output || !arguments.operands.empty()) {
        std::fprintf(stderr, "curvex: give the output file with -o and nothing else\n");
        return kExitUsage;
    }
    std::uint64_t seed = kDefaultSeed;
    std::uint64_t blocks = kDefaultBlocks;
    bool part = false;
    const bool program = arguments.has("--nc");
    if (!readCount(arguments, "--blocks", kMaxBlocks, blocks) || !readPaths(arguments, part) ||
        !readCount(arguments, "--seed", UINT64_MAX, seed))
        return kExitUsage;
    const std::optional<CutFormat> format = chooseFormat(arguments, *output);
    if (!format)
        return kExitUsage;
    if (const int status = checkOutputs(*output, program); status != kExitOk)
        return status;
    std::unique_ptr<CutWriter> writer;
    if (*format == CutFormat::Text)
        writer = std::make_unique<TextCutWriter>();
    else
        writer = std::make_unique<BinaryCutWriter>();
    synthesize(part, seed, blocks, *writer);
    if (!writeFile(*output, writer->contents()))
        return kExitFailure;
    if (program && !writeProgram(*output, part, seed, blocks))
        return kExitFailure;
    return kExitOk;
}
