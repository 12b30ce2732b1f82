#pragma once

#include "curvexproxy.h"
#include "dispatch.h"
#include "panellist.h"

#include <QMainWindow>

#include <array>
#include <memory>

class ChartCommands;
class ChartReading;
class ChartStatus;
class FileReloader;
class LoadStatus;
class CompareMenu;
class TimeAxisMenu;
class DockLayout;
class MachiningTimePanel;
class ChangesPanel;
class PeaksPanel;
class ProgramPanel;
class QAction;
class QMenu;
class QPushButton;
class QScrollBar;
class RecentFilesMenu;
class ToolpathPanel;
class WindowSettings;
class ZoomScrollBar;

namespace component {
class HostedControl;
}

// The main window: the graph control Viewer1, the open button Command1, the zoom scroll bar HS1
// and the menus. Each handler is one method named after the control and its event.
class FrmMain : public QMainWindow, private component::EventSink {
    Q_OBJECT
public:
    // The window with its graph control, or null with `error` set when the control cannot be
    // created.
    static std::unique_ptr<FrmMain> create(QString* error);
    ~FrmMain() override;

    // The window that exists now, or null.
    static FrmMain* instance();

    CurvexProxy& Viewer1() { return *mViewer1; }
    QWidget& viewerWidget() const;
    const QPushButton& Command1() const { return *mCommand1; }
    QScrollBar& HS1() const { return *mHS1; }
    QMenu& mnuFile() const { return *mMnuFile; }
    QAction& mnuOpen() const { return *mMnuOpen; }
    QAction& mnuPrint() const { return *mMnuPrint; }
    QAction& mnuExit() const { return *mMnuExit; }
    QMenu& mnuConfig() const { return *mMnuConfig; }
    QMenu& mnuIndFunc() const { return *mMnuIndFunc; }
    QAction& mnuFunc(int index) const { return *mMnuFunc.at(index); }
    QMenu& mnuDistMode() const { return *mMnuDistMode; }
    QAction& mnuDist(int index) const { return *mMnuDist.at(index); }
    QAction& mnuDrawColor() const { return *mMnuDrawColor; }
    QAction& mnuG00feed() const { return *mMnuG00feed; }
    const ChartStatus& chartStatus() const { return *mChartStatus; }
    // The machining-time panel and status line; null with a control that has no machining times.
    MachiningTimePanel* machiningTime() const { return mMachiningTime; }
    CompareMenu* compareMenu() const { return mCompareMenu; }
    TimeAxisMenu* timeAxisMenu() const { return mTimeAxisMenu; }
    ChartReading& chartReading() const { return *mChartReading; }
    // The toolpath panel; null with a control that draws no toolpath.
    ToolpathPanel* toolpath() const { return mToolpath; }
    // The program and peaks panels; null with a control that lacks their members.
    ProgramPanel* programPanel() const { return mProgramPanel; }
    PeaksPanel* peaksPanel() const { return mPeaksPanel; }
    // Where the docks go and their first sizes.
    DockLayout& docks() const { return *mDocks; }
    // The changes panel; null with a control that has no change runs.
    ChangesPanel* changesPanel() const { return mChangesPanel; }
    // The panels that hear the window's events in order; one added before Form_Load hears them
    // all.
    PanelList& panels() { return mPanels; }

    // The shown file, empty when none.
    QString fileName() const { return mFileName; }

    void Form_Load();
    // Saves the window's settings; runs once, whatever unloads the window.
    void Form_Unload();
    // The open command: the start-up file, else the open dialog's choice.
    void Command1_Click();
    // Loads and shows `path`, or a window without a file for an empty path: the one load
    // operation, for the open command, drops, recent files and reloads.
    void open(const QString& path);
    void mnuOpen_Click();
    void mnuPrint_Click();
    void mnuExit_Click();
    void mnuFunc_Click(int index);
    void mnuDist_Click(int index);
    void mnuDrawColor_Click();
    void mnuG00feed_Click();
    void HS1_Change();
    void Viewer1_ReDrawed(float fLowerPercent, float fUpperPercent, float fDistMax);
    void Viewer1_ReadOut(const QVariantList& args);
    void Viewer1_FileDroped();
    void Viewer1_NcProgramRead();
    void Form_Resize();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The client area also changes size when a dock or the status bar comes or goes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrmMain();
    bool createViewer(QString* error);
    void addPanels();
    void createControls();
    void createMenus();
    void connectHandlers();
    void onEvent(int dispid, const QVariantList& args) override;
    void enforceMinimumSize();
    void layOutControls();

    double dotsPerInch() const;
    QRect twipsToPixels(const QRect& twips) const;
    int pixelsToTwips(int pixels) const;

    void setCaptions();

    std::unique_ptr<component::HostedControl> mHostedViewer;
    std::unique_ptr<CurvexProxy> mViewer1;
    QPushButton* mCommand1 = nullptr;
    QScrollBar* mHS1 = nullptr;
    QMenu* mMnuFile = nullptr;
    QAction* mMnuOpen = nullptr;
    QAction* mMnuPrint = nullptr;
    QAction* mMnuExit = nullptr;
    QMenu* mMnuConfig = nullptr;
    QMenu* mMnuIndFunc = nullptr;
    std::array<QAction*, 3> mMnuFunc{};
    QMenu* mMnuDistMode = nullptr;
    std::array<QAction*, 3> mMnuDist{};
    QAction* mMnuDrawColor = nullptr;
    QAction* mMnuG00feed = nullptr;
    ZoomScrollBar* mZoom = nullptr;
    RecentFilesMenu* mRecentFiles = nullptr;
    FileReloader* mReloader = nullptr;
    ChartCommands* mChartCommands = nullptr;
    std::unique_ptr<ChartStatus> mChartStatus;
    std::unique_ptr<LoadStatus> mLoadStatus;
    MachiningTimePanel* mMachiningTime = nullptr;
    CompareMenu* mCompareMenu = nullptr;
    TimeAxisMenu* mTimeAxisMenu = nullptr;
    ChartReading* mChartReading = nullptr;
    ToolpathPanel* mToolpath = nullptr;
    ProgramPanel* mProgramPanel = nullptr;
    PeaksPanel* mPeaksPanel = nullptr;
    DockLayout* mDocks = nullptr;
    ChangesPanel* mChangesPanel = nullptr;
    PanelList mPanels;
    std::unique_ptr<WindowSettings> mSettings;

    QString mFileName;
    CutFormat mFormat = CutFormat::Binary;
    QString mBaseCaption;
    bool mUnloaded = false;
};
