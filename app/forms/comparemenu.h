#pragma once

#include "curvexids.h"
#include "panelobserver.h"

#include <QObject>

#include <array>

class CurvexProxy;
class QAction;
class QMainWindow;
class QMenu;

// The menu items of the views a user switches on: "Rates Compared", "Feeds Compared" and "Feed
// Change" (when the control takes it) after the three items of the function menu (the six exclude
// each other), "Colour by Tool Number"
// after "Drawing Color", View > "Legend" and View > "Fit Height to Shown Range". Their state is
// kept in section "Compare" of the settings file, their captions in section "Extra Text".
class CompareMenu : public QObject, public PanelObserver {
    Q_OBJECT
public:
    struct Menus {
        QMenu& function;
        const std::array<QAction*, 3>& functionItems;
        QMenu& config;
        QAction& drawColour;
    };

    // The items in `window`'s menus, or null (and no items) when the control lacks the members.
    static CompareMenu* attach(QMainWindow& window, CurvexProxy& viewer, const Menus& menus);

    // Reads the captions (writing back the missing defaults) and the state, and applies both.
    void load();
    // Writes the state; checks the last of the three function items chosen again, so that the
    // draw mode written beside it is one of theirs.
    void save();

    void settingsLoaded() override { load(); }
    void settingsSaved() override { save(); }

    QAction& compareItem(curvex::CompareMode mode) const { return *mCompare.at(itemOf(mode)); }
    QAction& colourByTool() const { return *mColourByTool; }
    QAction& legend() const { return *mLegend; }
    QAction& fitHeight() const { return *mFitHeight; }

private:
    CompareMenu(QMainWindow& window, CurvexProxy& viewer, const Menus& menus, bool feedChange);
    // The place of a compare mode's item among the three.
    static std::size_t itemOf(curvex::CompareMode mode) {
        return static_cast<std::size_t>(mode) -
               static_cast<std::size_t>(curvex::CompareMode::Rates);
    }
    void chooseCompare(curvex::CompareMode mode);
    void chooseFunction();
    // Remembers the checked one of the three function items.
    void noteFunction();
    void setOption(curvex::ChartOption option, bool on);
    void refresh();

    CurvexProxy& mViewer;
    const std::array<QAction*, 3>& mFunctionItems;
    std::array<QAction*, 3> mCompare{};
    QAction* mColourByTool = nullptr;
    QAction* mLegend = nullptr;
    QAction* mFitHeight = nullptr;
    QAction* mLastFunction = nullptr;
};
