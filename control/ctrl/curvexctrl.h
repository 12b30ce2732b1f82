#pragma once

#include "changeruns.h"
#include "chartnavigation.h"
#include "chartreadout.h"
#include "chartviewmembers.h"
#include "curvexmodule.h"
#include "cutgraph.h"
#include "dispatch.h"
#include "machiningtime.h"
#include "programlink.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QMimeData;
class ResponsiveLoad;
class ToolpathControl;

// The graph control: a widget that shows the chart of the module's data set, lets the user
// narrow the shown range with the mouse, and is driven by its host through dispatch identifiers.
class CCurvexCtrl : public QWidget, public component::ControlObject {
public:
    explicit CCurvexCtrl(QWidget* parent);
    ~CCurvexCtrl() override;
    CCurvexCtrl(const CCurvexCtrl&) = delete;
    CCurvexCtrl& operator=(const CCurvexCtrl&) = delete;

    // Controls alive in this library.
    static int instanceCount();

    // component::ControlObject
    QWidget* widget() override { return this; }
    void advise(component::EventSink* sink) override { sink_ = sink; }
    component::InvokeResult invoke(int dispid, component::InvokeKind kind, QVariantList& args,
                                   QVariant* result) override;
    void saveProperties(QVariantMap& bag) override;
    void loadProperties(const QVariantMap& bag) override;

