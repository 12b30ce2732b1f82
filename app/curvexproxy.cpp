#include "curvexproxy.h"

#include "curvexids.h"

using component::InvokeKind;

QVariant CurvexProxy::call(int dispid, InvokeKind kind, QVariantList& args) {
    return tryCall(dispid, kind, args).value_or(QVariant());
}

std::optional<QVariant> CurvexProxy::tryCall(int dispid, InvokeKind kind, QVariantList& args) {
    QVariant result;
    if (mTarget.invoke(dispid, kind, args, &result) != component::InvokeResult::Ok)
        return std::nullopt;
    return result;
}

namespace {

QVariantList noArgs() {
    return {};
}

// A member's result converted, or nothing when the control lacks the member.
template <typename Convert>
auto converted(std::optional<QVariant> result, Convert convert)
    -> std::optional<decltype(convert(QVariant()))> {
    if (!result)
        return std::nullopt;
    return convert(*result);
}

bool asBool(const QVariant& value) {
    return value.toBool();
}

std::int32_t asLong(const QVariant& value) {
    return value.toInt();
}

QVariantList asList(const QVariant& value) {
    return value.toList();
}

QString asString(const QVariant& value) {
    return value.toString();
}

} // namespace

void CurvexProxy::setViewRenewal(bool value) {
    QVariantList args{value};
    call(curvex::DispViewRenewal, InvokeKind::PropertyPut, args);
}

bool CurvexProxy::viewRenewal() {
    auto args = noArgs();
    return call(curvex::DispViewRenewal, InvokeKind::PropertyGet, args).toBool();
}

void CurvexProxy::setDistanceMode(std::int32_t mode) {
    QVariantList args{QVariant::fromValue(static_cast<short>(mode))};
    call(curvex::DispDistanceMode, InvokeKind::PropertyPut, args);
}

std::int32_t CurvexProxy::distanceMode() {
    auto args = noArgs();
    return call(curvex::DispDistanceMode, InvokeKind::PropertyGet, args).toInt();
}

bool CurvexProxy::setDistArea(float lowerPercent, float upperPercent) {
    QVariantList args{lowerPercent, upperPercent};
    return call(curvex::DispSetDistArea, InvokeKind::Method, args).toBool();
}

bool CurvexProxy::getDistArea(float& lowerPercent, float& upperPercent) {
    QVariantList args{lowerPercent, upperPercent};
    const bool ok = call(curvex::DispGetDistArea, InvokeKind::Method, args).toBool();
    lowerPercent = args.value(0).toFloat();
    upperPercent = args.value(1).toFloat();
    return ok;
}

bool CurvexProxy::loadCutData(const QString& fileName, CutFormat format) {
    QVariantList args{fileName, curvex::typeTextFlag(format)};
    return call(curvex::DispLoadCutData, InvokeKind::Method, args).toBool();
}

void CurvexProxy::setIniFileName(const QString& iniFileName) {
    QVariantList args{iniFileName};
    call(curvex::DispSetIniFileName, InvokeKind::Method, args);
}

void CurvexProxy::setDrawMode(std::int32_t mask) {
    QVariantList args{mask};
    call(curvex::DispSetDrawMode, InvokeKind::Method, args);
}

std::int32_t CurvexProxy::getDrawMode() {
    auto args = noArgs();
    return call(curvex::DispGetDrawMode, InvokeKind::Method, args).toInt();
}

std::int32_t CurvexProxy::getGraphColor(std::int32_t colorNo) {
    QVariantList args{colorNo};
    return call(curvex::DispGetGraphColor, InvokeKind::Method, args).toInt();
}

void CurvexProxy::setGraphColor(std::int32_t colorRef, std::int32_t colorNo) {
    QVariantList args{colorRef, colorNo};
    call(curvex::DispSetGraphColor, InvokeKind::Method, args);
}

void CurvexProxy::setG00feed(float feed) {
    QVariantList args{feed};
    call(curvex::DispSetG00feed, InvokeKind::Method, args);
}

