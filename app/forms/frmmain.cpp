#include "frmmain.h"

#include "appstate.h"
#include "changespanel.h"
#include "chartcommands.h"
#include "chartreading.h"
#include "chartstatus.h"
#include "comparemenu.h"
#include "controlhost.h"
#include "curvexids.h"
#include "docklayout.h"
#include "filedroptarget.h"
#include "filereloader.h"
#include "filetyperule.h"
#include "frmcolordlg.h"
#include "g00feedprompt.h"
#include "helpmenu.h"
#include "loadstatus.h"
#include "machiningtimepanel.h"
#include "mainlayout.h"
#include "peakspanel.h"
#include "print/mprinterpg.h"
#include "programpanel.h"
#include "recentfilesmenu.h"
#include "report/reportexport.h"
#include "timeaxismenu.h"
#include "toolpathpanel.h"
#include "twips.h"
#include "userprompts.h"
#include "varnutl.h"
#include "viewmenu.h"
#include "windowsettings.h"
#include "zoomscrollbar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

namespace {

// Design values of the window and its controls, in twips.
constexpr int kDesignClientWidth = 9690;
constexpr int kDesignClientHeight = 6645;
const QRect kViewer1Design(480, 360, 8775, 4935);
const QRect kCommand1Design(7680, 5760, 1455, 375);
const QRect kHS1Design(240, 5760, 7095, 255);
constexpr int kScrollMaximum = 32767;

constexpr int kMenuItems = 3;

FrmMain* currentWindow = nullptr;

// Checks item `index` of a group of menu items that exclude each other, unchecking the others.
void checkOnly(const std::array<QAction*, kMenuItems>& group, int index) {
    for (QAction* item : group)
        item->setChecked(false);
    group.at(index)->setChecked(true);
}

} // namespace

std::unique_ptr<FrmMain> FrmMain::create(QString* error) {
    std::unique_ptr<FrmMain> window(new FrmMain);
    if (!window->createViewer(error))
        return nullptr;
    return window;
}

FrmMain::FrmMain() {
    currentWindow = this;
    setCentralWidget(new QWidget(this));
    createMenus();
}

FrmMain::~FrmMain() {
    if (mHostedViewer)
        mHostedViewer->control().advise(nullptr);
    mViewer1.reset();
    mHostedViewer.reset();
    if (currentWindow == this)
        currentWindow = nullptr;
}

FrmMain* FrmMain::instance() {
    return currentWindow;
}

QWidget& FrmMain::viewerWidget() const {
    return *mHostedViewer->control().widget();
}

bool FrmMain::createViewer(QString* error) {
    mHostedViewer = component::createControl(QString::fromLatin1(curvex::kControlClsid),
                                             centralWidget(), error);
    if (!mHostedViewer)
        return false;
    mViewer1 = std::make_unique<CurvexProxy>(mHostedViewer->control());
    mReloader = new FileReloader(*mViewer1, *this, *mMnuFile, *mMnuPrint, *mMnuConfig);
    new ReportExport(
        *this, *mViewer1, [this] { return fileName(); }, *mMnuFile, *mMnuPrint);
    mChartCommands = new ChartCommands(*mViewer1, *this, *mMnuFile, *mMnuPrint, *mMnuConfig);
    mLoadStatus = std::make_unique<LoadStatus>(*this);
    createControls();
    mMachiningTime = MachiningTimePanel::attach(*this, *mViewer1, *mMnuConfig);
    centralWidget()->installEventFilter(this);
    mChartReading =
        new ChartReading(*this, *mViewer1, *mChartStatus, {*mMnuOpen, *mMnuPrint, *mMnuExit});
    mCompareMenu = CompareMenu::attach(*this, *mViewer1,
                                       {*mMnuIndFunc, mMnuFunc, *mMnuConfig, *mMnuDrawColor});
    mTimeAxisMenu = TimeAxisMenu::attach(*this, *mViewer1, *mMnuDistMode, mMnuDist);
    mToolpath = ToolpathPanel::attach(*this, *mViewer1);
    mProgramPanel = ProgramPanel::attach(*this, *mViewer1, *mMnuFile, *mMnuOpen);
    mPeaksPanel = PeaksPanel::attach(*this, *mViewer1, ViewMenu(*this));
    mChangesPanel = ChangesPanel::attach(*this, *mViewer1, ViewMenu(*this));
    mSettings = std::make_unique<WindowSettings>(*this, *mViewer1, mMnuFunc, mMnuDist);
    addPanels();
    connectHandlers();
    mHostedViewer->control().advise(this);
    return true;
}

