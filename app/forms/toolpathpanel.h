#pragma once

#include "curvexids.h"
#include "panelobserver.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

class CurvexProxy;
class PictureWriter;
class QComboBox;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class ToolpathCanvas;
class ToolpathProxy;

// The "Toolpath" panel of the main window: a dock (hidden at first, shown from View > Toolpath)
// with the four views as buttons, the colouring, the toolpath the graph control draws and under
// it a status line saying how many segments the path leaves out (only when some are), linked to
// the chart through the control. Its view and colouring are kept in section "Toolpath" of the
// settings file, its place with the window's docks. Offered only by a control that has the toolpath
// members.
class ToolpathPanel : public QObject, public PanelObserver {
    Q_OBJECT
public:
    // The panel for `window`, or null when the control draws no toolpath. Its items go to the
    // window's View menu.
    static ToolpathPanel* attach(QMainWindow& window, CurvexProxy& viewer);
    ~ToolpathPanel() override;

    void load();
    // Writes the view and colouring, unless the panel was never shown.
    void save() const;
    // Draws again after the chart, its mark or the data changed.
    void refresh();
    // The status line: "segments left out: N" when the control counts some, else hidden.
    void showLeftOut();

    void settingsLoaded() override { load(); }
    void settingsSaved() override { save(); }
    void controlChanged() override { refresh(); }

    // Writes the toolpath at `size` to `path` (.png, .svg or .pdf), replacing an older file only
    // once it is whole. Empty on success, else why not.
    QString writeToolpath(const QString& path, QSize size);

    // The size the panel's content opens with.
    QSize room() const;

    curvex::ToolpathViewKind view() const { return mView; }
    QDockWidget& dock() const { return *mDock; }
    ToolpathCanvas& canvas() const { return *mCanvas; }
    QLabel& status() const { return *mStatus; }
    QMenu& menu() const { return *mMenu; }

private:
    ToolpathPanel(QMainWindow& window, std::unique_ptr<ToolpathProxy> toolpath, bool feedChange);
    // With `feedChange` the colourings' list ends with the feed change.
    QWidget* makeBar(bool feedChange);
    void chooseView(curvex::ToolpathViewKind view);
    void chooseColour(int mode);
    void saveToolpathAs();
    PictureWriter picture(QSize size);

    QMainWindow& mWindow;
    std::unique_ptr<ToolpathProxy> mToolpath;
    QDockWidget* mDock = nullptr;
    ToolpathCanvas* mCanvas = nullptr;
    QWidget* mBar = nullptr;
    QLabel* mStatus = nullptr;
    QComboBox* mColour = nullptr;
    QMenu* mMenu = nullptr;
    curvex::ToolpathViewKind mView = curvex::ToolpathViewKind::Iso;
    bool mShown = false;
};
