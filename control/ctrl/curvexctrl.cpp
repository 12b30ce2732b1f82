#include "curvexctrl.h"

#include "changerows.h"
#include "chartoutput.h"
#include "curvexaboutbox.h"
#include "curvexcolor.h"
#include "curvexdispatch.h"
#include "curvexexports.h"
#include "curvexids.h"
#include "curvexmodule.h"
#include "cutloader.h"
#include "graphrenderer.h"
#include "machiningrows.h"
#include "machiningtime.h"
#include "rangeselection.h"
#include "responsiveload.h"
#include "series.h"
#include "shownrecords.h"
#include "surfaceregistry.h"
#include "toolpathcontrol.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace {

int liveControls = 0;

constexpr ColorRef kRubberBandColour = 0xFF00FF;

// The first dropped item when it is a local file, else empty.
QString firstDroppedFile(const QMimeData& drop) {
    const QList<QUrl> urls = drop.urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

} // namespace

CCurvexCtrl::CCurvexCtrl(QWidget* parent)
    : QWidget(parent), graph_(std::make_unique<CCutGraph>()), program_([this] {
          QMetaObject::invokeMethod(this, &CCurvexCtrl::FireNcProgramRead, Qt::QueuedConnection);
      }),
      toolpath_(std::make_unique<ToolpathControl>()) {
    // The shared state is set up by the first control only: a second control must not drop the
    // data set, titles or selection the first one is using.
    if (liveControls == 0)
        curvexModule().reset();
    ++liveControls;
    backColor_ = curvex::toColorRef(palette().color(QPalette::Window));
    foreColor_ = curvex::toColorRef(palette().color(QPalette::WindowText));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CCurvexCtrl::~CCurvexCtrl() {
    program_.close();
    releaseCapture();
    bitmap_.reset();
    FreeCutData(curvexModule().data);
    graph_.reset();
    --liveControls;
}

int CCurvexCtrl::instanceCount() {
    return liveControls;
}

component::InvokeResult CCurvexCtrl::invoke(int dispid, component::InvokeKind kind,
                                            QVariantList& args, QVariant* result) {
    return CurvexDispatch::invoke(*this, dispid, kind, args, result);
}

void CCurvexCtrl::saveProperties(QVariantMap& bag) {
    bag.insert(QStringLiteral("_Version"), curvex::kPersistVersion);
    bag.insert(QStringLiteral("BackColor"), backColor_);
    bag.insert(QStringLiteral("ForeColor"), foreColor_);
}

void CCurvexCtrl::loadProperties(const QVariantMap& bag) {
    bool ok = false;
    const ColorRef back = bag.value(QStringLiteral("BackColor")).toUInt(&ok);
    if (ok)
        setBackColor(back);
    const ColorRef fore = bag.value(QStringLiteral("ForeColor")).toUInt(&ok);
    if (ok)
        setForeColor(fore);
}

// The same percentages of another axis are other records: the toolpath emphasises the shown ones.
void CCurvexCtrl::setDistanceMode(std::int32_t mode) {
    if (mode != graph_->chart.distanceMode)
        toolpath_->followShownRange();
    graph_->chart.distanceMode = mode;
    repaintLater();
}

bool CCurvexCtrl::SetDistArea(float& lowerPercent, float& upperPercent) {
    if (lowerPercent != graph_->chart.shown.lower || upperPercent != graph_->chart.shown.upper)
        toolpath_->followShownRange();
    graph_->chart.shown.lower = lowerPercent;
    graph_->chart.shown.upper = upperPercent;
    return true;
}

bool CCurvexCtrl::GetDistArea(float& lowerPercent, float& uperPercent) const {
    lowerPercent = graph_->chart.shown.lower;
    uperPercent = graph_->chart.shown.upper;
    return true;
}

// The file is read while the windows stay painted; Esc or CancelLoad stops it and leaves the data
// set as it was. A load is refused while another one runs.
bool CCurvexCtrl::LoadCutData(const std::string& fileName, std::int32_t typeTextFlg) {
    if (load_)
        return false;
    graph_->chart.shown = ShownRange{};
    toolpath_->followShownRange();
    const CutFormat format = curvex::formatOfTypeTextFlag(typeTextFlg);
    ResponsiveLoad load(
        [&](CutDataSet& data, LoadMonitor& monitor) {
            return LoadCutFile(fileName, format, data, {.monitor = &monitor});
        },
        [this](int percent) { FireLoadProgress(percent); });
    load_ = &load;
    const LoadResult result = load.run(curvexModule().data);
    load_ = nullptr;
    loadError_ = result.ok() ? std::string() : result.reason();
    if (load.reported())
        FireLoadEnded(result.error == LoadError::Cancelled);
    if (result.ok()) {
        navigation_.history().clear();
        clearReadOut();
        readOut_.dataReplaced();
        program_.prepare(curvexModule().data);
    }
    return result.ok();
}

void CCurvexCtrl::CancelLoad() {
    if (load_)
        load_->cancel();
}

void CCurvexCtrl::SetIniFileName(const std::string& iniFileName) {
    curvexModule().titles.SetIniFileName(iniFileName);
    curvexModule().extraTexts.SetIniFileName(iniFileName, false);
}

void CCurvexCtrl::SetG00feed(float g00Feed) {
    if (graph_->chart.timeAxis == curvex::TimeAxisMode::Off || g00Feed == graph_->chart.g00Feed) {
        graph_->chart.g00Feed = g00Feed;
        return;
    }
    keepShownRecords([&] { graph_->chart.g00Feed = g00Feed; });
}

bool CCurvexCtrl::SetTimeAxis(std::int32_t mode) {
    if (mode < 0 || mode > static_cast<std::int32_t>(curvex::TimeAxisMode::Optimised))
        return false;
    const auto axis = static_cast<curvex::TimeAxisMode>(mode);
    if (axis != graph_->chart.timeAxis)
        keepShownRecords([&] { graph_->chart.timeAxis = axis; });
    return true;
}

template <class Change> void CCurvexCtrl::keepShownRecords(Change change) {
    const CutDataSet& data = curvexModule().data;
    const ShownRange before = graph_->chart.shown;
    const bool narrowed = data.hasData() && data.count > 0 && before.narrowed();
    const RecordRange records =
        narrowed ? ShownRecords(data, graph_->horizontal(data), before) : RecordRange{};
    change();
    if (narrowed) {
        const HorizontalAxis axis = graph_->horizontal(data);
        graph_->chart.shown = RangeOfRecords(data, axis, records, MinimumWidthPercent(data, axis));
    }
    navigation_.history().clear();
    showRange(graph_->chart.shown);
}

QVariant CCurvexCtrl::GetReadOutPlace() {
    return views_.readOutPlace(moduleChart(*graph_), curvexModule().data, readOut_.marked());
}

void CCurvexCtrl::SetDrawMode(std::int32_t drawMode) {
    graph_->drawModeMask = drawMode;
    CurvexModule& module = curvexModule();
    module.primaryDrawMode = PrimaryDrawModeFromMask(drawMode, module.primaryDrawMode);
}

std::int32_t CCurvexCtrl::GetGraphColor(std::int32_t colorNo) const {
    if (colorNo < 0 || colorNo >= curvex::kCurveColours)
        return 0xFFFFFF;
    return static_cast<std::int32_t>(graph_->chart.colours[static_cast<std::size_t>(colorNo)]);
}

void CCurvexCtrl::SetGraphColor(std::int32_t colorRef, std::int32_t colorNo) {
    if (colorNo < 0 || colorNo >= curvex::kCurveColours)
        return;
    graph_->chart.colours[static_cast<std::size_t>(colorNo)] = static_cast<ColorRef>(colorRef);
}

void CCurvexCtrl::LostCapture() {
    releaseCapture();
    curvexModule().selection.selActive = 0;
    repaintLater();
}

std::int32_t CCurvexCtrl::GetBmpSize(std::int16_t& width, std::int16_t& height) {
    ensureBitmap();
    width = static_cast<std::int16_t>(bitmap_->width());
    height = static_cast<std::int16_t>(bitmap_->height());
    return 1;
}

void CCurvexCtrl::OutputPrinter(std::int32_t surfaceHandle, std::int32_t ptrWidth,
                                std::int32_t ptrHeight) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    if (target == nullptr)
        return;
    std::int16_t width = 0;
    std::int16_t height = 0;
    GetBmpSize(width, height);
    if (width <= 0 || height <= 0)
        return;
    // In 64 bits: a target size near the ends of the 32-bit range must not overflow.
    const QPoint origin(static_cast<int>((std::int64_t{ptrWidth} - width) / 2),
                        static_cast<int>((std::int64_t{ptrHeight} - height) / 2));
    QPainter painter(target);
    if (!painter.isActive())
        return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(origin, *bitmap_, QRect(0, 0, width, height));
}

