#pragma once

#include <QByteArray>
#include <QString>

// The text of a settings value, and of the chart's titles, which come from the settings file.
// The program writes UTF-8; a value that is no valid UTF-8 was saved by a site in its Windows
// code page and is read as CP932, the Japanese one. A value cut short by the read buffer loses
// the character that the cut splits.
QString settingsText(const QByteArray& bytes);