float CurvexProxy::getG00feed() {
    auto args = noArgs();
    return call(curvex::DispGetG00feed, InvokeKind::Method, args).toFloat();
}

void CurvexProxy::lostCapture() {
    auto args = noArgs();
    call(curvex::DispLostCapture, InvokeKind::Method, args);
}

std::int32_t CurvexProxy::getBmpSize(std::int16_t& width, std::int16_t& height) {
    QVariantList args{QVariant::fromValue(static_cast<short>(width)),
                      QVariant::fromValue(static_cast<short>(height))};
    const std::int32_t result = call(curvex::DispGetBmpSize, InvokeKind::Method, args).toInt();
    width = static_cast<std::int16_t>(args.value(0).toInt());
    height = static_cast<std::int16_t>(args.value(1).toInt());
    return result;
}

void CurvexProxy::outputPrinter(std::int32_t hdc, std::int32_t width, std::int32_t height) {
    QVariantList args{hdc, width, height};
    call(curvex::DispOutputPrinter, InvokeKind::Method, args);
}

std::int32_t CurvexProxy::getOcxVersion() {
    auto args = noArgs();
    return call(curvex::DispGetOcxVersion, InvokeKind::Method, args).toInt();
}

QString CurvexProxy::getStrBuffer() {
    auto args = noArgs();
    return call(curvex::DispGetStrBuffer, InvokeKind::Method, args).toString();
}

void CurvexProxy::ocxUnRegist() {
    auto args = noArgs();
    call(curvex::DispOcxUnRegist, InvokeKind::Method, args);
}

void CurvexProxy::refresh() {
    auto args = noArgs();
    call(curvex::DispRefresh, InvokeKind::Method, args);
}

void CurvexProxy::aboutBox() {
    auto args = noArgs();
    call(curvex::DispAboutBox, InvokeKind::Method, args);
}

std::optional<QString> CurvexProxy::getLoadError() {
    return converted(callMethod(curvex::DispGetLoadError, noArgs()), asString);
}

std::optional<std::int32_t> CurvexProxy::getToolRowCount() {
    auto args = noArgs();
    const auto count = tryCall(curvex::DispGetToolRowCount, InvokeKind::Method, args);
    if (!count || !count->isValid())
        return std::nullopt;
    return count->toInt();
}

std::optional<MachiningRow> CurvexProxy::getToolRow(std::int32_t index) {
    QVariantList args{index};
    return MachiningRow::fromVariant(call(curvex::DispGetToolRow, InvokeKind::Method, args));
}

std::optional<MachiningRow> CurvexProxy::getTotalRow() {
    auto args = noArgs();
    return MachiningRow::fromVariant(call(curvex::DispGetTotalRow, InvokeKind::Method, args));
}

std::optional<MachiningRow> CurvexProxy::getShownRow() {
    auto args = noArgs();
    return MachiningRow::fromVariant(call(curvex::DispGetShownRow, InvokeKind::Method, args));
}

std::optional<AirRow> CurvexProxy::getToolAirRow(std::int32_t index) {
    QVariantList args{index};
    return AirRow::fromVariant(call(curvex::DispGetToolAirRow, InvokeKind::Method, args));
}

std::optional<AirRow> CurvexProxy::getTotalAirRow() {
    auto args = noArgs();
    return AirRow::fromVariant(call(curvex::DispGetTotalAirRow, InvokeKind::Method, args));
}

std::optional<AirRow> CurvexProxy::getShownAirRow() {
    auto args = noArgs();
    return AirRow::fromVariant(call(curvex::DispGetShownAirRow, InvokeKind::Method, args));
}

std::optional<bool> CurvexProxy::goToBlock(std::int32_t blockNo) {
    return longQuery(curvex::DispGoToBlock, blockNo);
}

std::optional<bool> CurvexProxy::markRecord(std::int32_t index) {
    return longQuery(curvex::DispMarkRecord, index);
}

std::optional<bool> CurvexProxy::setCompareMode(curvex::CompareMode mode) {
    return longQuery(curvex::DispSetCompareMode, static_cast<std::int32_t>(mode));
}

