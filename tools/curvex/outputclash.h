#pragma once

#include <span>
#include <string>

// Refuses to write `output` over one of `others`, the command's inputs or, with `role`
// "output", its other outputs; empty names and "-" (standard output) are none. Says
// "curvex: cannot write OUT: it is the ROLE NAME" on standard error and returns kExitRefused;
// kExitOk when `output` is none of them. Checked before anything is written.
int refuseOverwrite(const std::string& output, std::span<const std::string> others,
                    const char* role = "input");
