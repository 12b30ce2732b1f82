#include "binarycutwriter.h"
#include "commandarguments.h"
#include "commands.h"
#include "cutsynthesizer.h"
#include "partsynthesizer.h"
#include "textcutwriter.h"

#include <cstdio>
#include <memory>

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

// "random" (the default) or "part".
bool readPaths(const std::string& value, bool& part) {
    if (value != "random" && value != "part") {
        std::fprintf(stderr, "curvex: --paths needs random or part, not '%s'\n", value.c_str());
        return false;
    }
    part = value == "part";
    return true;
}

} // namespace

int runSynth(CommandArguments args) {
    const auto arguments = parseCommandArguments(args, {"--seed", "--blocks", "--paths", "-o"});
    if (!arguments)
        return kExitUsage;
    const auto output = arguments->values.find("-o");
    if (output == arguments->values.end() || !arguments->operands.empty()) {
        std::fprintf(stderr, "curvex: give the output file with -o and nothing else\n");
        return kExitUsage;
    }
    std::uint64_t seed = kDefaultSeed;
    std::uint64_t blocks = kDefaultBlocks;
    bool part = false;
    for (const auto& [option, value] : arguments->values) {
        if (option == "--paths" && !readPaths(value, part))
            return kExitUsage;
        if (option == "--seed" && !readOptionNumber(option, value, seed))
            return kExitUsage;
        if (option == "--blocks" && !readOptionNumber(option, value, blocks))
            return kExitUsage;
    }
    if (blocks > kMaxBlocks) {
        std::fprintf(stderr, "curvex: at most %llu blocks\n",
                     static_cast<unsigned long long>(kMaxBlocks));
        return kExitUsage;
    }
    const std::optional<bool> text = chooseTextFormat(*arguments, output->second);
    if (!text)
        return kExitUsage;
    std::unique_ptr<CutWriter> writer;
    if (*text)
        writer = std::make_unique<TextCutWriter>();
    else
        writer = std::make_unique<BinaryCutWriter>();
    if (part)
        PartSynthesizer(seed).generate(static_cast<std::int64_t>(blocks), *writer);
    else
        CutSynthesizer(seed).generate(static_cast<std::int64_t>(blocks), *writer);
    if (!writeFile(output->second, writer->contents())) {
        std::fprintf(stderr, "curvex: cannot write %s\n", output->second.c_str());
        return kExitFailure;
    }
    return kExitOk;
}