std::optional<bool> CurvexProxy::setTimeAxis(curvex::TimeAxisMode mode) {
    return longQuery(curvex::DispSetTimeAxis, static_cast<std::int32_t>(mode));
}

std::optional<std::int32_t> CurvexProxy::getTimeAxis() {
    return converted(callMethod(curvex::DispGetTimeAxis, noArgs()), asLong);
}

std::optional<bool> CurvexProxy::setChartOption(curvex::ChartOption option, bool on) {
    return converted(
        callMethod(curvex::DispSetChartOption, {static_cast<std::int32_t>(option), on ? -1 : 0}),
        asBool);
}

std::optional<bool> CurvexProxy::getChartOption(curvex::ChartOption option) {
    return longQuery(curvex::DispGetChartOption, static_cast<std::int32_t>(option));
}

std::optional<std::int32_t> CurvexProxy::getCompareMode() {
    return converted(callMethod(curvex::DispGetCompareMode, noArgs()), asLong);
}

std::optional<QVariantList> CurvexProxy::getReadOutPlace() {
    auto args = noArgs();
    const auto result = tryCall(curvex::DispGetReadOutPlace, InvokeKind::Method, args);
    if (!result || result->toList().size() != 3)
        return std::nullopt;
    return result->toList();
}

std::optional<bool> CurvexProxy::loadNcProgram(const QString& fileName) {
    return converted(callMethod(curvex::DispLoadNcProgram, {fileName}), asBool);
}

std::optional<QString> CurvexProxy::getNcProgramFile() {
    return converted(callMethod(curvex::DispGetNcProgramFile, noArgs()), asString);
}

std::optional<std::int32_t> CurvexProxy::getRecordLine(std::int32_t index) {
    return converted(callMethod(curvex::DispGetRecordLine, {index}), asLong);
}

std::optional<std::int32_t> CurvexProxy::getLineRecord(std::int32_t line, std::int32_t from) {
    return converted(callMethod(curvex::DispGetLineRecord, {line, from}), asLong);
}

std::optional<QVariantList> CurvexProxy::getPeaks() {
    return converted(callMethod(curvex::DispGetPeaks, noArgs()), asList);
}

std::optional<QVariantList> CurvexProxy::getToolPeaks(std::int32_t perTool) {
    return converted(callMethod(curvex::DispGetToolPeaks, {perTool}), asList);
}

std::optional<QVariantList> CurvexProxy::getChanges(curvex::ChangeKind kind, std::int32_t top) {
    return converted(callMethod(curvex::DispGetChanges, {static_cast<std::int32_t>(kind), top}),
                     asList);
}

std::optional<bool> CurvexProxy::showRecords(std::int32_t first, std::int32_t last) {
    return converted(callMethod(curvex::DispShowRecords, {first, last}), asBool);
}

std::optional<bool> CurvexProxy::longQuery(int dispid, std::int32_t value) {
    return converted(callMethod(dispid, {value}), asBool);
}

std::optional<bool> CurvexProxy::drawChart(std::int32_t hdc, QSize chart, const QRect& target) {
    return converted(
        callMethod(curvex::DispDrawChart, {hdc, chart.width(), chart.height(), target.left(),
                                           target.top(), target.width(), target.height()}),
        asBool);
}

std::optional<bool> CurvexProxy::drawReportChart(std::int32_t hdc, QSize size,
                                                 curvex::CompareMode mode) {
    return converted(callMethod(curvex::DispDrawReportChart, {hdc, size.width(), size.height(),
                                                              static_cast<std::int32_t>(mode)}),
                     asBool);
}

bool CurvexProxy::hasMethod(int dispid) {
    QVariantList none;
    return mTarget.invoke(dispid, InvokeKind::Method, none, nullptr) !=
           component::InvokeResult::MemberNotFound;
}

std::optional<QVariant> CurvexProxy::callMethod(int dispid, QVariantList args) {
    return tryCall(dispid, InvokeKind::Method, args);
}
