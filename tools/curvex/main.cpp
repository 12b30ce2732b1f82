#include "commandoutput.h"
#include "commands.h"
#include "curvexids.h"
#include "viewoptions.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

struct Command {
    const char* name;
    const char* usage; // the arguments after the name
    const char* help;
    CommandOptions options; // besides --text, --binary and --help, which every command takes
    int (*run)(const CommandArgumentList&);
};

// `options` and one more.
template <std::size_t N>
constexpr std::array<CommandOption, N + 1> withOption(const CommandOption (&options)[N],
                                                      CommandOption more) {
    std::array<CommandOption, N + 1> all{};
    std::copy(options, options + N, all.begin());
    all[N] = more;
    return all;
}

// The options of each command; one line adds one.
constexpr CommandOption kDumpOptions[] = {kG00Option, {"--columns", 1}};
constexpr CommandOption kSynthOptions[] = {
    {"--seed", 1}, {"--blocks", 1}, {"--paths", 1}, {"--nc"}, {"-o", 1},
};
constexpr CommandOption kRenderOptions[] = {
    kSizeOption,  kFuncOption,    kDistOption,     kTimeOption,   kRangeOption,
    kG00Option,   kCompareOption, kColourByOption, kLegendOption, kFitHeightOption,
    {"--ini", 1}, kFramesOption,  {"-o", 1},
};
constexpr CommandOption kPickOptions[] = {
    kSizeOption, kFuncOption,    kDistOption,   kTimeOption, kRangeOption,
    kG00Option,  kCompareOption, {"--elapsed"}, {"--x", 1},
};
constexpr CommandOption kStatsOptions[] = {
    kG00Option, kRangeOption, kDistOption, kTimeOption, {"--csv"}};
constexpr CommandOption kToolpathOptions[] = {
    {"--view", 1}, {"--colour", 1}, kSizeOption,     kRangeOption,  kDistOption,
    kTimeOption,   kG00Option,      {"--detail", 1}, kFramesOption, {"-o", 1},
};
constexpr auto kToolpathPickOptions = withOption(kToolpathOptions, {"--at", 2, "two numbers"});
constexpr CommandOption kReportOptions[] = {
    kFuncOption,      kCompareOption,  kDistOption,   kTimeOption,      kRangeOption,
    kG00Option,       kColourByOption, kLegendOption, kFitHeightOption, {"--ini", 1},
    {"--program", 1}, {"--title", 1},  {"-o", 1},
};
constexpr CommandOption kPeaksOptions[] = {
    kFuncOption,    kDistOption,  kTimeOption,       kRangeOption, kG00Option,
    kCompareOption, {"--top", 1}, {"--per-tool", 1}, {"--gap", 1}, {"--csv"},
};
constexpr CommandOption kSourceOptions[] = {{"--program", 1}, {"--record", 1}};
constexpr CommandOption kChangesOptions[] = {
    {"--slower"}, {"--faster"}, {"--top", 1}, {"--program", 1}, {"--csv"},
};

