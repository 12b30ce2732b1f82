#include "outputclash.h"

#include "commands.h"
#include "samefile.h"

#include <cstdio>

int refuseOverwrite(const std::string& output, std::span<const std::string> others,
                    const char* role) {
    if (output == "-")
        return kExitOk;
    const std::string* same = sameFileAmong(output, others);
    if (!same)
        return kExitOk;
    std::fprintf(stderr, "curvex: cannot write %s: it is the %s %s\n", output.c_str(), role,
                 same->c_str());
    return kExitRefused;
}
