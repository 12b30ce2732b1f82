#include "axistitles.h"
#include "commandarguments.h"
#include "commands.h"

#include <cstdio>

namespace {

void printTable(char axis, std::string (AxisTitles::*title)(int) const, const AxisTitles& titles) {
    for (std::size_t slot = 0; slot < AxisTitles::kSlots; ++slot) {
        std::printf("%c%zu=%s\n", axis, slot + 1, (titles.*title)(static_cast<int>(slot)).c_str());
    }
}

} // namespace

int runTitles(const CommandArgumentList& arguments) {
    if (arguments.format || arguments.operands.size() != 1)
        return kExitUsage;
    AxisTitles titles;
    if (!titles.SetIniFileName(arguments.operands.front())) {
        std::fprintf(stderr,
                     "curvex: the settings-file path has %zu characters; at most %zu are "
                     "accepted\n",
                     arguments.operands.front().size(), AxisTitles::kStorage - 1);
        return kExitFailure;
    }
    if (titles.defaultsWriteError() != 0)
        return cannotWriteSettings(titles.iniFileName(), titles.defaultsWriteError());
    printTable('X', &AxisTitles::horizontalTitle, titles);
    printTable('Y', &AxisTitles::verticalTitle, titles);
    return finishOutput();
}
