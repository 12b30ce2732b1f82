#pragma once

#include "chartsettingsfile.h"
#include "commandargumentlist.h"
#include "picturewriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

// Where a picture command writes: a file, or standard output for "-" (PNG only).
struct PictureOutput {
    std::string path;
    ChartFormat format = ChartFormat::Png;

    bool toStandardOutput() const { return path == "-"; }
    // Takes the format from the path's ending; prints what is wrong and returns false otherwise.
    bool readFormat();
    // Writes the finished document to standard output, or replaces the file with it in one step,
    // so that a failed write keeps an older file whole. Returns an exit status.
    int write(const QByteArray& document) const;
    // Writes the picture of `writer` in the output's format; a picture that cannot be made is
    // reported as a file that cannot be written.
    int write(PictureWriter& writer) const;
    int cannotWrite(const std::string& reason) const;
};

inline constexpr CommandOption kFramesOption{"--frames", 1};

// Reads --frames N (N from 1) where given; prints what is wrong and returns false otherwise.
bool readFrames(const CommandArgumentList& arguments, int& frames);

// Reads the settings file `iniFile` (nothing when empty) into `file`; says what is wrong on
// standard error. Returns an exit status: kExitUsage when it cannot be used, kExitFailure when
// its missing defaults cannot be written.
int readSettingsFile(ChartSettingsFile& file, const std::string& iniFile);

// The application that fonts need; a picture command never needs a screen.
std::unique_ptr<QGuiApplication> startOffscreenApplication();

// An image `width` by `height` for timed frames, or a null one after saying that there is no
// memory for it.
QImage frameImage(int width, int height);

// Prints "frames: N  median ms: X  max ms: Y" on standard error for the frame times `millis`.
void reportFrameTimes(std::vector<double> millis);