std::int32_t CCurvexCtrl::GetOcxVersion() const {
    return curvex::kOcxVersion;
}

QString CCurvexCtrl::GetStrBuffer() const {
    return QFile::decodeName(droppedFile_.c_str());
}

void CCurvexCtrl::OcxUnRegist() {
    DllUnregisterServer();
}

std::int32_t CCurvexCtrl::GetToolRowCount() const {
    return static_cast<std::int32_t>(
        ToolTimesOf(curvexModule().data, graph_->chart.g00Feed).size());
}

QVariant CCurvexCtrl::GetToolRow(std::int32_t index) const {
    return ToolRowVariant(curvexModule().data, index, graph_->chart.g00Feed,
                          graph_->chart.colourByTool);
}

QVariant CCurvexCtrl::GetTotalRow() const {
    return TimeRowVariant(TotalTimesOf(curvexModule().data, graph_->chart.g00Feed));
}

QVariant CCurvexCtrl::GetShownRow() const {
    const CutDataSet& data = curvexModule().data;
    return TimeRowVariant(
        ShownTimesOf(data, graph_->horizontal(data), graph_->chart.shown, graph_->chart.g00Feed));
}

QVariant CCurvexCtrl::GetToolAirRow(std::int32_t index) const {
    return ToolAirRowVariant(curvexModule().data, index, graph_->chart.g00Feed);
}