// The order in which the panels hear the window's events; the docks are placed once every panel
// has read its settings. Home places: the toolpath on the right above the peaks (later side panels
// as tabs beside the peaks), the program and the machining times as tabs at the bottom.
void FrmMain::addPanels() {
    mPanels.add(mCompareMenu);
    mPanels.add(mTimeAxisMenu);
    mPanels.add(mChartReading);
    mPanels.add(mMachiningTime);
    mPanels.add(mToolpath);
    mPanels.add(mProgramPanel);
    mPanels.add(mPeaksPanel);
    mPanels.add(mChangesPanel);
    mDocks = new DockLayout(*this);
    if (mToolpath)
        mDocks->add({&mToolpath->dock(), QStringLiteral("Toolpath"), QStringLiteral("Toolpath"),
                     Qt::RightDockWidgetArea, 0, [this] { return mToolpath->room(); }});
    if (mPeaksPanel)
        mDocks->add({&mPeaksPanel->dock(), QStringLiteral("Peaks"), QString(),
                     Qt::RightDockWidgetArea, 100, [this] { return mPeaksPanel->room(); }});
    if (mProgramPanel)
        mDocks->add({&mProgramPanel->dock(), QStringLiteral("Program"), QString(),
                     Qt::BottomDockWidgetArea, 0, [this] { return mProgramPanel->room(); }});
    if (mMachiningTime)
        mDocks->add({&mMachiningTime->dock(),
                     QStringLiteral("Machining Time"),
                     QStringLiteral("Machining Time"),
                     Qt::BottomDockWidgetArea,
                     1,
                     {}});
    if (mChangesPanel)
        mDocks->add({&mChangesPanel->dock(), QStringLiteral("Changes"), QString(),
                     Qt::RightDockWidgetArea, 101, [this] { return mChangesPanel->room(); }});
    mPanels.add(mDocks);
}

