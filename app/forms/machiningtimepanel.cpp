#include "machiningtimepanel.h"

#include "curvexcolor.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "durationtext.h"
#include "extratext.h"
#include "machiningtimeview.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

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

MachiningTimePanel* MachiningTimePanel::attach(QMainWindow& window, CurvexProxy& viewer,
                                               QMenu& configMenu) {
    if (!viewer.getToolRowCount())
        return nullptr;
    return new MachiningTimePanel(window, viewer, configMenu);
}

MachiningTimePanel::MachiningTimePanel(QMainWindow& window, CurvexProxy& viewer, QMenu& configMenu)
    : QObject(&window), mViewer(viewer) {
    mDock = new QDockWidget(&window);
    mDock->setObjectName(QStringLiteral("machiningTime"));
    mPanel = new MachiningTimeView(mDock);
    mDock->setWidget(mPanel);
    window.addDockWidget(Qt::BottomDockWidgetArea, mDock);
    mDock->hide();
    configMenu.addAction(mDock->toggleViewAction());
    mTotals = new QLabel(&window);
    window.statusBar()->addPermanentWidget(mTotals);
}

void MachiningTimePanel::load() {
    readCaptions();
}

void MachiningTimePanel::readCaptions() {
    mDock->setWindowTitle(ExtraText(ExtraTexts::MachiningTimeTitle));
    mDock->toggleViewAction()->setText(ExtraText(ExtraTexts::MachiningTimeItem));
    mPanel->readCaptions();
    mTotalsFormat = ExtraText(ExtraTexts::MachiningTotals);
}

void MachiningTimePanel::update() {
    std::vector<MachiningRow> tools;
    const std::int32_t count = mViewer.getToolRowCount().value_or(0);
    for (std::int32_t index = 0; index < count; ++index) {
        if (auto row = mViewer.getToolRow(index)) {
            row->air = mViewer.getToolAirRow(index).value_or(AirRow());
            tools.push_back(*row);
        }
    }
    MachiningRow total = mViewer.getTotalRow().value_or(MachiningRow());
    total.air = mViewer.getTotalAirRow().value_or(AirRow());
    MachiningRow shown = mViewer.getShownRow().value_or(MachiningRow());
    shown.air = mViewer.getShownAirRow().value_or(AirRow());
    MachiningTimeView::CurveColours colours;
    for (int n = 0; n < curvex::kCurveColours; ++n)
        colours[static_cast<std::size_t>(n)] =
            curvex::toQColor(static_cast<std::uint32_t>(mViewer.getGraphColor(n)));
    mPanel->showRows(tools, total, shown, colours);
    mTotals->setText(totalsText(mTotalsFormat, total));
}
