#pragma once

#include "curvexids.h"
#include "panelobserver.h"

#include <QObject>

#include <array>

class CurvexProxy;
class QAction;
class QMainWindow;
class QMenu;

// The items "Machining Time (Programmed)" and "Machining Time (Optimised)" after a separator in
// Config > "Horizontal Axis": the five items exclude each other. While a time axis is on the
// control keeps the distance mode of the three items, so that the one written at unload is the
// last of them chosen. The state is kept in section "Time Axis" of the settings file, the
// captions in section "Extra Text".
class TimeAxisMenu : public QObject, public PanelObserver {
    Q_OBJECT
public:
    // The items in the menu `axes` beside its three `distanceItems`, or null (and no items) when
    // the control lacks the time axis.
    static TimeAxisMenu* attach(QMainWindow& window, CurvexProxy& viewer, QMenu& axes,
                                const std::array<QAction*, 3>& distanceItems);

    // Reads the captions and the state, and applies both.
    void load();
    // Writes the state.
    void save();

    void settingsLoaded() override { load(); }
    void settingsSaved() override { save(); }
    void g00FeedChanged() override;

    QAction& timeItem(curvex::TimeAxisMode mode) const { return *mTimes.at(itemOf(mode)); }

private:
    TimeAxisMenu(QMainWindow& window, CurvexProxy& viewer, QMenu& axes,
                 const std::array<QAction*, 3>& distanceItems);
    static std::size_t itemOf(curvex::TimeAxisMode mode) {
        return static_cast<std::size_t>(mode) -
               static_cast<std::size_t>(curvex::TimeAxisMode::Programmed);
    }
    void chooseTime(curvex::TimeAxisMode mode);
    void chooseDistance();
    curvex::TimeAxisMode checkedMode() const;
    void refresh();

    CurvexProxy& mViewer;
    const std::array<QAction*, 3>& mDistanceItems;
    std::array<QAction*, 2> mTimes{};
};
