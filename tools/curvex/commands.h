#pragma once

#include <span>

// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOutput = 3; // an output file that cannot be written
// Wrong usage that the command has said all about: kExitUsage without the usage line.
inline constexpr int kExitRefused = 0x100 | kExitUsage;

// A subcommand gets the arguments after its name. On kExitUsage the caller prints the
// subcommand's usage line.
using CommandArguments = std::span<char* const>;

int runDump(CommandArguments args);
int runInfo(CommandArguments args);
int runSynth(CommandArguments args);
int runTitles(CommandArguments args);
int runRender(CommandArguments args);
int runPick(CommandArguments args);
int runStats(CommandArguments args);
int runToolpath(CommandArguments args);
int runToolpathPick(CommandArguments args);
int runReport(CommandArguments args);
int runPeaks(CommandArguments args);
int runSource(CommandArguments args);
