#pragma once

#include "print/printersettings.h"

#include <QHash>
#include <QString>

#include <array>
#include <cstdint>

// The application state that start-up, the windows, the utilities and the print job share, in
// one object: tests start from the state before start-up with reset().
struct AppState {
    QString appFolder; // ends in "/"
    QString iniFile;
    bool debugMode = false;
    QString pendingFile;
    bool pendingFileValid = false;
    bool skipOcxUnregister = false;
    QString initDirectory;
    QString initFile;
    QString binSuffix;
    QString textSuffix;
    // The data file and the NC program that the window shows (empty: none), which no output of
    // the window may replace.
    QString shownData;
    QString shownProgram;
    // The interface texts of section "Text" by key.
    QHash<QString, QString> texts;

    // The print job's state, kept from one print command to the next.
    PrinterSettings printerSettings;
    // Position of the current printer in the list of installed printers.
    std::int16_t printerIndex = 0;
    // Copy of the debug switch taken by each print command: show the page instead of printing it.
    bool printPreview = false;
    // Entry 0: title of the printer set-up messages; entry 1: the refused paper size message.
    std::array<QString, kPrinterMessageCount> printerMessages;

    void reset() { *this = AppState(); }
};

AppState& appState();

// The names the modules use, kept from the program's original design: each is a member of the
// one state object.
inline QString& gAppFolder = appState().appFolder;
inline QString& gIniFile = appState().iniFile;
inline bool& gDebugMode = appState().debugMode;
inline QString& gPendingFile = appState().pendingFile;
inline bool& gPendingFileValid = appState().pendingFileValid;
inline bool& gSkipOcxUnregister = appState().skipOcxUnregister;
inline QString& gInitDirectory = appState().initDirectory;
inline QString& gInitFile = appState().initFile;
inline QString& gBinSuffix = appState().binSuffix;
inline QString& gTextSuffix = appState().textSuffix;
inline PrinterSettings& gPrinterSettings = appState().printerSettings;
inline std::int16_t& gPrinterIndex = appState().printerIndex;
inline bool& gPrintPreview = appState().printPreview;
inline std::array<QString, kPrinterMessageCount>& gPrinterMessages = appState().printerMessages;

// The interface text of a key of section "Text" ("Message1", "frmCaption", ...), as loaded at
// start-up; empty before that.
QString gText(const QString& key);
void setText(const QString& key, const QString& value);
