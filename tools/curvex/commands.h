#pragma once

#include "commandargumentlist.h"

// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOutput = 3; // an output file that cannot be written
// Wrong usage that the command has said all about: kExitUsage without the usage line.
inline constexpr int kExitRefused = 0x100 | kExitUsage;

// A subcommand gets the arguments after its name read against the options it takes. On
// kExitUsage the caller prints the subcommand's usage line.
int runDump(const CommandArgumentList& arguments);
int runInfo(const CommandArgumentList& arguments);
int runSynth(const CommandArgumentList& arguments);
int runTitles(const CommandArgumentList& arguments);
int runRender(const CommandArgumentList& arguments);
int runPick(const CommandArgumentList& arguments);
int runStats(const CommandArgumentList& arguments);
int runToolpath(const CommandArgumentList& arguments);
int runToolpathPick(const CommandArgumentList& arguments);
int runReport(const CommandArgumentList& arguments);
int runPeaks(const CommandArgumentList& arguments);
int runSource(const CommandArgumentList& arguments);
int runChanges(const CommandArgumentList& arguments);