constexpr Command kCommands[] = {
    {"dump", "[--text | --binary] [--g00 FEED] [--columns LIST] FILE",
     "Loads FILE and prints a header line and one line per record: i, the ten record\n"
     "  fields, totalDistance, cutDistance and the three series (G00 feed FEED, default\n"
     "  {g00}). Without --text or --binary the ending decides: \".txt\" text, \".bin\"\n"
     "  binary, in any case; any other ending needs one of them. --columns prints only the\n"
     "  columns of LIST, header names separated by commas, in its order.",
     kDumpOptions, runDump},
    {"info",
     "[--text | --binary] FILE",
     "Loads FILE and prints \"records:\", \"total distance:\", \"cutting distance:\" and the\n"
     "  three maxima, one per line. FILE's format is chosen as for dump.",
     {},
     runInfo},
    {"synth", "[--seed N] [--blocks N] [--paths random|part] [--text | --binary] [--nc] -o FILE",
     "Writes generated monitoring data (default seed 1, 3000 blocks) to FILE; the same seed\n"
     "  gives the same file. --paths part writes paths like the machining of a part\n"
     "  (pockets, a contour, a spiral, a 3D surface by zig-zag) instead of random moves.\n"
     "  --nc also writes the NC program of the same blocks beside it, under FILE's name\n"
     "  with the ending .nc.",
     kSynthOptions, runSynth},
    {"titles",
     "INI",
     "Reads the axis titles from the settings file INI as the graph control does, writing\n"
     "  the missing defaults of the first three slots back into it, and prints X1=..X16=\n"
     "  and Y1=..Y16=, one per line.",
     {},
     runTitles},
    {"render",
     "[--text | --binary] [--size WxH] [--func N] [--dist N | --time T] [--range LO HI] [--g00 "
     "FEED]\n"
     "       [--compare rates|feeds|change] [--colour-by tool] [--legend] [--fit-height]\n"
     "       [--ini FILE] [--frames N] -o OUT FILE",
     "Loads FILE and renders the chart as the graph control draws it into OUT, whose ending\n"
     "  picks the format: .png (the screen's pixels), .svg or .pdf (vector drawing with the\n"
     "  labels as text); -o - writes PNG to standard output. Size WxH (default 1000x600),\n"
     "  plotted quantity N (0 removal, 1 and 2 removal per second with the programmed or\n"
     "  optimised feed; default 0), horizontal axis N (0 distance, 1 distance without G00\n"
     "  moves, 2 block number; default 0), shown range LO..HI percent (default 0 100), G00\n"
     "  feed (default {g00}), and the axis titles and the {colours} drawing colours of the "
     "settings\n"
     "  file FILE (none without --ini). Exit status 3 when OUT cannot be written. --frames N\n"
     "  renders N frames, the shown range moving on by 1 % of its width each frame (from 0 %\n"
     "  again at the end), prints \"frames: N  median ms: X  max ms: Y\" on standard error and\n"
     "  makes -o optional (the last frame is saved). --compare draws both rates or both feeds\n"
     "  (programmed in grey, optimised in colour; feeds break at G00 moves) instead of N,\n"
     "  or change the feed change in percent of the programmed feed on a signed scale\n"
     "  (G00 moves and moves without a programmed feed break it);\n"
     "  --colour-by tool draws tool t in colour t & 15; --legend adds the tools' legend;\n"
     "  --fit-height scales to the largest value drawn in the shown range. --time T\n"
     "  (programmed or optimised) places each record at the machining time up to the end\n"
     "  of its block instead of N (G00 moves at FEED, moves without feed count 0), ticks\n"
     "  labelled m:ss or h:mm:ss; LO..HI are then percent of the whole time. Every command\n"
     "  that takes --dist takes --time; both together are a usage error.",
     kRenderOptions, runRender},
    {"pick",
     "[--text | --binary] [--size WxH] [--func N] [--dist N | --time T] [--range LO HI] [--g00 "
     "FEED]\n"
     "       [--compare rates|feeds|change] [--elapsed] --x PX FILE",
     "Loads FILE and prints the record the chart's read-out shows at pixel column PX of\n"
     "  the chart that render draws with the same options: in that column the record with\n"
     "  the largest plotted value (the first of equals), else the one of the nearest column\n"
     "  that has records (the left one on a tie). One line: index,blockNo,toolNo,\n"
     "  motionCode,x,y,z,orgFeed,optFeed,removalKind,removal,value. Exit status 1 when the\n"
     "  chart draws no record. --elapsed appends position,elapsed_programmed_s,\n"
     "  elapsed_optimised_s: the record's place on the horizontal axis and the machining\n"
     "  time up to the end of its block (G00 moves at FEED, moves without feed count 0).\n"
     "  --compare picks as the read-out of that compare chart does; value is then the\n"
     "  optimised series or the feed change.",
     kPickOptions, runPick},
    {"stats",
     "[--text | --binary] [--g00 FEED] [--range LO HI] [--dist N | --time T] "
     "[--csv] FILE",
     "Loads FILE and prints the machining times: per tool in the order of first use and in\n"
     "  total, the records, the cutting and rapid lengths (mm), the programmed and optimised\n"
     "  times (G00 moves at FEED mm/min, default {g00}), the time saved, the moves without\n"
     "  feed, and the air cutting: the length and the programmed and optimised time of the\n"
     "  moves other than G00 whose removal is 0 or less. --range LO HI counts only the records the "
     "chart shows for LO..HI percent of\n"
     "  the horizontal axis N (as for render, default 0). Without --csv an aligned table\n"
     "  with times as h:mm:ss.s; with --csv a header line and one line per tool, then\n"
     "  \"total\", times in seconds.",
     kStatsOptions, runStats},
    {"toolpath",
     "[--text | --binary] [--view top|front|right|iso]\n"
     "       [--colour chart|removal|rate-org|rate-opt|change]\n"
     "       [--size WxH] [--range LO HI] [--dist N | --time T] [--g00 FEED] [--detail "
     "draft|full]\n"
     "       [--frames N] -o OUT FILE",
     "Loads FILE and draws the toolpath through the records' end points into OUT (.png,\n"
     "  .svg or .pdf as for render), seen from the top, front, right or iso (default) and\n"
     "  fitted to the size (default 800x600). Colours: the chart's (default) or the removal\n"
     "  or the removal per second with either feed through a colour map, or the feed change\n"
     "  through a map from red (slowest) through grey to blue (fastest); G00 moves dashed\n"
     "  grey; records outside the chart's range LO..HI faded. --detail draft draws the draft\n"
     "  the toolpath view shows while it is dragged (at most some 400,000 segments, every\n"
     "  k-th record's) into a .png and the frames; full (default) every segment. --frames N\n"
     "  turns the view by 3 degrees a frame and prints the frame times as render does.",
     kToolpathOptions, runToolpath},
    {"toolpath-pick",
     "[--text | --binary] [--view V] [--colour C] [--size WxH] [--range LO HI] [--dist N | --time "
     "T]\n"
     "       [--g00 FEED] --at PX PY FILE",
     "Loads FILE and prints the record whose segment of the toolpath drawn with the same\n"
     "  options lies nearest the pixel PX PY (the lower record of equals), as pick prints\n"
     "  it. Exit status 1 when no segment lies within 8 pixels.",
     kToolpathPickOptions, runToolpathPick},
    {"report",
     "[--text | --binary] [--func N | --compare rates|feeds|change] [--dist N | --time T]\n"
     "       [--range LO HI] [--g00 FEED] [--colour-by tool] [--fit-height] [--ini FILE] "
     "[--program PROG]\n"
     "       [--title TEXT] -o OUT.pdf FILE",
     "Loads FILE and writes its report to OUT.pdf, A4 landscape, vector drawing with the text\n"
     "  as text: a header (the title, default FILE's name; FILE's full path and modification\n"
     "  time, the time of the report, records and tools), the chart as render draws it with\n"
     "  the same options and always the legend, both axis titles, the machining times per\n"
     "  tool and in total (with the shown range's row when --range narrows it), as stats gives\n"
     "  them, the 10 highest peaks as peaks gives them (with the line of PROG that each record\n"
     "  comes from), and the toolpath in the iso view in the chart's colours, the records\n"
     "  outside the shown range faded; then \"Where the optimisation acted\": the chart as\n"
     "  --compare change draws it, the toolpath coloured by feed change, the 5 largest\n"
     "  slowdowns and speed-ups as changes --top 5 gives them and the air cutting of FILE\n"
     "  and of the shown range as stats. More pages, numbered, where it does not fit. Captions\n"
     "  come from section [Extra Text] of --ini.\n"
     "  Exit status 3 when OUT.pdf cannot be written; an older file then stays as it was.",
     kReportOptions, runReport},
    {"peaks",
     "[--text | --binary] [--func N] [--dist N | --time T] [--range LO HI] [--g00 FEED]\n"
     "       [--compare rates|feeds|change] [--top K | --per-tool K] [--gap G] [--csv] FILE",
     "Loads FILE and prints the K highest peaks (default 20) of what the chart shows with\n"
     "  the options of render: the largest plotted value first, then each time the largest\n"
     "  one whose record lies G or more records (default 100) from every peak listed, the\n"
     "  earlier record of equal values. --per-tool K instead lists the K highest of each\n"
     "  tool by the same rule among the tool's records, the tools in the order of first use,\n"
     "  ranks 1..K within each tool. One line per peak: rank, index, blockNo, toolNo, value,\n"
     "  orgFeed, optFeed, removal, x, y, z and position (on the horizontal axis of --dist or\n"
     "  --time);\n"
     "  --csv adds a header line and commas. With\n"
     "  --compare the peaks are those of the optimised series: removal per second with the\n"
     "  optimised feed (rates), or the optimised feed of the moves other than G00 (feeds),\n"
     "  or the records of the largest absolute feed change, with its sign (change).",
     kPeaksOptions, runPeaks},
    {"source", "[--text | --binary] --program PROG --record I FILE",
     "Loads FILE and the NC program PROG and prints the program line that record I comes\n"
     "  from as \"line,text\" (lines from 1, the text as in PROG): the next line after that\n"
     "  of the record before whose N word has the record's block number, from line 1 again\n"
     "  at the end; a program without N words gives block number b line b. Exit status 1\n"
     "  when the record has no line.",
     kSourceOptions, runSource},
    {"changes", "[--text | --binary] [--slower | --faster] [--top K] [--program PROG] [--csv] FILE",
     "Loads FILE and prints the K largest (default 20) slowdowns and speed-ups of the whole\n"
     "  data: change runs, maximal runs of consecutive records that are not G00 moves, have\n"
     "  both feeds above 0, one tool and a change of one sign (all slower or all faster; a\n"
     "  record with equal feeds ends one). Slowdowns with the most time lost first, then\n"
     "  speed-ups with the most time saved first, the earlier run first among equals;\n"
     "  --slower or --faster prints one list. One line per run: rank, kind, first and last\n"
     "  record, their block numbers, tool, length (mm), programmed and optimised time and\n"
     "  the difference, optimised minus programmed; --program adds the line of PROG that the\n"
     "  run's first record comes from. Without --csv an aligned table with times as\n"
     "  h:mm:ss.s; with --csv the header line\n"
     "  rank,kind,first,last,firstBlock,lastBlock,toolNo,length_mm,programmed_s,optimised_s,\n"
     "  difference_s (and ,line with --program), times in seconds.",
     kChangesOptions, runChanges},
};

