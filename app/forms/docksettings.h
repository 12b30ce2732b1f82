#pragma once

#include <QSize>
#include <QString>
#include <Qt>

class QDockWidget;
class QMainWindow;

// Where a dock of the main window is kept in its section of the settings file: "Visible",
// "Area" (a Qt::DockWidgetArea), "Floating", "Width" and "Height", and "Left" and "Top" for a
// dock that keeps its position. Reading never writes the defaults, so a window whose dock is
// never used adds nothing to the settings file.
class DockSettings {
public:
    // `home` is the area of a dock the section places nowhere.
    DockSettings(const QString& section, Qt::DockWidgetArea home, bool keepsPosition);

    // The whole number under `key`, or `defaultValue`.
    int number(const char* key, int defaultValue) const;
    void setNumber(const char* key, int value) const;
    // Whether the dock was ever saved.
    bool saved() const;

    struct Place {
        Qt::DockWidgetArea area;
        QSize size; // not valid when none was saved
    };
    // Adds `dock` to `window` in the area kept, floating as kept; the size kept is for the
    // caller to give, as the dock's kind wants it.
    Place place(QMainWindow& window, QDockWidget& dock) const;
    // Shows or hides `dock` as kept.
    void show(QDockWidget& dock) const;
    // Keeps where `dock` is in `window` now.
    void save(const QMainWindow& window, QDockWidget& dock) const;

private:
    Qt::DockWidgetArea areaFrom(int value) const;

    QString mSection;
    Qt::DockWidgetArea mHome;
    bool mKeepsPosition;
};
