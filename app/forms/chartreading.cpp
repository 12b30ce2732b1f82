#include "chartreading.h"

#include "chartstatus.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "durationtext.h"
#include "extratext.h"
#include "userprompts.h"
#include "viewmenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <bit>
#include <cmath>

namespace {

constexpr int kRecordFields = 12;

QString number(const QVariant& value) {
    return QString::number(value.toDouble(), 'g', 7);
}

QString gCode(unsigned code) {
    return code < 100 ? QStringLiteral("G%1").arg(code, 2, 10, QLatin1Char('0'))
                      : QStringLiteral("G--");
}

QString removalKind(unsigned kind) {
    static const char kKinds[] = "NAVUD";
    return kind < 5 ? QString(QLatin1Char(kKinds[kind])) : QString::number(kind);
}

// The unit of the value the read-out carries, that of the series the chart plots: the feeds of
// Feeds Compared, removal per second in Rates Compared and with draw modes 1 and 2 (a feed),
// removal per millimetre with any other.
QString unitOf(int drawMode, int compareMode) {
    if (compareMode == 2)
        return QStringLiteral("mm/min");
    const int series = drawMode == 0 ? 0 : std::countr_zero(static_cast<unsigned>(drawMode));
    return compareMode == 1 || series == 1 || series == 2 ? QStringLiteral("mm3/sec")
                                                          : QStringLiteral("mm3/mm");
}

// The read-out's value with its unit: the feed change of Feed Change with its sign and one
// decimal ("-37.5 %"; "no feed change" at a G00 move or without a programmed feed), any other
// value in the unit of its series.
QString valueText(const QVariant& value, int drawMode, int compareMode) {
    if (compareMode != static_cast<int>(curvex::CompareMode::FeedChange))
        return number(value) + QLatin1Char(' ') + unitOf(drawMode, compareMode);
    const double change = value.toDouble();
    if (std::isnan(change))
        return QStringLiteral("no feed change");
    return QString::asprintf("%+.1f %%", change);
}

QString duration(const QVariant& seconds) {
    return QString::fromStdString(DurationText(seconds.toDouble()));
}

} // namespace

ChartReading::ChartReading(QMainWindow& window, CurvexProxy& viewer, ChartStatus& status,
                           const FileCommands& commands)
    : QObject(&window), mViewer(viewer), mStatus(status) {
    commands.open.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    commands.print.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    commands.exit.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mMnuGoToBlock = new QAction(QStringLiteral("Go to Block..."), this);
    mMnuGoToBlock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    if (mViewer.hasMethod(curvex::DispGoToBlock))
        ViewMenu(window).addAction(mMnuGoToBlock);
    connect(mMnuGoToBlock, &QAction::triggered, this, &ChartReading::mnuGoToBlock_Click);
}

void ChartReading::mnuGoToBlock_Click() {
    const QString answer =
        prompts().inputBox(QStringLiteral("Go to block number:"), QString()).trimmed();
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int blockNo = answer.toInt(&ok);
    if (!ok) {
        mStatus.showReadOut(QStringLiteral("Not a block number: %1").arg(answer));
        return;
    }
    const std::optional<bool> found = mViewer.goToBlock(blockNo);
    if (!found)
        mStatus.showReadOut(QStringLiteral("This chart control cannot go to a block"));
    else if (!*found)
        mStatus.showReadOut(QStringLiteral("Block %1 is not in the data").arg(blockNo));
}

void ChartReading::settingsLoaded() {
    if (mViewer.getCompareMode())
        load();
}

void ChartReading::load() {
    mElapsedFormat = ExtraText(ExtraTexts::ElapsedTimes);
}

void ChartReading::Viewer1_ReadOut(const QVariantList& record) {
    QString text = describe(record, mViewer.getDrawMode(), mViewer.getCompareMode().value_or(0));
    if (const auto place = mViewer.getReadOutPlace())
        text += describePlace(*place, mViewer.distanceMode(), mElapsedFormat);
    mStatus.showReadOut(text);
}

QString ChartReading::describePlace(const QVariantList& place, int distanceMode,
                                    const QString& elapsedFormat) {
    const QString position = distanceMode == 2
                                 ? QStringLiteral("block %1").arg(number(place[0]))
                                 : QStringLiteral("%1 mm").arg(place[0].toDouble(), 0, 'f', 1);
    return QStringLiteral(" at %1 %2 %3")
        .arg(position, QString(QChar(0x00B7)),
             elapsedFormat.arg(duration(place[1]), duration(place[2])));
}

void ChartReading::Viewer1_ReadOutCleared() {
    mStatus.clearReadOut();
}

QString ChartReading::describe(const QVariantList& record, int drawMode, int compareMode) {
    if (record.size() != kRecordFields)
        return {};
    return QStringLiteral("N%1 T%2 %3 X%4 Y%5 Z%6 F%7/%8 %9%10 = %11")
        .arg(record[1].toString(), record[2].toString(), gCode(record[3].toUInt()),
             number(record[4]), number(record[5]), number(record[6]), record[7].toString(),
             record[8].toString(), removalKind(record[9].toUInt()))
        .arg(number(record[10]), valueText(record[11], drawMode, compareMode));
}
