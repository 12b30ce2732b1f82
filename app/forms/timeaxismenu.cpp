#include "timeaxismenu.h"

#include "curvexproxy.h"
#include "extratext.h"
#include "varnutl.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace {

const QString kSection = QStringLiteral("Time Axis");
const QString kModeKey = QStringLiteral("Mode");

using curvex::TimeAxisMode;

constexpr TimeAxisMode kTimeModes[] = {TimeAxisMode::Programmed, TimeAxisMode::Optimised};

} // namespace

TimeAxisMenu* TimeAxisMenu::attach(QMainWindow& window, CurvexProxy& viewer, QMenu& axes,
                                   const std::array<QAction*, 3>& distanceItems) {
    if (!viewer.setTimeAxis(TimeAxisMode::Off))
        return nullptr;
    return new TimeAxisMenu(window, viewer, axes, distanceItems);
}

TimeAxisMenu::TimeAxisMenu(QMainWindow& window, CurvexProxy& viewer, QMenu& axes,
                           const std::array<QAction*, 3>& distanceItems)
    : QObject(&window), mViewer(viewer), mDistanceItems(distanceItems) {
    axes.addSeparator();
    for (const TimeAxisMode mode : kTimeModes) {
        QAction* item = axes.addAction(QString());
        item->setCheckable(true);
        mTimes[itemOf(mode)] = item;
        connect(item, &QAction::triggered, this, [this, mode] { chooseTime(mode); });
    }
    for (QAction* item : mDistanceItems)
        connect(item, &QAction::triggered, this, &TimeAxisMenu::chooseDistance);
}

void TimeAxisMenu::load() {
    mTimes[0]->setText(ExtraText(ExtraTexts::TimeAxisProgrammedItem));
    mTimes[1]->setText(ExtraText(ExtraTexts::TimeAxisOptimisedItem));
    const int mode = ReadIniValue(kSection, kModeKey).trimmed().toInt();
    for (const TimeAxisMode time : kTimeModes)
        if (mode == static_cast<int>(time))
            chooseTime(time);
}

// Writes a mode other than off, or any mode once the file holds the key: a file whose user never
// chose a time axis stays without the section.
void TimeAxisMenu::save() {
    const int mode = static_cast<int>(checkedMode());
    if (mode != 0 || !ReadIniValue(kSection, kModeKey).isEmpty())
        WriteIniValue(kSection, kModeKey, QString::number(mode));
}

void TimeAxisMenu::g00FeedChanged() {
    if (checkedMode() != TimeAxisMode::Off)
        refresh();
}

void TimeAxisMenu::chooseTime(TimeAxisMode mode) {
    for (QAction* item : mDistanceItems)
        item->setChecked(false);
    for (const TimeAxisMode time : kTimeModes)
        mTimes[itemOf(time)]->setChecked(time == mode);
    mViewer.setTimeAxis(mode);
    refresh();
}

void TimeAxisMenu::chooseDistance() {
    if (checkedMode() == TimeAxisMode::Off)
        return;
    for (QAction* item : mTimes)
        item->setChecked(false);
    mViewer.setTimeAxis(TimeAxisMode::Off);
    refresh();
}

TimeAxisMode TimeAxisMenu::checkedMode() const {
    for (const TimeAxisMode time : kTimeModes)
        if (mTimes[itemOf(time)]->isChecked())
            return time;
    return TimeAxisMode::Off;
}

void TimeAxisMenu::refresh() {
    mViewer.setViewRenewal(true);
    mViewer.refresh();
}
