#pragma once

#include "commandargumentlist.h"
#include "commands.h"
#include "cutdataset.h"
#include "cutformat.h"
#include "recordlines.h"

#include <cstdint>
#include <optional>
#include <string>

// The format of `path`: the flag if one was given, otherwise the ending (".txt" text, ".bin"
// binary, in any case). Prints what is wrong and returns nothing when neither decides.
std::optional<CutFormat> chooseFormat(const CommandArgumentList& arguments,
                                      const std::string& path);

// Loads the one operand; reports a failure on standard error. Returns an exit status.
int loadOperandFile(const CommandArgumentList& arguments, CutDataSet& data);

// Reads a whole option value as a number; prints what is wrong and returns false otherwise: a
// value beyond the float range is too large, a non-zero one that rounds to 0 too small.
bool readOptionNumber(const std::string& option, const std::string& text, float& value);
// Reads a whole option value as a count from `least` to `most`; prints what is wrong, naming the
// limits, and returns false otherwise.
bool readOptionCount(const std::string& option, const std::string& text, std::uint64_t least,
                     std::uint64_t most, std::uint64_t& value);

// Reads the whole number given with `option`, where it is given, into `count`: from `least` and
// within 32 bits. Prints what is wrong and returns false otherwise.
bool readOptionCount(const CommandArgumentList& arguments, const std::string& option,
                     std::uint64_t least, std::uint64_t& count);

// The lines of the NC program at `path` for the records of `data`; false after saying why the
// program could not be read.
bool readProgramLines(const std::string& path, const CutDataSet& data,
                      std::optional<RecordLines>& lines);

// Reads a feed in mm/min: a finite number above 0. Prints what is wrong and returns false
// otherwise.
bool readOptionFeed(const std::string& option, const std::string& text, float& value);

// Says on standard error that the settings file `path` could not be written, with the reason
// that the errno value `error` gives. Returns kExitFailure.
int cannotWriteSettings(const std::string& path, int error);

// Flushes standard output; a full disk or a closed pipe gives kExitFailure with a message.
int finishOutput();