QVariant CCurvexCtrl::GetTotalAirRow() const {
    return AirRowVariant(TotalTimesOf(curvexModule().data, graph_->chart.g00Feed));
}

QVariant CCurvexCtrl::GetShownAirRow() const {
    return AirRowVariant(ShownTimesOf(curvexModule().data, graph_->chart.distanceMode,
                                      graph_->chart.shown, graph_->chart.g00Feed));
}

void CCurvexCtrl::Refresh() {
    const std::uint64_t paintsBefore = paintCount_;
    repaint();
    // A hidden or unexposed window is not painted; the render and its event happen all the same.
    if (paintCount_ == paintsBefore)
        renderAndShow(nullptr, rect());
}

void CCurvexCtrl::setBackColor(ColorRef colour) {
    backColor_ = colour;
    repaintLater();
}

void CCurvexCtrl::setForeColor(ColorRef colour) {
    foreColor_ = colour;
    repaintLater();
}

void CCurvexCtrl::AboutBox() {
    CurvexAboutBox box;
    box.exec();
}

QString CCurvexCtrl::GetLoadError() const {
    return QString::fromStdString(loadError_);
}

bool CCurvexCtrl::GoToBlock(std::int32_t blockNo) {
    const CutDataSet& data = curvexModule().data;
    if (!data.hasData() || !DrawsCurve(graph_->horizontal(data)))
        return false;
    const auto found = std::find(data.blockNos.begin(), data.blockNos.end(), blockNo);
    if (found == data.blockNos.end())
        return false;
    const float shown = graph_->chart.shown.width();
    markAndShow(static_cast<std::uint32_t>(found - data.blockNos.begin()),
                shown >= 100.0f ? 1.0f : shown);
    return true;
}

bool CCurvexCtrl::MarkRecord(std::int32_t index) {
    const CutDataSet& data = curvexModule().data;
    if (!data.hasData() || !DrawsCurve(graph_->horizontal(data)) || index < 0 ||
        static_cast<std::uint32_t>(index) >= data.count)
        return false;
    const auto record = static_cast<std::uint32_t>(index);
    const float at = percentAlong(data, record);
    if (graph_->chart.shown.contains(at)) {
        readOut_.mark(record);
        repaintLater();
        FireReadOut();
        return true;
    }
    markAndShow(record, graph_->chart.shown.width());
    return true;
}

