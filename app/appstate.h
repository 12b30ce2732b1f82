#pragma once

#include <QString>

// Application state shared by the modules and windows.

extern QString gAppFolder; // ends in "/"
extern QString gIniFile;
extern bool gDebugMode;
extern QString gPendingFile;
extern bool gPendingFileValid;
extern bool gSkipOcxUnregister;
extern QString gInitDirectory;
extern QString gInitFile;
extern QString gBinSuffix;
extern QString gTextSuffix;

// The interface text of a key of section "Text" ("Message1", "frmCaption", ...), as loaded at
// start-up; empty before that.
QString gText(const QString& key);
void setText(const QString& key, const QString& value);
