#pragma once

#include <QString>

// Where the settings file lives. A program folder that the user may write holds its own
// "Plotwell.ini" (a portable folder). An installed program's folder is not writable: its
// settings go to "Plotwell/Plotwell.ini" under $XDG_CONFIG_HOME (~/.config), which starts as a
// copy of the site file beside the program, when there is one.

// The settings file of the program in `programFolder` (ending in "/"). For a per-user file that
// does not exist yet its folder is created and the site file is copied into it; when that fails
// the path is still returned and the run goes on with the values in memory.
QString settingsFileFor(const QString& programFolder);

// True when the process may create files in `folder` by its permission bits and the file system
// is writable. The superuser's exemption from permission bits does not count: a folder without
// write permission stays read-only for every user.
bool isWritableFolder(const QString& folder);
