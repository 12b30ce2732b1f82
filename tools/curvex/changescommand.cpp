#include "changeruns.h"
#include "commandarguments.h"
#include "commands.h"
#include "durationtext.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// `curvex changes`: the largest slowdowns and speed-ups of the whole data, as a table or as CSV.

namespace {

constexpr std::uint64_t kDefaultChangeCount = 20;

struct ChangeSettings {
    bool csv = false;
    bool slower = true;
    bool faster = true;
    std::uint64_t top = kDefaultChangeCount;
    std::optional<std::string> program;
};

bool readSettings(const CommandArgumentList& arguments, ChangeSettings& settings) {
    const bool slower = arguments.has("--slower");
    const bool faster = arguments.has("--faster");
    if (slower && faster) {
        std::fprintf(stderr, "curvex: give --slower or --faster, not both\n");
        return false;
    }
    settings.slower = !faster;
    settings.faster = !slower;
    settings.csv = arguments.has("--csv");
    if (const std::string* program = arguments.value("--program"))
        settings.program = *program;
    return readOptionCount(arguments, "--top", 0, settings.top);
}

const char* kindName(ChangeKind kind) {
    return kind == ChangeKind::Slower ? "slower" : "faster";
}

// The line of the run's first record, empty without a program or a line.
std::string lineText(const RecordLines* lines, const ChangeRun& run) {
    if (lines == nullptr)
        return {};
    const std::uint32_t line = lines->lineOf(run.first);
    return line > 0 ? std::to_string(line) : std::string();
}

void printCsv(ChangeKind kind, const std::vector<ChangeRun>& runs, const RecordLines* lines) {
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const ChangeRun& r = runs[k];
        std::printf("%zu,%s,%u,%u,%d,%d,%d,%.3f,%.6f,%.6f,%.6f", k + 1, kindName(kind), r.first,
                    r.last, r.firstBlock, r.lastBlock, r.toolNo, r.length, r.programmed,
                    r.optimised, r.difference());
        if (lines != nullptr)
            std::printf(",%s", lineText(lines, r).c_str());
        std::printf("\n");
    }
}

const char* const kTableFormat = "%4s %-6s %10s %10s %10s %10s %5s %12s %12s %12s %12s %8s\n";

void printTable(ChangeKind kind, const std::vector<ChangeRun>& runs, const RecordLines* lines) {
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const ChangeRun& r = runs[k];
        char length[32];
        char difference[32];
        std::snprintf(length, sizeof length, "%.3f", r.length);
        std::snprintf(difference, sizeof difference, "%+.3f", r.difference());
        std::printf(kTableFormat, std::to_string(k + 1).c_str(), kindName(kind),
                    std::to_string(r.first).c_str(), std::to_string(r.last).c_str(),
                    std::to_string(r.firstBlock).c_str(), std::to_string(r.lastBlock).c_str(),
                    std::to_string(r.toolNo).c_str(), length, DurationText(r.programmed).c_str(),
                    DurationText(r.optimised).c_str(), difference, lineText(lines, r).c_str());
    }
}

void printHeader(bool csv, bool withLines) {
    if (csv)
        std::printf("rank,kind,first,last,firstBlock,lastBlock,toolNo,length_mm,programmed_s,"
                    "optimised_s,difference_s%s\n",
                    withLines ? ",line" : "");
    else
        std::printf(kTableFormat, "rank", "kind", "first", "last", "firstBlock", "lastBlock",
                    "tool", "length mm", "programmed", "optimised", "difference s", "line");
}

} // namespace

int runChanges(const CommandArgumentList& arguments) {
    ChangeSettings settings;
    if (!readSettings(arguments, settings))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    std::optional<RecordLines> lines;
    if (settings.program && !readProgramLines(*settings.program, data, lines))
        return kExitFailure;
    const RecordLines* programLines = lines ? &*lines : nullptr;
    const ChangeLists lists = LargestChangeRuns(data, static_cast<std::uint32_t>(settings.top));
    printHeader(settings.csv, programLines != nullptr);
    for (const ChangeKind kind : {ChangeKind::Slower, ChangeKind::Faster}) {
        if (kind == ChangeKind::Slower ? !settings.slower : !settings.faster)
            continue;
        if (settings.csv)
            printCsv(kind, lists.of(kind), programLines);
        else
            printTable(kind, lists.of(kind), programLines);
    }
    return finishOutput();
}
