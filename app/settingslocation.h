#pragma once

#include <QString>

// Where the settings file lives. An installed program (its folder holds the marker that
// installation puts there) keeps each user's settings in "Plotwell/Plotwell.ini" under
// $XDG_CONFIG_HOME (~/.config), the superuser's too, and never writes the site file. A program
// that is not installed keeps its own "Plotwell.ini" in a folder the user may write (a portable
// folder), and in the user's file otherwise. A user's first file is a copy of the site file: the
// first "Plotwell/Plotwell.ini" under the folders of $XDG_CONFIG_DIRS (/etc/xdg) for an installed
// program, then the one beside the program.

// The file beside an installed program that marks it as installed.
inline constexpr const char* kInstalledMarker = "Plotwell.installed";

// True when `programFolder` (ending in "/") holds the installation's marker.
bool isInstalled(const QString& programFolder);

// The folder the open dialog starts in when none is remembered (ending in "/"): the user's home
// for an installed program, whose folder holds no data, else the program's folder.
QString defaultOpenFolder(const QString& programFolder);

// The settings file of the program in `programFolder` (ending in "/"). For a per-user file that
// does not exist yet its folder is created and the site file is copied into it; when that fails
// the path is still returned and the run goes on with the values in memory. Without a settings
// home ($HOME and $XDG_CONFIG_HOME unset) the file lies in a private temporary folder that is
// removed when the process ends, which is said once on standard error.
QString settingsFileFor(const QString& programFolder);

// True when the process may create files in `folder` by its permission bits and the file system
// is writable. The superuser's exemption from permission bits does not count: a folder without
// write permission stays read-only for every user.
bool isWritableFolder(const QString& folder);
