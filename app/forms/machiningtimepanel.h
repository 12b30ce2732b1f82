#pragma once

#include "panelobserver.h"

#include <QObject>
#include <QString>

class CurvexProxy;
class MachiningTimeView;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;

// The machining times of the shown data in the main window: the "Machining time" panel, a dock
// the user can show, hide and move (its place kept with the window's docks, shown from the Config
// menu), and the totals as a permanent line in the status bar.
// Everything comes from the graph control.
class MachiningTimePanel : public QObject, public PanelObserver {
    Q_OBJECT
public:
    // The view for `window`, or null when the control has no machining times.
    static MachiningTimePanel* attach(QMainWindow& window, CurvexProxy& viewer, QMenu& configMenu);

    // Reads the captions.
    void load();
    // Reads the rows from the control again: after a load, a G00 feed change, a render.
    void update();

    void settingsLoaded() override { load(); }
    void fileShown(const QString& /*path*/) override { update(); }
    void chartRedrawn() override { update(); }
    void g00FeedChanged() override { update(); }

    QDockWidget& dock() const { return *mDock; }
    MachiningTimeView& panel() const { return *mPanel; }
    QLabel& totals() const { return *mTotals; }

private:
    MachiningTimePanel(QMainWindow& window, CurvexProxy& viewer, QMenu& configMenu);
    // The captions of the panel, its menu item and the status line from section "Extra Text".
    void readCaptions();

    CurvexProxy& mViewer;
    // The status line's totals from section "Extra Text": %1 programmed, %2 optimised, %3 saved.
    QString mTotalsFormat;
    QDockWidget* mDock = nullptr;
    MachiningTimeView* mPanel = nullptr;
    QLabel* mTotals = nullptr;
};
