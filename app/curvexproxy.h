#pragma once

#include "curvexids.h"
#include "cutformat.h"
#include "dispatch.h"
#include "machiningrow.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

// The host's typed view of the graph control: every method is one late-bound call by dispatch
// identifier (curvexids.h), so call sites read like the control's interface.
class CurvexProxy {
public:
    explicit CurvexProxy(component::DispatchObject& target) : mTarget(target) {}

    void setViewRenewal(bool value);
    bool viewRenewal();
    void setDistanceMode(std::int32_t mode);
    std::int32_t distanceMode();
    bool setDistArea(float lowerPercent, float upperPercent);
    bool getDistArea(float& lowerPercent, float& upperPercent);
    bool loadCutData(const QString& fileName, CutFormat format);
    void setIniFileName(const QString& iniFileName);
    void setDrawMode(std::int32_t mask);
    std::int32_t getDrawMode();
    std::int32_t getGraphColor(std::int32_t colorNo);
    // The colour reference first, the colour number second, as the control takes them.
    void setGraphColor(std::int32_t colorRef, std::int32_t colorNo);
    void setG00feed(float feed);
    float getG00feed();
    void lostCapture();
    std::int32_t getBmpSize(std::int16_t& width, std::int16_t& height);
    void outputPrinter(std::int32_t hdc, std::int32_t width, std::int32_t height);
    // The chart as shown, laid out at `chart` (0 x 0: the control's size) and drawn into
    // `target` of the surface `hdc`: whether it was drawn, or nothing when the control has no
    // such member (an older control).
    std::optional<bool> drawChart(std::int32_t hdc, QSize chart, const QRect& target);
    // The chart of the shown range as a report shows it, with its legend, in compare mode `mode`,
    // laid out at `size` and drawn onto `hdc`; the view the user sees stays as it is. Nothing
    // from a control without the member.
    std::optional<bool> drawReportChart(std::int32_t hdc, QSize size, curvex::CompareMode mode);
    std::int32_t getOcxVersion();
    QString getStrBuffer();
    void ocxUnRegist();
    void refresh();
    void aboutBox();
    // The reason of the last failed load; nothing from a control without the member.
    std::optional<QString> getLoadError();
    // The machining times; nothing from a control without these members.
    std::optional<std::int32_t> getToolRowCount();
    std::optional<MachiningRow> getToolRow(std::int32_t index);
    std::optional<MachiningRow> getTotalRow();
    std::optional<MachiningRow> getShownRow();
    // The air cutting of the same rows; nothing from a control without these members.
    std::optional<AirRow> getToolAirRow(std::int32_t index);
    std::optional<AirRow> getTotalAirRow();
    std::optional<AirRow> getShownAirRow();
    // Whether a record has that block number (the chart then shows it); nothing from a control
    // without the member.
    std::optional<bool> goToBlock(std::int32_t blockNo);
    std::optional<bool> markRecord(std::int32_t index);
    // The views a user switches on: FALSE for a value the control does not take, empty when it
    // lacks the member.
    std::optional<bool> setCompareMode(curvex::CompareMode mode);
    std::optional<std::int32_t> getCompareMode();
    std::optional<bool> setTimeAxis(curvex::TimeAxisMode mode);
    std::optional<std::int32_t> getTimeAxis();
    std::optional<bool> setChartOption(curvex::ChartOption option, bool on);
    std::optional<bool> getChartOption(curvex::ChartOption option);
    // The marked record's position and elapsed programmed and optimised seconds; empty when the
    // control lacks the member or marks no record.
    std::optional<QVariantList> getReadOutPlace();
    // Whether the control has method `dispid`, which must take arguments: it is asked without
    // any, which such a member refuses without running.
    bool hasMethod(int dispid);
    // Any method by its dispatch identifier: its result, or nothing when the control lacks it.
    std::optional<QVariant> callMethod(int dispid, QVariantList args);
    // The NC program beside the data; nothing from a control without these members.
    std::optional<bool> loadNcProgram(const QString& fileName);
    // The program's file name, empty without a program.
    std::optional<QString> getNcProgramFile();
    std::optional<std::int32_t> getRecordLine(std::int32_t index);
    std::optional<std::int32_t> getLineRecord(std::int32_t line, std::int32_t from);
    // The rows of the chart's peaks (curvex::PeakField); nothing without the member.
    std::optional<QVariantList> getPeaks();
    std::optional<QVariantList> getToolPeaks(std::int32_t perTool);
    // The rows of the largest change runs of a kind (curvex::ChangeField); nothing without the
    // member.
    std::optional<QVariantList> getChanges(curvex::ChangeKind kind, std::int32_t top);
    // Shows the records first..last and marks the first; nothing without the member.
    std::optional<bool> showRecords(std::int32_t first, std::int32_t last);

private:
    QVariant call(int dispid, component::InvokeKind kind, QVariantList& args);
    // The result, or nothing when the control does not answer the call.
    std::optional<QVariant> tryCall(int dispid, component::InvokeKind kind, QVariantList& args);
    // A method of one long argument answering TRUE or FALSE; empty when the control lacks it.
    std::optional<bool> longQuery(int dispid, std::int32_t value);

    component::DispatchObject& mTarget;
};
