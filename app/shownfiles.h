#pragma once

#include <QString>

// Why the window may not write `output`: it is the data file or the NC program that the window
// shows, also under another name (a link or a hard link); empty when it is neither.
QString shownFileRefusal(const QString& output);
