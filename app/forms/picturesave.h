#pragma once

#include <QString>

class PictureWriter;

// Writes the picture of `writer` to `path` for a save command of the window, never over the data
// or program the window shows; a refusal or failure is shown
// in one message box that names the file and says why. True when the file was written.
bool savePicture(PictureWriter&& writer, const QString& path);
