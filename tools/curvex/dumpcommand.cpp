#include "commandarguments.h"
#include "commands.h"
#include "recorddump.h"
#include "viewoptions.h"

#include <cstdio>

namespace {

// Reads --columns where given; prints what is wrong and returns false otherwise.
bool readColumns(const CommandArgumentList& arguments, std::vector<RecordDump::Column>& columns) {
    const std::string* list = arguments.value("--columns");
    if (!list)
        return true;
    std::string unknown;
    const auto named = RecordDump::columnsNamed(*list, unknown);
    if (!named) {
        std::fprintf(stderr, "curvex: --columns names no column '%s'\n", unknown.c_str());
        return false;
    }
    columns = *named;
    return true;
}

} // namespace

int runDump(const CommandArgumentList& arguments) {
    ChartState view = defaultViewChart();
    if (!readViewOptions(arguments, view))
        return kExitUsage;
    std::vector<RecordDump::Column> columns = RecordDump::allColumns();
    if (!readColumns(arguments, columns))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    RecordDump(data, std::move(columns), view.g00Feed).write(stdout);
    return finishOutput();
}
