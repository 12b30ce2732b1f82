#pragma once

#include <QString>

#include <cstdint>

// Start-up of the program: command line, settings file, interface texts, the main window and the
// check that the graph control has the version this program was built for.

enum class StartupOutcome {
    Running,   // the check passed; the main window is open and the program goes on
    Restarted, // the control was registered and a new copy of the program started
    Failed,    // one error message was shown
};

// Runs the whole start-up. `commandLine` is the program's arguments joined by blanks. Except
// when Running, the main window has been unloaded (its settings saved) and the process ends.
StartupOutcome Main(const QString& commandLine);

// Reads the forty interface texts of section "Text", writing missing ones with their defaults,
// and sets gInitDirectory and gInitFile to their first values.
void LoadInterfaceTexts();

// The folder of the running program; a test may set another one (empty goes back to the real).
QString programFolder();
void setProgramFolder(const QString& folder);

// Unloads the main window that Main showed, if it is still there: its settings are saved and
// the window with its control is destroyed.
void unloadMainWindow();
