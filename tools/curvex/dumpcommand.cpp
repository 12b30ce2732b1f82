#include "commandarguments.h"
#include "commands.h"
#include "curvexids.h"
#include "recorddump.h"

#include <cstdio>

namespace {

// Reads --columns where given; prints what is wrong and returns false otherwise.
bool readColumns(const CommandArgumentList& arguments, std::vector<RecordDump::Column>& columns) {
    const auto it = arguments.values.find("--columns");
    if (it == arguments.values.end())
        return true;
    std::string unknown;
    const auto named = RecordDump::columnsNamed(it->second, unknown);
    if (!named) {
        std::fprintf(stderr, "curvex: --columns names no column '%s'\n", unknown.c_str());
        return false;
    }
    columns = *named;
    return true;
}

} // namespace

int runDump(CommandArguments args) {
    const auto arguments = parseCommandArguments(args, {"--g00", "--columns"});
    if (!arguments)
        return kExitUsage;
    float g00Feed = curvex::kDefaultG00Feed;
    if (const auto it = arguments->values.find("--g00"); it != arguments->values.end()) {
        if (!readOptionFeed(it->first, it->second, g00Feed))
            return kExitUsage;
    }
    std::vector<RecordDump::Column> columns = RecordDump::allColumns();
    if (!readColumns(*arguments, columns))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(*arguments, data); status != kExitOk)
        return status;
    RecordDump(data, std::move(columns), g00Feed).write(stdout);
    return finishOutput();
}
