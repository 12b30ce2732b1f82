#include "binarycutwriter.h"
#include "commandarguments.h"
#include "commands.h"
#include "cutsynthesizer.h"
#include "ncprogramwriter.h"
#include "partsynthesizer.h"
#include "textcutwriter.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr std::uint64_t kDefaultSeed = 1;
constexpr std::uint64_t kDefaultBlocks = 3000;
constexpr std::uint64_t kMaxBlocks = 100'000'000;

bool writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
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

// The whole number given with `option`, where given.
bool readCount(const CommandArgumentList& arguments, const char* option, std::uint64_t& count) {
    const std::string* value = arguments.value(option);
    return !value || readOptionNumber(option, *value, count);
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
    const std::string path = programPathOf(dataPath);
    if (!writeFile(path, writer.contents())) {
        std::fprintf(stderr, "curvex: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
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
    if (!readCount(arguments, "--blocks", blocks) || !readPaths(arguments, part) ||
        !readCount(arguments, "--seed", seed))
        return kExitUsage;
    if (blocks > kMaxBlocks) {
        std::fprintf(stderr, "curvex: at most %llu blocks\n",
                     static_cast<unsigned long long>(kMaxBlocks));
        return kExitUsage;
    }
    const std::optional<CutFormat> format = chooseFormat(arguments, *output);
    if (!format)
        return kExitUsage;
    std::unique_ptr<CutWriter> writer;
    if (*format == CutFormat::Text)
        writer = std::make_unique<TextCutWriter>();
    else
        writer = std::make_unique<BinaryCutWriter>();
    synthesize(part, seed, blocks, *writer);
    if (!writeFile(*output, writer->contents())) {
        std::fprintf(stderr, "curvex: cannot write %s\n", output->c_str());
        return kExitFailure;
    }
    if (arguments.has("--nc") && !writeProgram(*output, part, seed, blocks))
        return kExitFailure;
    return kExitOk;
}