    // The automation interface, in dispatch order.
    bool viewRenewal() const { return viewRenewal_; }
    void setViewRenewal(bool renew) { viewRenewal_ = renew; }
    std::int32_t distanceMode() const { return graph_->chart.distanceMode; }
    void setDistanceMode(std::int32_t mode);
    bool SetDistArea(float& lowerPercent, float& upperPercent);
    bool GetDistArea(float& lowerPercent, float& uperPercent) const;
    bool LoadCutData(const std::string& fileName, std::int32_t typeTextFlg);
    void SetIniFileName(const std::string& iniFileName);
    void SetDrawMode(std::int32_t drawMode);
    std::int32_t GetDrawMode() const { return graph_->drawModeMask; }
    std::int32_t GetGraphColor(std::int32_t colorNo) const;
    void SetGraphColor(std::int32_t colorRef, std::int32_t colorNo);
    void SetG00feed(float g00Feed);
    float GetG00feed() const { return graph_->chart.g00Feed; }
    void LostCapture();
    std::int32_t GetBmpSize(std::int16_t& width, std::int16_t& height);
    void OutputPrinter(std::int32_t surfaceHandle, std::int32_t ptrWidth, std::int32_t ptrHeight);
    std::int32_t GetOcxVersion() const;
    QString GetStrBuffer() const;
    void OcxUnRegist();
    void CancelLoad();
    std::int32_t GetToolRowCount() const;
    QVariant GetToolRow(std::int32_t index) const;
    QVariant GetTotalRow() const;
    QVariant GetShownRow() const;
    // The air cutting of a tool row, of the whole data and of the shown range.
    QVariant GetToolAirRow(std::int32_t index) const;
    QVariant GetTotalAirRow() const;
    QVariant GetShownAirRow() const;
    void Refresh();
    ColorRef backColor() const { return backColor_; }
    void setBackColor(ColorRef colour);
    ColorRef foreColor() const { return foreColor_; }
    void setForeColor(ColorRef colour);
    void AboutBox();
    QString GetLoadError() const;
    bool GoToBlock(std::int32_t blockNo);
    bool MarkRecord(std::int32_t index);
    // The largest change runs of a curvex::ChangeKind; FALSE for another kind or a negative top.
    QVariant GetChanges(std::int32_t kind, std::int32_t top);
    // Shows records first..last with a tenth of their width either side and marks the first; the
    // toolpath emphasises exactly those records until the shown range changes by other means.
    bool ShowRecords(std::int32_t first, std::int32_t last);
    bool SetCompareMode(std::int32_t mode) {
        return viewChanged(ChartViewMembers::setCompareMode(graph_->chart, mode));
    }
    std::int32_t GetCompareMode() const {
        return static_cast<std::int32_t>(graph_->chart.compareMode);
    }
    bool SetChartOption(std::int32_t option, bool on) {
        return viewChanged(ChartViewMembers::setOption(graph_->chart, option, on));
    }
    bool GetChartOption(std::int32_t option) const {
        return ChartViewMembers::option(graph_->chart, option);
    }
    QVariant GetReadOutPlace();
    // The time axis: a TimeAxisMode; FALSE for any other mode. Switching it keeps the records
    // shown.
    bool SetTimeAxis(std::int32_t mode);
    std::int32_t GetTimeAxis() const { return static_cast<std::int32_t>(graph_->chart.timeAxis); }
    // The NC program beside the data and the peaks of the chart (see ProgramLink).
    bool LoadNcProgram(const std::string& fileName) {
        return program_.load(fileName, curvexModule().data);
    }
    void CloseNcProgram() { program_.close(); }
    QString GetNcProgramFile() const { return program_.fileName(); }
    std::int32_t GetNcLineCount() { return program_.lineCount(curvexModule().data); }
    std::int32_t GetRecordLine(std::int32_t index) {
        return program_.lineOf(curvexModule().data, index);
    }
    std::int32_t GetLineRecord(std::int32_t line, std::int32_t from) {
        return program_.recordOn(curvexModule().data, line, from);
    }
    std::int32_t GetLineRecordCount(std::int32_t line) {
        return program_.recordCountOn(curvexModule().data, line);
    }
    QVariant GetPeaks() { return program_.peaks(curvexModule().data, moduleChart(*graph_)); }
    QVariant GetToolPeaks(std::int32_t perTool) {
        return program_.toolPeaks(curvexModule().data, moduleChart(*graph_), perTool);
    }
    // The chart as shown, laid out at chartWidth x chartHeight (0 x 0: the control's size) and
    // drawn into left, top, width x height of the surface (see DrawChartOn).
    bool DrawChart(std::int32_t surfaceHandle, std::int32_t chartWidth, std::int32_t chartHeight,
                   std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    bool DrawToolpath(std::int32_t surfaceHandle, std::int32_t width, std::int32_t height);
    bool DrawToolpathDraft(std::int32_t surfaceHandle, std::int32_t width, std::int32_t height);
    bool DrawReportToolpath(std::int32_t surfaceHandle, std::int32_t width, std::int32_t height);
    // The report's pictures of where the optimisation acted: the chart of the shown range with
    // its legend in a CompareMode, the report's toolpath in a ToolpathColourMode.
    bool DrawReportChart(std::int32_t surfaceHandle, std::int32_t width, std::int32_t height,
                         std::int32_t mode);
    bool DrawColouredReportToolpath(std::int32_t surfaceHandle, std::int32_t width,
                                    std::int32_t height, std::int32_t colours);
    bool SetToolpathView(std::int32_t view);
    bool SetToolpathColour(std::int32_t mode);
    std::int32_t PickToolpath(float x, float y);
    bool OrbitToolpath(float degrees, float tilt);
    bool MoveToolpath(float factor, float x, float y, float dx, float dy);
    std::int32_t GetToolpathLeftOut();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void renderAndShow(QPainter* screen, const QRect& bounds);
    void resizeBitmap();
    void startSelection(const QPoint& point);
    void trackSelection(Qt::MouseButtons buttons, const QPoint& point);
    void finishSelection(const QPoint& point);
    void showWholeRange();
    bool takeDroppedFile(const QMimeData& drop);
    bool navigateByWheel(const QWheelEvent& event);
    bool navigateByKey(const QKeyEvent& event);
    void showRange(const ShownRange& range);
    // Makes `change` to the horizontal quantity (time axis or G00 feed) and moves the shown range
    // to the records it showed before; the history's ranges were of the other quantity.
    template <class Change> void keepShownRecords(Change change);
    // Where record `index` lies along the horizontal axis, in percent of the whole.
    float percentAlong(const CutDataSet& data, std::uint32_t index) const;
    // Centres record `index` in a shown range widthPercent wide and marks it.
    void markAndShow(std::uint32_t index, float widthPercent);
    // Shows `range` and marks record `index` in it; the toolpath emphasises `emphasised`, else the
    // records of the range.
    void showAndMark(const ShownRange& range, std::uint32_t index,
                     std::optional<RecordRange> emphasised = std::nullopt);
    void readOutAt(const QPoint& point);
    void clearReadOut();

    void ensureBitmap();
    void drawRubberBand(QPainter& screen) const;
    void releaseCapture();
    void repaintLater() { update(); }
    bool viewChanged(bool changed) {
        if (changed)
            repaintLater();
        return changed;
    }
    void FireReDrawed(ShownRange shown, float distMax);
    void FireFileDroped();
    void FireLoadProgress(int percent);
    void FireLoadEnded(bool cancelled);
    void FireReadOut();
    void FireReadOutCleared();
    void FireNcProgramRead();

    std::unique_ptr<CCutGraph> graph_;
    // The off-screen chart; the painter that draws into it lives for one render.
    std::unique_ptr<QImage> bitmap_;
    std::string droppedFile_;
    std::string loadError_;
    ChartNavigation navigation_;
    ChartReadOut readOut_;
    ChartViewMembers views_;
    ProgramLink program_;
    ChangeRunCache changes_;
    bool viewRenewal_ = true;
    bool mouseCaptured_ = false;
    ColorRef backColor_ = 0xFFFFFF;
    ColorRef foreColor_ = 0x000000;
    component::EventSink* sink_ = nullptr;
    // Paints that reached renderAndShow; tells Refresh whether the window system painted at all.
    std::uint64_t paintCount_ = 0;
    std::unique_ptr<ToolpathControl> toolpath_;
    // The load that is running, while LoadCutData waits for it.
    ResponsiveLoad* load_ = nullptr;
};
