#pragma once

#include <QString>

#include <array>

class CurvexProxy;
class QAction;
class QMainWindow;

// The main window's own settings: its place and size (sections "Property", in twips), the open
// dialog's folder and file ("Reference"), the file type endings ("Relation"), and the chart's
// function, horizontal axis, G00 feed and colours ("Property"). Each value is read with its
// default written back when missing, in the order the settings file has always had them.
class WindowSettings {
public:
    using MenuItems = std::array<QAction*, 3>;

    WindowSettings(QMainWindow& window, CurvexProxy& viewer, const MenuItems& functions,
                   const MenuItems& distances);

    // Top, left, width and height in this order; a value that is not a number in the 16-bit
    // range keeps the window's own value.
    void loadGeometry();
    // The folders, the chart's choices and the file type endings.
    void loadChoices();
    // The place and size, the folders and the colours.
    void savePlace();
    // The function, the G00 feed and the horizontal axis, after the panels saved theirs.
    void saveChoices();

private:
    double dotsPerInch() const;
    int pixelsToTwips(int pixels) const;
    void loadInitDirectory();
    void loadDrawMode();
    void loadDistMode();
    void loadG00Feed();
    void loadColors();
    void saveGeometry();
    void saveColors();

    QMainWindow& mWindow;
    CurvexProxy& mViewer;
    const MenuItems& mFunctions;
    const MenuItems& mDistances;
};
