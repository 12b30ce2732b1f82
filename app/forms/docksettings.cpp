#include "docksettings.h"

#include "numerictext.h"
#include "varnutl.h"

#include <QDockWidget>
#include <QMainWindow>

DockSettings::DockSettings(const QString& section, Qt::DockWidgetArea home, bool keepsPosition)
    : mSection(section), mHome(home), mKeepsPosition(keepsPosition) {}

int DockSettings::number(const char* key, int defaultValue) const {
    return toInt32(ReadIniValue(mSection, QString::fromLatin1(key))).value_or(defaultValue);
}

void DockSettings::setNumber(const char* key, int value) const {
    WriteIniValue(mSection, QString::fromLatin1(key), QString::number(value));
}

bool DockSettings::saved() const {
    return !ReadIniValue(mSection, QStringLiteral("Visible")).isEmpty();
}

DockSettings::Place DockSettings::place(QMainWindow& window, QDockWidget& dock) const {
    const Qt::DockWidgetArea area = areaFrom(number("Area", mHome));
    window.addDockWidget(area, &dock);
    dock.setFloating(number("Floating", 0) != 0);
    const int width = number("Width", 0);
    const int height = number("Height", 0);
    return {area, width > 0 && height > 0 ? QSize(width, height) : QSize()};
}

void DockSettings::show(QDockWidget& dock) const {
    dock.setVisible(number("Visible", 0) != 0);
}

void DockSettings::save(const QMainWindow& window, QDockWidget& dock) const {
    setNumber("Visible", dock.isHidden() ? 0 : 1);
    setNumber("Area", window.dockWidgetArea(&dock));
    setNumber("Floating", dock.isFloating() ? 1 : 0);
    if (mKeepsPosition) {
        setNumber("Left", dock.x());
        setNumber("Top", dock.y());
    }
    setNumber("Width", dock.width());
    setNumber("Height", dock.height());
}

Qt::DockWidgetArea DockSettings::areaFrom(int value) const {
    switch (value) {
    case Qt::LeftDockWidgetArea:
    case Qt::RightDockWidgetArea:
    case Qt::TopDockWidgetArea:
    case Qt::BottomDockWidgetArea:
        return static_cast<Qt::DockWidgetArea>(value);
    default:
        return mHome;
    }
}
