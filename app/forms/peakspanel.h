#pragma once

#include "panelobserver.h"

#include <QObject>
#include <QSize>

class CurvexProxy;
class QDockWidget;
class QMainWindow;
class QMenu;
class QComboBox;
class QTableWidget;

// The "Peaks" panel of the main window: the 20 highest peaks of what the chart shows, 100 records
// apart, or by choice the highest few of each tool, read from the control after every redraw.
// Columns rank (within the tool for the peaks of each tool), block, tool, value, programmed and
// optimised feed and program line; a click goes to the peak's record.
class PeaksPanel : public QObject, public PanelObserver {
    Q_OBJECT
public:
    enum Column {
        ColumnRank,
        ColumnBlock,
        ColumnTool,
        ColumnValue,
        ColumnOrgFeed,
        ColumnOptFeed,
        ColumnLine,
        ColumnCount,
    };

    // The panel for `window`, shown from `viewMenu`; null when the control has no peaks.
    static PeaksPanel* attach(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu);

    // Reads the peaks from the control again while the panel is shown; showing it reads them.
    void update();

    void chartRedrawn() override { update(); }
    void programMapped() override { update(); }

    // The size the panel's content opens with: room for kFirstRows rows.
    QSize room() const;
    static constexpr int kFirstRows = 8;

    QDockWidget& dock() const { return *mDock; }
    QTableWidget& table() const { return *mTable; }
    // The choice of peaks: item 0 the highest of all, item n the n-th entry of kPerToolCounts.
    QComboBox& choice() const { return *mChoice; }
    static constexpr int kPerToolCounts[] = {1, 3, 5};

private:
    PeaksPanel(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu);
    void rowClicked(int row);

    CurvexProxy& mViewer;
    QDockWidget* mDock = nullptr;
    QTableWidget* mTable = nullptr;
    QComboBox* mChoice = nullptr;
};
