#pragma once

#include "docksettings.h"
#include "panelobserver.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QDockWidget;
class QMainWindow;

// The docks of the main window and where they go. Each dock is kept in section "Docks"
// (DockSettings); a dock kept nowhere takes its home place, a row of its area with the docks of
// the same row as tabs. A dock that opens without a size kept gets its first size from the rule:
// a side as wide as the content of its open docks wants (the tabs behind too) and at least 30 %
// of the window, at most 42 %, the first row of a side taking the height the other rows leave; a
// bottom or top row as high as its content wants. A window too small for a side dock grows to
// about three times its width, and for a row of docks to their heights with room for the chart,
// never beyond its screen. These are first sizes: the user may make every dock smaller or larger.
// A floating dock comes back floating with its size at its place.
class DockLayout : public QObject, public PanelObserver {
    Q_OBJECT
public:
    struct Dock {
        QDockWidget* dock = nullptr;
        // The prefix of its keys in section "Docks".
        QString name;
        // The section its place was kept in before, empty for none.
        QString olderSection;
        Qt::DockWidgetArea home = Qt::RightDockWidgetArea;
        // Row times 100 plus tab, as DockSettings::Place::order.
        int homeOrder = 0;
        // The size its content wants when it opens.
        std::function<QSize()> room;
    };

    explicit DockLayout(QMainWindow& window);

    // Adds `dock` to the window at its home place, hidden.
    void add(Dock dock);
    // Places every dock as kept.
    void restore();
    // Keeps where every dock is.
    void save() const;

    void settingsLoaded() override { restore(); }
    void settingsSaved() override { save(); }

private:
    struct Entry {
        Dock dock;
        DockSettings settings;
        DockSettings::Place place;
        // Waits for the size of `place`, or for its first size, until it shows.
        bool unsized = true;
        bool shown = false;
    };

    DockSettings::Place homePlace(const Dock& dock) const;
    void placeAll();
    static void placeFloating(QDockWidget& dock, const DockSettings::Place& place);
    void dockShown(Entry& entry);
    void fitUnsized();
    void growWindowFor(const std::vector<Entry*>& sized);
    void sizeSide(const std::vector<Entry*>& rows);
    void sizeAcross(const std::vector<Entry*>& rows);
    bool rowSized(const Entry& entry) const;
    // Whether `entry`'s row holds more than one dock, as tabs.
    bool hasTabs(const Entry& entry) const;
    static int tabBarHeight();
    QSize wantedSize(const Entry& entry) const;
    int sideWidth(const Entry& entry) const;
    // The first shown dock of each row of `area`, in order.
    std::vector<Entry*> shownRows(Qt::DockWidgetArea area);
    // The order of every dock of `area` as it lies now, into `orders` (by entry).
    void orderRows(Qt::DockWidgetArea area, std::vector<int>& orders) const;

    QMainWindow& mWindow;
    std::vector<Entry> mEntries;
    bool mFitPending = false;
};