void FrmMain::createControls() {
    mCommand1 = new QPushButton(QStringLiteral("File Open"), centralWidget());
    mHS1 = new QScrollBar(Qt::Horizontal, centralWidget());
    mHS1->setRange(0, kScrollMaximum);
    mHS1->setSingleStep(1);
    mHS1->setPageStep(1);
    mZoom = new ZoomScrollBar(*mHS1, *mViewer1, this);
    mChartStatus = std::make_unique<ChartStatus>(*statusBar());

    viewerWidget().setGeometry(twipsToPixels(kViewer1Design));
    mCommand1->setGeometry(twipsToPixels(kCommand1Design));
    mHS1->setGeometry(twipsToPixels(kHS1Design));

    const QRect client = twipsToPixels(QRect(0, 0, kDesignClientWidth, kDesignClientHeight));
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FrmMain::createMenus() {
    mMnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mMnuOpen = mMnuFile->addAction(QStringLiteral("Open"));
    mMnuPrint = mMnuFile->addAction(QStringLiteral("Print"));
    mMnuExit = mMnuFile->addAction(QStringLiteral("Exit"));
    mRecentFiles = new RecentFilesMenu(*mMnuFile, *mMnuExit, *this);

    mMnuConfig = menuBar()->addMenu(QStringLiteral("Config"));
    mMnuIndFunc = mMnuConfig->addMenu(QStringLiteral("Indication function"));
    for (int i = 0; i < kMenuItems; ++i) {
        mMnuFunc[i] = mMnuIndFunc->addAction(QString());
        mMnuFunc[i]->setCheckable(true);
    }
    mMnuDistMode = mMnuConfig->addMenu(QStringLiteral("Horizontal Axis"));
    for (int i = 0; i < kMenuItems; ++i) {
        mMnuDist[i] = mMnuDistMode->addAction(QString());
        mMnuDist[i]->setCheckable(true);
    }
    mMnuDrawColor = mMnuConfig->addAction(QStringLiteral("Drawing Color"));
    mMnuG00feed = mMnuConfig->addAction(QStringLiteral("G00 Feed"));
    new HelpMenu(*menuBar());
}

void FrmMain::connectHandlers() {
    connect(mCommand1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
    connect(mMnuOpen, &QAction::triggered, this, &FrmMain::mnuOpen_Click);
    connect(mMnuPrint, &QAction::triggered, this, &FrmMain::mnuPrint_Click);
    connect(mMnuExit, &QAction::triggered, this, &FrmMain::mnuExit_Click);
    for (int i = 0; i < kMenuItems; ++i) {
        connect(mMnuFunc[i], &QAction::triggered, this, [this, i] { mnuFunc_Click(i); });
        connect(mMnuDist[i], &QAction::triggered, this, [this, i] { mnuDist_Click(i); });
    }
    connect(mMnuDrawColor, &QAction::triggered, this, &FrmMain::mnuDrawColor_Click);
    connect(mMnuG00feed, &QAction::triggered, this, &FrmMain::mnuG00feed_Click);
    connect(mHS1, &QScrollBar::valueChanged, this, &FrmMain::HS1_Change);
    connect(mRecentFiles, &RecentFilesMenu::openRequested, this, &FrmMain::open);
    connect(new FileDropTarget(*this), &FileDropTarget::fileDropped, this, &FrmMain::open);
}

void FrmMain::onEvent(int dispid, const QVariantList& args) {
    mPanels.tell(&PanelObserver::controlChanged);
    switch (dispid) {
    case curvex::EventReDrawed:
        if (args.size() == 3)
            Viewer1_ReDrawed(args.at(0).toFloat(), args.at(1).toFloat(), args.at(2).toFloat());
        break;
    case curvex::EventFileDroped:
        Viewer1_FileDroped();
        break;
    case curvex::EventLoadProgress:
        if (args.size() == 1)
            mLoadStatus->progress(args.at(0).toInt());
        break;
    case curvex::EventLoadEnded:
        if (args.size() == 1)
            mLoadStatus->ended(args.at(0).toBool());
        break;
    case curvex::EventReadOut:
        Viewer1_ReadOut(args);
        break;
    case curvex::EventReadOutCleared:
        mPanels.tell(&PanelObserver::readOutCleared);
        break;
    case curvex::EventNcProgramRead:
        Viewer1_NcProgramRead();
        break;
    default:
        break;
    }
}

double FrmMain::dotsPerInch() const {
    return logicalDpiY();
}

QRect FrmMain::twipsToPixels(const QRect& twips) const {
    const double dpi = dotsPerInch();
    return {::twipsToPixels(twips.x(), dpi), ::twipsToPixels(twips.y(), dpi),
            ::twipsToPixels(twips.width(), dpi), ::twipsToPixels(twips.height(), dpi)};
}

int FrmMain::pixelsToTwips(int pixels) const {
    return static_cast<int>(::pixelsToTwips(pixels, dotsPerInch()));
}

void FrmMain::Form_Load() {
    Viewer1().setIniFileName(gIniFile);
    mHS1->setMaximum(kScrollMaximum);
    mZoom->takeCeilingFromBar();
    mSettings->loadGeometry();
    setWindowTitle(gText(QStringLiteral("frmCaption")) + QStringLiteral("  Ver") +
                   curvex::kRequiredOcxVersion);
    setCaptions();
    mSettings->loadChoices();
    mBaseCaption = windowTitle();
    mRecentFiles->load();
    mReloader->load();
    mPanels.tell(&PanelObserver::settingsLoaded);
    if (gPendingFileValid)
        Command1_Click();
}

void FrmMain::setCaptions() {
    mCommand1->setText(gText(QStringLiteral("btnCaption")));
    mMnuConfig->setTitle(gText(QStringLiteral("mnuConfig")));
    for (int i = 0; i < kMenuItems; ++i)
        mMnuDist[i]->setText(gText(QStringLiteral("mnuDist%1-1").arg(i)));
    mMnuDistMode->setTitle(gText(QStringLiteral("mnuDistMode-1")));
    mMnuDrawColor->setText(gText(QStringLiteral("mnuDrawColor")));
    mMnuExit->setText(gText(QStringLiteral("mnuExit")));
    mMnuFile->setTitle(gText(QStringLiteral("mnuFile")));
    for (int i = 0; i < kMenuItems; ++i)
        mMnuFunc[i]->setText(gText(QStringLiteral("mnuFunc%1").arg(i)));
    mMnuIndFunc->setTitle(gText(QStringLiteral("mnuIndFunc")));
    mMnuOpen->setText(gText(QStringLiteral("mnuOpen")));
    mMnuPrint->setText(gText(QStringLiteral("mnuPrint")));
    mMnuG00feed->setText(gText(QStringLiteral("mnuG00feed")));
}

// The panels save theirs between the window's place and its chart choices: the compare menu may
// check a function item again before the draw mode is written.
void FrmMain::Form_Unload() {
    if (mUnloaded)
        return;
    mUnloaded = true;
    mSettings->savePlace();
    mPanels.tell(&PanelObserver::settingsSaved);
    mSettings->saveChoices();
}

// The File Open button: the file given at start-up, else the one the open dialog picks.
void FrmMain::Command1_Click() {
    const QString path = gPendingFileValid
                             ? gPendingFile
                             : ShowFileOpenDialog(gInitFile, gInitDirectory, gText("FileCaption"),
                                                  gText("FileSuffix"));
    gPendingFileValid = false;
    open(path);
}

// The window's one load operation: the button, drops, recent files and reloads all come here.
// An empty path (a cancelled dialog) leaves the window without a file name.
void FrmMain::open(const QString& path) {
    mFileName = path;
    appState().shownData = path;
    bool loaded = false;
    if (!mFileName.isEmpty()) {
        const std::optional<CutFormat> format = askFileFormat(mFileName);
        if (!format)
            return;
        mFormat = *format;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Viewer1().setViewRenewal(true);
        mReloader->loadStarts(mFileName);
        loaded = Viewer1().loadCutData(mFileName, mFormat);
        if (loaded)
            Viewer1().refresh();
        QApplication::restoreOverrideCursor();
        mChartStatus->loadDone(mFileName, loaded, Viewer1().getLoadError());
    }
    if (!loaded)
        mFileName.clear();
    setWindowTitle(mBaseCaption + QStringLiteral("    ") + mFileName);
    mRecentFiles->fileShown(mFileName);
    mChartCommands->fileShown(mFileName);
    mReloader->fileShown(mFileName, mFormat);
    mPanels.tell(&PanelObserver::fileShown, mFileName);
}

void FrmMain::mnuOpen_Click() {
    Command1_Click();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void FrmMain::mnuPrint_Click() {
    PrintGraph(this, &Viewer1());
}

// Unloads the window, saving its settings, then ends the program whatever else is open.
void FrmMain::mnuExit_Click() {
    close();
    QApplication::exit(0);
}

void FrmMain::mnuFunc_Click(int index) {
    checkOnly(mMnuFunc, index);
    Viewer1().setViewRenewal(true);
    Viewer1().setDrawMode(std::int32_t{1} << index);
    Viewer1().refresh();
}

void FrmMain::mnuDist_Click(int index) {
    checkOnly(mMnuDist, index);
    Viewer1().setViewRenewal(true);
    Viewer1().setDistanceMode(index);
    Viewer1().refresh();
}

void FrmMain::mnuDrawColor_Click() {
    FrmColorDlg dialog(Viewer1(), this);
    dialog.exec();
}

// The new feed shows in the chart at the next render, in the machining times at once.
void FrmMain::mnuG00feed_Click() {
    Viewer1().setG00feed(askG00Feed(prompts(), Viewer1().getG00feed(),
                                    gText(QStringLiteral("inpBox1")),
                                    gText(QStringLiteral("inpBox2"))));
    mPanels.tell(&PanelObserver::g00FeedChanged);
}

void FrmMain::HS1_Change() {
    mZoom->change();
}

void FrmMain::Viewer1_ReDrawed(float fLowerPercent, float fUpperPercent, float fDistMax) {
    mZoom->reDrawed(fLowerPercent, fUpperPercent, fDistMax);
    mReloader->reDrawed(fDistMax);
    mPanels.tell(&PanelObserver::chartRedrawn);
}

// The read-out shows the record's values; its first value is the record the chart marks.
void FrmMain::Viewer1_ReadOut(const QVariantList& args) {
    mPanels.tell(&PanelObserver::readOutShown, args);
    if (!args.isEmpty())
        mPanels.tell(&PanelObserver::recordMarked, args.at(0).toInt());
}

// The control has mapped the program to the data: the marked line and the peaks' lines follow.
void FrmMain::Viewer1_NcProgramRead() {
    mPanels.tell(&PanelObserver::programMapped);
}

// Opens the dropped file without the open dialog.
void FrmMain::Viewer1_FileDroped() {
    open(Viewer1().getStrBuffer());
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

// The next paint renders anew; a window that is not minimised keeps its minimum size and gets
// its controls laid out.
void FrmMain::Form_Resize() {
    Viewer1().setViewRenewal(true);
    if (isMinimized())
        return;
    enforceMinimumSize();
    layOutControls();
}

void FrmMain::enforceMinimumSize() {
    const QSize button(pixelsToTwips(mCommand1->width()), pixelsToTwips(mCommand1->height()));
    const QSize minimum =
        twipsToPixels(QRect(QPoint(), MainLayout::minimumWindowSize(button))).size();
    setMinimumSize(minimum);
    if (width() < minimum.width())
        resize(minimum.width(), height());
    if (height() < minimum.height())
        resize(width(), minimum.height());
}

void FrmMain::layOutControls() {
    const QSize client(pixelsToTwips(centralWidget()->width()),
                       pixelsToTwips(centralWidget()->height()));
    const QSize button(pixelsToTwips(mCommand1->width()), pixelsToTwips(mCommand1->height()));
    const MainLayout layout = MainLayout::forClient(client, button, pixelsToTwips(mHS1->height()));
    viewerWidget().setGeometry(twipsToPixels(layout.graph));
    mCommand1->setGeometry(twipsToPixels(layout.button));
    mHS1->setGeometry(twipsToPixels(layout.scrollBar));
}
