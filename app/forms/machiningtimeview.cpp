#include "machiningtimeview.h"

#include "curvexcolor.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "durationtext.h"
#include "extratext.h"
#include "machiningtimepanel.h"
#include "numerictext.h"
#include "varnutl.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

const QString kSection = QStringLiteral("Machining Time");

// Reads without writing the defaults: a window whose panel is never used adds nothing to the
// settings file.
QString readKey(const char* key) {
    return ReadIniValue(kSection, QString::fromLatin1(key));
}

int readNumber(const char* key, int defaultValue) {
    return toInt32(readKey(key)).value_or(defaultValue);
}

void writeNumber(const char* key, int value) {
    WriteIniValue(kSection, QString::fromLatin1(key), QString::number(value));
}

Qt::DockWidgetArea areaFrom(int value) {
    switch (value) {
    case Qt::LeftDockWidgetArea:
    case Qt::RightDockWidgetArea:
    case Qt::TopDockWidgetArea:
        return static_cast<Qt::DockWidgetArea>(value);
    default:
        return Qt::BottomDockWidgetArea;
    }
}

QString totalsText(const QString& format, const MachiningRow& total) {
    if (total.records == 0)
        return {};
    const QString percent =
        total.savedPercent ? QString::number(*total.savedPercent, 'f', 1) + QStringLiteral(" %")
                           : QStringLiteral("-");
    return format.arg(QString::fromStdString(DurationText(total.programmed)),
                      QString::fromStdString(DurationText(total.optimised)), percent);
}

} // namespace

MachiningTimeView* MachiningTimeView::attach(QMainWindow& window, CurvexProxy& viewer,
                                             QMenu& configMenu) {
    if (!viewer.getToolRowCount())
        return nullptr;
    return new MachiningTimeView(window, viewer, configMenu);
}

MachiningTimeView::MachiningTimeView(QMainWindow& window, CurvexProxy& viewer, QMenu& configMenu)
    : QObject(&window), mWindow(window), mViewer(viewer) {
    mDock = new QDockWidget(&window);
    mDock->setObjectName(QStringLiteral("machiningTime"));
    mPanel = new MachiningTimePanel(mDock);
    mDock->setWidget(mPanel);
    window.addDockWidget(Qt::BottomDockWidgetArea, mDock);
    mDock->hide();
    configMenu.addAction(mDock->toggleViewAction());
    mTotals = new QLabel(&window);
    window.statusBar()->addPermanentWidget(mTotals);
}

void MachiningTimeView::load() {
    readCaptions();
    const Qt::DockWidgetArea area = areaFrom(readNumber("Area", Qt::BottomDockWidgetArea));
    mWindow.addDockWidget(area, mDock);
    const bool floating = readNumber("Floating", 0) != 0;
    mDock->setFloating(floating);
    const int width = readNumber("Width", 0);
    const int height = readNumber("Height", 0);
    if (floating && width > 0 && height > 0)
        mDock->setGeometry(readNumber("Left", mDock->x()), readNumber("Top", mDock->y()), width,
                           height);
    mDock->setVisible(readNumber("Visible", 0) != 0);
    if (!floating && width > 0 && height > 0) {
        const bool across = area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
        mWindow.resizeDocks({mDock}, {across ? height : width},
                            across ? Qt::Vertical : Qt::Horizontal);
    }
}

void MachiningTimeView::readCaptions() {
    mDock->setWindowTitle(ExtraText(ExtraTexts::MachiningTimeTitle));
    mDock->toggleViewAction()->setText(ExtraText(ExtraTexts::MachiningTimeItem));
    mPanel->readCaptions();
    mTotalsFormat = ExtraText(ExtraTexts::MachiningTotals);
}

// A window whose panel was never used keeps its settings file as it was.
void MachiningTimeView::save() const {
    const bool untouched = mDock->isHidden() && !mDock->isFloating() &&
                           mWindow.dockWidgetArea(mDock) == Qt::BottomDockWidgetArea &&
                           readKey("Visible").isEmpty();
    if (untouched)
        return;
    writeNumber("Visible", mDock->isHidden() ? 0 : 1);
    writeNumber("Area", mWindow.dockWidgetArea(mDock));
    writeNumber("Floating", mDock->isFloating() ? 1 : 0);
    writeNumber("Left", mDock->x());
    writeNumber("Top", mDock->y());
    writeNumber("Width", mDock->width());
    writeNumber("Height", mDock->height());
}

void MachiningTimeView::update() {
    std::vector<MachiningRow> tools;
    const std::int32_t count = mViewer.getToolRowCount().value_or(0);
    for (std::int32_t index = 0; index < count; ++index) {
        if (const auto row = mViewer.getToolRow(index))
            tools.push_back(*row);
    }
    const MachiningRow total = mViewer.getTotalRow().value_or(MachiningRow());
    const MachiningRow shown = mViewer.getShownRow().value_or(MachiningRow());
    MachiningTimePanel::CurveColours colours;
    for (int n = 0; n < curvex::kCurveColours; ++n)
        colours[static_cast<std::size_t>(n)] =
            curvex::toQColor(static_cast<std::uint32_t>(mViewer.getGraphColor(n)));
    mPanel->showRows(tools, total, shown, colours);
    mTotals->setText(totalsText(mTotalsFormat, total));
}
