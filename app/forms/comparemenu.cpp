#include "comparemenu.h"

#include "curvexids.h"
#include "curvexproxy.h"
#include "extratext.h"
#include "varnutl.h"
#include "viewmenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

const QString kSection = QStringLiteral("Compare");

using curvex::ChartOption;
using curvex::CompareMode;

// The compare modes of the three items, in their order.
constexpr CompareMode kCompareModes[] = {CompareMode::Rates, CompareMode::Feeds,
                                         CompareMode::FeedChange};

bool readSwitch(const QString& key) {
    return ReadIniValue(kSection, key).trimmed() == QStringLiteral("1");
}

// Writes a value other than 0, or any value of a key the file holds already: a file whose user
// never switched a view on stays without the section.
void writeState(const QString& key, int value) {
    if (value != 0 || !ReadIniValue(kSection, key).isEmpty())
        WriteIniValue(kSection, key, QString::number(value));
}

QAction* checkable(QAction* item) {
    item->setCheckable(true);
    return item;
}

} // namespace

CompareMenu* CompareMenu::attach(QMainWindow& window, CurvexProxy& viewer, const Menus& menus) {
    if (!viewer.setChartOption(ChartOption::Legend, false) ||
        !viewer.setCompareMode(CompareMode::None))
        return nullptr;
    // A control that refuses the feed change gets no item for it.
    const bool feedChange = viewer.setCompareMode(CompareMode::FeedChange).value_or(false);
    viewer.setCompareMode(CompareMode::None);
    return new CompareMenu(window, viewer, menus, feedChange);
}

CompareMenu::CompareMenu(QMainWindow& window, CurvexProxy& viewer, const Menus& menus,
                         bool feedChange)
    : QObject(&window), mViewer(viewer), mFunctionItems(menus.functionItems) {
    menus.function.addSeparator();
    for (const CompareMode mode : kCompareModes) {
        QAction* item = checkable(menus.function.addAction(QString()));
        mCompare[itemOf(mode)] = item;
        connect(item, &QAction::triggered, this, [this, mode] { chooseCompare(mode); });
    }
    compareItem(CompareMode::FeedChange).setVisible(feedChange);
    for (QAction* item : mFunctionItems)
        connect(item, &QAction::triggered, this, &CompareMenu::chooseFunction);
    const QList<QAction*> config = menus.config.actions();
    const qsizetype colourAt = config.indexOf(&menus.drawColour);
    QAction* before = colourAt + 1 < config.size() ? config.at(colourAt + 1) : nullptr;
    mColourByTool = checkable(new QAction(&menus.config));
    menus.config.insertAction(before, mColourByTool);
    QMenu& view = ViewMenu(window);
    mLegend = checkable(view.addAction(QString()));
    mFitHeight = checkable(view.addAction(QString()));
    connect(mColourByTool, &QAction::toggled, this,
            [this](bool on) { setOption(ChartOption::ColourByTool, on); });
    connect(mLegend, &QAction::toggled, this,
            [this](bool on) { setOption(ChartOption::Legend, on); });
    connect(mFitHeight, &QAction::toggled, this,
            [this](bool on) { setOption(ChartOption::FitHeight, on); });
}

void CompareMenu::load() {
    for (std::size_t key = 0; key < ExtraTexts::KeyCount; ++key)
        ExtraText(static_cast<ExtraTexts::Key>(key));
    mCompare[0]->setText(ExtraText(ExtraTexts::RatesComparedItem));
    mCompare[1]->setText(ExtraText(ExtraTexts::FeedsComparedItem));
    mCompare[2]->setText(ExtraText(ExtraTexts::FeedChangeItem));
    mColourByTool->setText(ExtraText(ExtraTexts::ColourByToolItem));
    mLegend->setText(ExtraText(ExtraTexts::LegendItem));
    mFitHeight->setText(ExtraText(ExtraTexts::FitHeightItem));
    noteFunction();
    mColourByTool->setChecked(readSwitch(QStringLiteral("Colour by Tool")));
    mLegend->setChecked(readSwitch(QStringLiteral("Legend")));
    mFitHeight->setChecked(readSwitch(QStringLiteral("Fit Height")));
    const int mode = ReadIniValue(kSection, QStringLiteral("Mode")).trimmed().toInt();
    for (const CompareMode compare : kCompareModes)
        if (mode == static_cast<int>(compare) && compareItem(compare).isVisible())
            chooseCompare(compare);
}

void CompareMenu::save() {
    int mode = static_cast<int>(CompareMode::None);
    for (const CompareMode compare : kCompareModes)
        if (mCompare[itemOf(compare)]->isChecked())
            mode = static_cast<int>(compare);
    writeState(QStringLiteral("Mode"), mode);
    writeState(QStringLiteral("Colour by Tool"), mColourByTool->isChecked() ? 1 : 0);
    writeState(QStringLiteral("Legend"), mLegend->isChecked() ? 1 : 0);
    writeState(QStringLiteral("Fit Height"), mFitHeight->isChecked() ? 1 : 0);
    if (mode != 0 && mLastFunction)
        mLastFunction->setChecked(true);
    for (QAction* item : mCompare)
        item->setChecked(false);
}

void CompareMenu::noteFunction() {
    for (QAction* item : mFunctionItems)
        if (item->isChecked())
            mLastFunction = item;
}

// The six items exclude each other as the three do (without an action group, which would show
// the three as radio items).
void CompareMenu::chooseCompare(CompareMode mode) {
    for (QAction* item : mFunctionItems)
        item->setChecked(false);
    for (const CompareMode compare : kCompareModes)
        mCompare[itemOf(compare)]->setChecked(compare == mode);
    mViewer.setCompareMode(mode);
    refresh();
}

void CompareMenu::chooseFunction() {
    for (QAction* item : mCompare)
        item->setChecked(false);
    noteFunction();
    mViewer.setCompareMode(CompareMode::None);
    refresh();
}

void CompareMenu::setOption(ChartOption option, bool on) {
    mViewer.setChartOption(option, on);
    refresh();
}

void CompareMenu::refresh() {
    mViewer.setViewRenewal(true);
    mViewer.refresh();
}
