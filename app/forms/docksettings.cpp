#include "docksettings.h"

#include "numerictext.h"
#include "varnutl.h"

#include <algorithm>

const QString DockSettings::kSection = QStringLiteral("Docks");

namespace {

// A dock area the window has, else none.
Qt::DockWidgetArea areaFrom(int value) {
    switch (value) {
    case Qt::LeftDockWidgetArea:
    case Qt::RightDockWidgetArea:
    case Qt::TopDockWidgetArea:
    case Qt::BottomDockWidgetArea:
        return static_cast<Qt::DockWidgetArea>(value);
    default:
        return Qt::NoDockWidgetArea;
    }
}

QSize sizeFrom(std::optional<int> width, std::optional<int> height) {
    if (width.value_or(0) > 0 && height.value_or(0) > 0)
        return {*width, *height};
    return {};
}

} // namespace

DockSettings::DockSettings(const QString& name, const QString& olderSection)
    : mName(name), mOlderSection(olderSection) {}

std::optional<int> DockSettings::number(const QString& section, const QString& key) const {
    return toInt32(ReadIniValue(section, key));
}

bool DockSettings::kept() const {
    return !ReadIniValue(kSection, mName + QStringLiteral(" Visible")).isEmpty();
}

std::optional<DockSettings::Place> DockSettings::read(bool docksKept) const {
    return docksKept ? readKept() : readOlder();
}

std::optional<DockSettings::Place> DockSettings::readKept() const {
    if (!kept())
        return std::nullopt;
    const auto key = [this](const char* name) {
        return number(kSection, mName + u' ' + QLatin1String(name));
    };
    Place place;
    place.area = areaFrom(key("Area").value_or(Qt::NoDockWidgetArea));
    place.visible = key("Visible").value_or(0) != 0;
    place.size = sizeFrom(key("Width"), key("Height"));
    place.order = std::max(0, key("Order").value_or(0));
    const auto left = key("Left");
    const auto top = key("Top");
    if (place.area == Qt::NoDockWidgetArea && left && top)
        place.position = QPoint(*left, *top);
    return place;
}

std::optional<DockSettings::Place> DockSettings::readOlder() const {
    if (mOlderSection.isEmpty() || ReadIniValue(mOlderSection, QStringLiteral("Visible")).isEmpty())
        return std::nullopt;
    const auto key = [this](const char* name) {
        return number(mOlderSection, QLatin1String(name));
    };
    Place place;
    place.area =
        key("Floating").value_or(0) != 0 ? Qt::NoDockWidgetArea : areaFrom(key("Area").value_or(0));
    place.visible = key("Visible").value_or(0) != 0;
    place.size = sizeFrom(key("Width"), key("Height"));
    return place;
}

void DockSettings::write(const Place& place) const {
    const auto put = [this](const char* name, int value) {
        WriteIniValue(kSection, mName + u' ' + QLatin1String(name), QString::number(value));
    };
    put("Area", place.area);
    put("Visible", place.visible ? 1 : 0);
    put("Width", place.size.width());
    put("Height", place.size.height());
    put("Order", place.order);
    if (place.area == Qt::NoDockWidgetArea && place.position) {
        put("Left", place.position->x());
        put("Top", place.position->y());
    }
}
