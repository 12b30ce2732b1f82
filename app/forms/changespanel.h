#pragma once

#include "curvexids.h"
#include "panelobserver.h"

#include <QObject>

class CurvexProxy;
class QDockWidget;
class QMainWindow;
class QMenu;
class QTableWidget;

// The "Changes" panel of the main window, a tab beside "Peaks": the 20 largest slowdowns and the
// 20 largest speed-ups of the whole data, read from the control after a load and when the
// program is mapped. Columns rank, tool, blocks, program lines (with a program), length and the
// time lost or saved; a click shows the change run in the chart, the toolpath and the program.
class ChangesPanel : public QObject, public PanelObserver {
    Q_OBJECT
public:
    enum Column {
        ColumnRank,
        ColumnTool,
        ColumnBlocks,
        ColumnLines,
        ColumnLength,
        ColumnTime,
        ColumnCount,
    };

    static constexpr int kListed = 20;
    // The rows of each table the panel opens with.
    static constexpr int kFirstRows = 4;

    // The panel for `window`, shown from `viewMenu`; its dock is placed by the window's dock
    // layout. Null when the control has no change runs.
    static ChangesPanel* attach(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu);

    // Reads the lists from the control again while the panel is shown; showing it reads them.
    void update();

    void fileShown(const QString& /*path*/) override { update(); }
    void programMapped() override { update(); }

    QDockWidget& dock() const { return *mDock; }
    // The size the panel's content opens with: every column of both tables whole, and kFirstRows
    // rows of each.
    QSize room() const;
    // The slowdowns' or the speed-ups' table.
    QTableWidget& table(curvex::ChangeKind kind) const;

private:
    ChangesPanel(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu);
    QTableWidget* makeTable(const QString& timeCaption);
    // The width of `table` with every column as wide as its caption and its texts.
    static int wholeWidth(QTableWidget& table);
    void fill(curvex::ChangeKind kind);
    void rowClicked(const QTableWidget& table, int row);

    CurvexProxy& mViewer;
    QDockWidget* mDock = nullptr;
    QTableWidget* mSlower = nullptr;
    QTableWidget* mFaster = nullptr;
};
