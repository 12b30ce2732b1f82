#pragma once

#include <QString>
#include <QStringList>

// Starting other programs: waiting for one (RunAndWait) and starting one that goes its own way.
// Start-up goes through this interface so tests can stand in for the programs.
class ProgramRunner {
public:
    virtual ~ProgramRunner() = default;
    // As RunAndWait: the exit code, 4 when the program cannot be started, 5 on time-out.
    virtual int runAndWait(const QString& commandLine, int windowStyle, int timeoutMs) = 0;
    // Starts the program and does not wait; false when it cannot be started. `environment`
    // holds NAME=VALUE entries that the program gets besides this process's environment.
    virtual bool startDetached(const QString& commandLine, const QStringList& environment) = 0;
};

// The runner in use: the real processes unless a test installed another.
ProgramRunner& programRunner();
// Installs `replacement` (not owned); nullptr goes back to the real processes.
void setProgramRunner(ProgramRunner* replacement);