float CCurvexCtrl::percentAlong(const CutDataSet& data, std::uint32_t index) const {
    const HorizontalAxis axis = graph_->horizontal(data);
    const float end = axis.valueAt(data, data.count - 1);
    return end > 0.0f ? axis.valueAt(data, index) / end * 100.0f : 0.0f;
}

void CCurvexCtrl::markAndShow(std::uint32_t index, float widthPercent) {
    const CutDataSet& data = curvexModule().data;
    showAndMark(RangeAround(percentAlong(data, index), widthPercent,
                            MinimumWidthPercent(data, graph_->horizontal(data))),
                index);
}

void CCurvexCtrl::showAndMark(const ShownRange& range, std::uint32_t index,
                              std::optional<RecordRange> emphasised) {
    showRange(range);
    if (emphasised)
        toolpath_->emphasise(*emphasised);
    readOut_.mark(index);
    FireReadOut();
}

QVariant CCurvexCtrl::GetChanges(std::int32_t kind, std::int32_t top) {
    const auto slower = static_cast<std::int32_t>(curvex::ChangeKind::Slower);
    const auto faster = static_cast<std::int32_t>(curvex::ChangeKind::Faster);
    if ((kind != slower && kind != faster) || top < 0)
        return false;
    return ChangeRowsVariant(changes_.runs(curvexModule().data,
                                           static_cast<curvex::ChangeKind>(kind),
                                           static_cast<std::uint32_t>(top)));
}

bool CCurvexCtrl::ShowRecords(std::int32_t first, std::int32_t last) {
    const CutDataSet& data = curvexModule().data;
    if (!data.hasData() || !DrawsCurve(graph_->chart.distanceMode) || first < 0 || last < first ||
        static_cast<std::uint32_t>(last) >= data.count)
        return false;
    const auto from = static_cast<std::uint32_t>(first);
    showAndMark(RangeOverSpan(percentAlong(data, from),
                              percentAlong(data, static_cast<std::uint32_t>(last)),
                              MinimumWidthPercent(data, graph_->horizontal(data))),
                from, RecordRange{from, static_cast<std::uint32_t>(last) + 1});
    return true;
}

bool CCurvexCtrl::DrawChart(std::int32_t surfaceHandle, std::int32_t chartWidth,
                            std::int32_t chartHeight, std::int32_t left, std::int32_t top,
                            std::int32_t width, std::int32_t height) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    if (target == nullptr)
        return false;
    const QSize chartSize =
        chartWidth == 0 && chartHeight == 0 ? size() : QSize(chartWidth, chartHeight);
    return DrawChartOn(*target, moduleChart(*graph_), &curvexModule().data, chartSize,
                       QRect(left, top, width, height));
}

bool CCurvexCtrl::DrawReportChart(std::int32_t surfaceHandle, std::int32_t width,
                                  std::int32_t height, std::int32_t mode) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    ChartState state = graph_->chart;
    if (target == nullptr || !ChartViewMembers::setCompareMode(state, mode))
        return false;
    state.legend = true;
    const QSize size(width, height);
    return DrawChartOn(*target, moduleChart(*graph_, state), &curvexModule().data, size,
                       QRect(QPoint(0, 0), size));
}

void CCurvexCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    renderAndShow(&painter, rect());
}

void CCurvexCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resizeBitmap();
}

void CCurvexCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        startSelection(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void CCurvexCtrl::mouseMoveEvent(QMouseEvent* event) {
    trackSelection(event->buttons(), event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CCurvexCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        finishSelection(event->position().toPoint());
    QWidget::mouseReleaseEvent(event);
}

// Not passed on to QWidget: its handling of a double click delivers it once more as a press,
// which would start a drag.
void CCurvexCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        showWholeRange();
}

void CCurvexCtrl::wheelEvent(QWheelEvent* event) {
    if (!navigateByWheel(*event))
        QWidget::wheelEvent(event);
}

void CCurvexCtrl::keyPressEvent(QKeyEvent* event) {
    if (!navigateByKey(*event))
        QWidget::keyPressEvent(event);
}

void CCurvexCtrl::leaveEvent(QEvent* event) {
    clearReadOut();
    QWidget::leaveEvent(event);
}

void CCurvexCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (!firstDroppedFile(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CCurvexCtrl::dropEvent(QDropEvent* event) {
    if (takeDroppedFile(*event->mimeData()))
        event->acceptProposedAction();
}

void CCurvexCtrl::renderAndShow(QPainter* screen, const QRect& bounds) {
    ++paintCount_;
    graph_->chart.height = std::abs(bounds.height());
    graph_->chart.width = std::abs(bounds.width());
    ensureBitmap();
    if (viewRenewal_) {
        graph_->took(DrawGraph(*bitmap_, moduleChart(*graph_), &curvexModule().data));
        navigation_.history().rendered(graph_->chart.shown);
        readOut_.rendered(curvexModule().data);
        if (screen) {
            screen->drawImage(bounds.topLeft(), *bitmap_, bounds);
            readOut_.draw(*screen, moduleChart(*graph_), curvexModule().data);
        }
        FireReDrawed(graph_->chart.shown, graph_->drawn.distMax);
        // A paint while a load runs shows the data there is; the new data still needs a render.
        viewRenewal_ = load_ != nullptr;
        return;
    }
    if (screen == nullptr)
        return;
    screen->drawImage(bounds.topLeft(), *bitmap_, bounds);
    readOut_.draw(*screen, moduleChart(*graph_), curvexModule().data);
    if (curvexModule().selection.selActive)
        drawRubberBand(*screen);
}

void CCurvexCtrl::resizeBitmap() {
    bitmap_.reset();
    ensureBitmap();
}

void CCurvexCtrl::startSelection(const QPoint& point) {
    clearReadOut();
    SelectionState& selection = curvexModule().selection;
    selection.selAnchorPercent =
        PercentAtX(graph_->chart, graph_->drawn, curvexModule().data.hasData(), point.x());
    if (IsPercentInRange(selection.selAnchorPercent)) {
        selection.selActive = 1;
        selection.selAnchor = {point.x(), point.y()};
    }
}

void CCurvexCtrl::trackSelection(Qt::MouseButtons buttons, const QPoint& point) {
    const QRect windowRect(mapToGlobal(QPoint(0, 0)), size());
    const QPoint screenPoint = mapToGlobal(point);
    if (!mouseCaptured_) {
        grabMouse();
        mouseCaptured_ = true;
    }
    SelectionState& selection = curvexModule().selection;
    if (windowRect.contains(screenPoint)) {
        if (selection.selActive && (buttons & Qt::LeftButton)) {
            selection.selCurrent = {point.x(), point.y()};
            repaintLater();
        }
        if (buttons == Qt::NoButton)
            readOutAt(point);
        return;
    }
    releaseCapture();
    selection.selActive = 0;
    clearReadOut();
    repaintLater();
}

void CCurvexCtrl::finishSelection(const QPoint& point) {
    SelectionState& selection = curvexModule().selection;
    if (!selection.selActive)
        return;
    selection.selActive = 0;
    selection.selCurrent = {point.x(), point.y()};
    const qint64 dx = point.x() - selection.selAnchor.x;
    const qint64 dy = point.y() - selection.selAnchor.y;
    if (dx * dx + dy * dy <= 0)
        return;
    selection.selEndPercent =
        PercentAtX(graph_->chart, graph_->drawn, curvexModule().data.hasData(), point.x());
    ApplySelectedWindow(graph_->chart, selection.selAnchorPercent, selection.selEndPercent);
    toolpath_->followShownRange();
    viewRenewal_ = true;
    repaintLater();
}

void CCurvexCtrl::showWholeRange() {
    // The press that completes a double click arrives before it; it starts no drag.
    curvexModule().selection.selActive = 0;
    showRange(ShownRange{});
}

bool CCurvexCtrl::takeDroppedFile(const QMimeData& drop) {
    const QString path = firstDroppedFile(drop);
    if (path.isEmpty())
        return false;
    droppedFile_ = QFile::encodeName(path).toStdString();
    FireFileDroped();
    return true;
}

bool CCurvexCtrl::navigateByWheel(const QWheelEvent& event) {
    const auto range = navigation_.wheel(event, *graph_, curvexModule().data);
    if (range)
        showRange(*range);
    return curvexModule().data.hasData();
}

bool CCurvexCtrl::navigateByKey(const QKeyEvent& event) {
    if (!ChartNavigation::isNavigationKey(event))
        return false;
    if (const auto range = navigation_.key(event, *graph_, curvexModule().data))
        showRange(*range);
    return true;
}

// The path a finished drag takes: the next paint renders the range and fires ReDrawed. The
// toolpath emphasises the records of the new range.
void CCurvexCtrl::showRange(const ShownRange& range) {
    graph_->chart.shown = range;
    toolpath_->followShownRange();
    viewRenewal_ = true;
    repaintLater();
}

void CCurvexCtrl::readOutAt(const QPoint& point) {
    const CurvexModule& module = curvexModule();
    if (!module.data.hasData() || viewRenewal_)
        return;
    if (!readOut_.pointAt(point.x(), moduleChart(*graph_), module.data))
        return;
    if (readOut_.marked())
        FireReadOut();
    else
        FireReadOutCleared();
    repaintLater();
}

void CCurvexCtrl::clearReadOut() {
    if (!readOut_.clear())
        return;
    FireReadOutCleared();
    repaintLater();
}

// The bitmap follows the widget's size also while it is hidden, when Qt holds the resize event
// back until the widget is shown.
void CCurvexCtrl::ensureBitmap() {
    if (bitmap_ && bitmap_->size() == size())
        return;
    bitmap_ = std::make_unique<QImage>(size(), QImage::Format_RGB32);
    bitmap_->fill(curvex::toQColor(graph_->chart.backColour));
}

void CCurvexCtrl::drawRubberBand(QPainter& screen) const {
    const SelectionState& selection = curvexModule().selection;
    const int left = std::min(selection.selAnchor.x, selection.selCurrent.x);
    const int right = std::max(selection.selAnchor.x, selection.selCurrent.x);
    const int top = std::min(selection.selAnchor.y, selection.selCurrent.y);
    const int bottom = std::max(selection.selAnchor.y, selection.selCurrent.y);
    if (right - left < 1 || bottom - top < 1)
        return;
    // The outline covers left..right-1 and top..bottom-1, as a rectangle with exclusive right
    // and bottom edges does.
    screen.save();
    screen.setRenderHint(QPainter::Antialiasing, false);
    screen.setPen(QPen(curvex::toQColor(kRubberBandColour), 0));
    screen.setBrush(Qt::NoBrush);
    screen.drawRect(QRect(left, top, right - 1 - left, bottom - 1 - top));
    screen.restore();
}

void CCurvexCtrl::releaseCapture() {
    if (mouseCaptured_)
        releaseMouse();
    mouseCaptured_ = false;
}

void CCurvexCtrl::FireReDrawed(ShownRange shown, float distMax) {
    if (sink_)
        sink_->onEvent(curvex::EventReDrawed,
                       {QVariant(shown.lower), QVariant(shown.upper), QVariant(distMax)});
}

void CCurvexCtrl::FireReadOut() {
    const CurvexModule& module = curvexModule();
    const QVariantList record = readOut_.describe(moduleChart(*graph_), module.data);
    if (sink_ && !record.isEmpty())
        sink_->onEvent(curvex::EventReadOut, record);
}

void CCurvexCtrl::FireReadOutCleared() {
    if (sink_)
        sink_->onEvent(curvex::EventReadOutCleared, {});
}

// Once per map of the data at hand: a map made for data or a program since replaced is no news.
void CCurvexCtrl::FireNcProgramRead() {
    if (sink_ && program_.newlyReady(curvexModule().data))
        sink_->onEvent(curvex::EventNcProgramRead, {});
}

void CCurvexCtrl::FireFileDroped() {
    if (sink_)
        sink_->onEvent(curvex::EventFileDroped, {});
}

void CCurvexCtrl::FireLoadProgress(int percent) {
    if (sink_)
        sink_->onEvent(curvex::EventLoadProgress, {QVariant(percent)});
}

void CCurvexCtrl::FireLoadEnded(bool cancelled) {
    if (sink_)
        sink_->onEvent(curvex::EventLoadEnded, {QVariant(cancelled)});
}
