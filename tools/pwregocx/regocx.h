#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Exit codes of the registration tool.
enum RegOcxExitCode {
    REG_SUCCESS = 0,
    NO_ARGMENT = 1,
    REG_FAILED = 2,
    FILE_NOT_FOUND = 4,
};

// A required version "MAJOR.MINOR" as the program states it: the major number and the first
// digit of the hundredths ("1.33" gives 1 and 3). The last digit never matters; with nothing
// numeric before it the minor digit is -1 and no control matches. Empty when the text has no
// "." or no numeric major part.
struct RequiredVersion {
    int major = 0;
    int minorDigit = -1;

    static std::optional<RequiredVersion> parse(const QString& text);
    // Whether a control version number (major << 16 | hundredths) fits.
    bool accepts(std::int32_t versionNumber) const;
};

// Loads the control library at `path`, checks its DllVersion against `required` and calls its
// DllRegisterServer. `message` says what went wrong, or what was registered.
RegOcxExitCode RegisterControl(const QString& path, const RequiredVersion& required,
                               QString& message);

// Loads the control library at `path` and calls its DllUnregisterServer.
RegOcxExitCode UnregisterControl(const QString& path, QString& message);
