#pragma once

#include "../platform/tempfolder.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

struct CurvexRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built curvex with `arguments` (already quoted as the shell needs them) after the shell
// commands `setUp`, ended after 20 s (status 124) should it hang.
inline CurvexRun curvex(const TempFolder& folder, const std::string& arguments,
                        const std::string& setUp = "true") {
    const char* bin = std::getenv("PLOTWELL_BIN");
    const std::string program = std::string(bin ? bin : "build/dev/bin") + "/curvex";
    const std::string command = "cd '" + folder.path() + "' && " + setUp + " && timeout 20 '" +
                                program + "' " + arguments + " >stdout.txt 2>stderr.txt";
    CurvexRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(folder.file("stdout.txt"));
    run.err = readBytes(folder.file("stderr.txt"));
    return run;
}
