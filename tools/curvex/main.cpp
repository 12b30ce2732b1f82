#include "commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    const char* usage; // the arguments after the name
    const char* help;
    int (*run)(CommandArguments);
};

constexpr Command kCommands[] = {
    {"dump", "[--text | --binary] [--g00 FEED] FILE",
     "Loads FILE and prints a header line and one line per record: i, the ten record\n"
     "  fields, totalDistance, cutDistance and the three series (G00 feed FEED, default\n"
     "  5000). Without --text or --binary the ending decides: \".txt\" text, \".bin\"\n"
     "  binary, in any case; any other ending needs one of them.",
     runDump},
    {"info", "[--text | --binary] FILE",
     "Loads FILE and prints \"records:\", \"total distance:\", \"cutting distance:\" and the\n"
     "  three maxima, one per line. FILE's format is chosen as for dump.",
     runInfo},
    {"synth", "[--seed N] [--blocks N] [--text | --binary] -o FILE",
     "Writes generated monitoring data (default seed 1, 3000 blocks) to FILE; the same seed\n"
     "  gives the same file.",
     runSynth},
    {"titles", "INI",
     "Reads the axis titles from the settings file INI as the graph control does, writing\n"
     "  the missing defaults of the first three slots back into it, and prints X1=..X16=\n"
     "  and Y1=..Y16=, one per line.",
     runTitles},
};

void printUsage(std::FILE* stream, const Command& command) {
    std::fprintf(stream, "usage: curvex %s %s\n", command.name, command.usage);
}

void printHelp() {
    std::printf("curvex: command-line access to the monitoring-data files.\n\n");
    for (const Command& command : kCommands) {
        printUsage(stdout, command);
        std::printf("  %s\n\n", command.help);
    }
    std::printf("Exit status: 0 success, 1 a file could not be loaded or written, 2 wrong "
                "usage.\nFloats are printed with %%.9g, errors go to standard error.\n");
}

void printAllUsages() {
    for (const Command& command : kCommands)
        printUsage(stderr, command);
    std::fprintf(stderr, "       curvex --help\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printAllUsages();
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printHelp();
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        const int status =
            command.run(CommandArguments(argv + 2, static_cast<std::size_t>(argc - 2)));
        if (status == kExitUsage)
            printUsage(stderr, command);
        return status;
    }
    std::fprintf(stderr, "curvex: unknown command '%s'\n", argv[1]);
    printAllUsages();
    return kExitUsage;
}