void printUsage(std::FILE* stream, const Command& command) {
    std::fprintf(stream, "usage: curvex %s %s\n", command.name, command.usage);
}

void replaceAll(std::string& text, const std::string& name, const std::string& value) {
    for (std::size_t at = text.find(name); at != std::string::npos;
         at = text.find(name, at + value.size()))
        text.replace(at, name.size(), value);
}

// A command's help with the defaults it names, {g00} and {colours}, filled in.
std::string helpText(const Command& command) {
    std::string text = command.help;
    char g00[32];
    std::snprintf(g00, sizeof g00, "%g", static_cast<double>(curvex::kDefaultG00Feed));
    replaceAll(text, "{g00}", g00);
    replaceAll(text, "{colours}", std::to_string(curvex::kCurveColours));
    return text;
}

void printHelp() {
    std::printf("curvex: command-line access to the monitoring-data files.\n\n");
    for (const Command& command : kCommands) {
        printUsage(stdout, command);
        std::printf("  %s\n\n", helpText(command).c_str());
    }
    std::printf("Exit status: 0 success, 1 a file could not be loaded or written, 2 wrong "
                "usage, 3 an output image could not be written.\nFloats are printed with %%.9g, "
                "errors go to standard error.\n");
}

void printAllUsages() {
    for (const Command& command : kCommands)
        printUsage(stderr, command);
    std::fprintf(stderr, "       curvex --help | --version\n");
}

// The usage line and help of one command on standard output, for its --help.
int printCommandHelp(const Command& command) {
    printUsage(stdout, command);
    std::printf("  %s\n", helpText(command).c_str());
    return kExitOk;
}

// Reads the arguments after the command's name against its options and runs it; memory running
// out on the way ends it with a message and kExitFailure instead of an abort.
int runCommand(const Command& command, int argc, char** argv) {
    try {
        const auto arguments = parseCommandArguments(
            CommandArguments(argv + 2, static_cast<std::size_t>(argc - 2)), command.options);
        if (!arguments)
            return kExitUsage;
        return arguments->help ? printCommandHelp(command) : command.run(*arguments);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "curvex: %s: out of memory\n", command.name);
        return kExitFailure;
    }
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
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("curvex %s\n", PLOTWELL_VERSION);
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        const int status = runCommand(command, argc, argv);
        if (status == kExitUsage)
            printUsage(stderr, command);
        return status == kExitRefused ? kExitUsage : status;
    }
    std::fprintf(stderr, "curvex: unknown command '%s'\n", argv[1]);
    printAllUsages();
    return kExitUsage;
}
