#include "curvexdispatch.h"

#include "curvexctrl.h"
#include "curvexids.h"
#include "filenametext.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

namespace {

using component::InvokeKind;
using component::InvokeResult;
using namespace curvex;

// Numbers arrive as any numeric QVariant; a long takes the low 32 bits of values that fit in
// either a signed or an unsigned 32-bit number.
std::optional<std::int32_t> toLong(const QVariant& value) {
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() ||
        number > static_cast<qlonglong>(std::numeric_limits<std::uint32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<float> toFloat(const QVariant& value) {
    bool ok = false;
    const float number = value.toFloat(&ok);
    return ok ? std::optional<float>(number) : std::nullopt;
}

std::optional<std::string> toAnsiString(const QVariant& value) {
    if (!value.canConvert<QString>())
        return std::nullopt;
    return fileNameBytes(value.toString()).toStdString();
}

void setResult(QVariant* result, const QVariant& value) {
    if (result)
        *result = value;
}

struct Call {
    CCurvexCtrl& control;
    QVariantList& args;
    QVariant* result;
};

using Handler = InvokeResult (*)(Call&);

struct Member {
    int dispid;
    InvokeKind kind;
    int parameterCount;
    Handler handler;
};

// A property or method without a result that takes one long.
template <class T, void (CCurvexCtrl::*Setter)(T)> InvokeResult putLong(Call& call) {
    const auto value = toLong(call.args[0]);
    if (!value)
        return InvokeResult::TypeMismatch;
    (call.control.*Setter)(static_cast<T>(*value));
    return InvokeResult::Ok;
}

template <void (CCurvexCtrl::*Setter)(float)> InvokeResult putFloat(Call& call) {
    const auto value = toFloat(call.args[0]);
    if (!value)
        return InvokeResult::TypeMismatch;
    (call.control.*Setter)(*value);
    return InvokeResult::Ok;
}

// A property get or a method without parameters that has a result.
template <auto Getter> InvokeResult get(Call& call) {
    setResult(call.result, QVariant::fromValue((call.control.*Getter)()));
    return InvokeResult::Ok;
}

// A method without parameters and result.
template <void (CCurvexCtrl::*Method)()> InvokeResult run(Call& call) {
    (call.control.*Method)();
    return InvokeResult::Ok;
}

InvokeResult setDistArea(Call& call) {
    auto lower = toFloat(call.args[0]);
    auto upper = toFloat(call.args[1]);
    if (!lower || !upper)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.SetDistArea(*lower, *upper));
    call.args[0] = *lower;
    call.args[1] = *upper;
    return InvokeResult::Ok;
}

InvokeResult getDistArea(Call& call) {
    float lower = 0.0f;
    float upper = 0.0f;
    setResult(call.result, call.control.GetDistArea(lower, upper));
    call.args[0] = lower;
    call.args[1] = upper;
    return InvokeResult::Ok;
}

InvokeResult loadCutData(Call& call) {
    const auto fileName = toAnsiString(call.args[0]);
    const auto textFlag = toLong(call.args[1]);
    if (!fileName || !textFlag)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.LoadCutData(*fileName, *textFlag));
    return InvokeResult::Ok;
}

// A method of one long argument that answers TRUE or FALSE.
template <bool (CCurvexCtrl::*method)(std::int32_t)> InvokeResult longQuery(Call& call) {
    const auto value = toLong(call.args[0]);
    if (!value)
        return InvokeResult::TypeMismatch;
    setResult(call.result, (call.control.*method)(*value));
    return InvokeResult::Ok;
}

// A method of one long argument with a result.
template <auto Method> InvokeResult longCall(Call& call) {
    const auto value = toLong(call.args[0]);
    if (!value)
        return InvokeResult::TypeMismatch;
    setResult(call.result, QVariant::fromValue((call.control.*Method)(*value)));
    return InvokeResult::Ok;
}

InvokeResult getLineRecord(Call& call) {
    const auto line = toLong(call.args[0]);
    const auto from = toLong(call.args[1]);
    if (!line || !from)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.GetLineRecord(*line, *from));
    return InvokeResult::Ok;
}

InvokeResult loadNcProgram(Call& call) {
    const auto fileName = toAnsiString(call.args[0]);
    if (!fileName)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.LoadNcProgram(*fileName));
    return InvokeResult::Ok;
}

InvokeResult setIniFileName(Call& call) {
    const auto fileName = toAnsiString(call.args[0]);
    if (!fileName)
        return InvokeResult::TypeMismatch;
    call.control.SetIniFileName(*fileName);
    return InvokeResult::Ok;
}

InvokeResult getGraphColor(Call& call) {
    const auto colorNo = toLong(call.args[0]);
    if (!colorNo)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.GetGraphColor(*colorNo));
    return InvokeResult::Ok;
}

// The type library names the parameters lColorNo, ulColorRef; the first is the colour reference.
InvokeResult setGraphColor(Call& call) {
    const auto colorRef = toLong(call.args[0]);
    const auto colorNo = toLong(call.args[1]);
    if (!colorRef || !colorNo)
        return InvokeResult::TypeMismatch;
    call.control.SetGraphColor(*colorRef, *colorNo);
    return InvokeResult::Ok;
}

InvokeResult getBmpSize(Call& call) {
    std::int16_t width = 0;
    std::int16_t height = 0;
    setResult(call.result, call.control.GetBmpSize(width, height));
    call.args[0] = QVariant::fromValue(width);
    call.args[1] = QVariant::fromValue(height);
    return InvokeResult::Ok;
}

InvokeResult getToolRow(Call& call) {
    const auto index = toLong(call.args[0]);
    if (!index)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.GetToolRow(*index));
    return InvokeResult::Ok;
}

// A method of two long arguments with a result.
template <auto Method> InvokeResult twoLongCall(Call& call) {
    const auto first = toLong(call.args[0]);
    const auto second = toLong(call.args[1]);
    if (!first || !second)
        return InvokeResult::TypeMismatch;
    setResult(call.result, QVariant::fromValue((call.control.*Method)(*first, *second)));
    return InvokeResult::Ok;
}

InvokeResult setChartOption(Call& call) {
    const auto option = toLong(call.args[0]);
    const auto on = toLong(call.args[1]);
    if (!option || !on)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.SetChartOption(*option, *on != 0));
    return InvokeResult::Ok;
}

InvokeResult getChartOption(Call& call) {
    const auto option = toLong(call.args[0]);
    if (!option)
        return InvokeResult::TypeMismatch;
    setResult(call.result, call.control.GetChartOption(*option));
    return InvokeResult::Ok;
}

InvokeResult outputPrinter(Call& call) {
    const auto surface = toLong(call.args[0]);
    const auto width = toLong(call.args[1]);
    const auto height = toLong(call.args[2]);
    if (!surface || !width || !height)
        return InvokeResult::TypeMismatch;
    call.control.OutputPrinter(*surface, *width, *height);
    return InvokeResult::Ok;
}

// The first `N` arguments as longs; none when one is not a number.
template <std::size_t N> std::optional<std::array<std::int32_t, N>> longsOf(const Call& call) {
    std::array<std::int32_t, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = toLong(call.args[static_cast<int>(i)]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return values;
}

InvokeResult drawChart(Call& call) {
    const auto values = longsOf<7>(call);
    if (!values)
        return InvokeResult::TypeMismatch;
    const auto& v = *values;
    setResult(call.result, call.control.DrawChart(v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
    return InvokeResult::Ok;
}

// Draws onto a surface at a size: (surface, width, height).
template <bool (CCurvexCtrl::*method)(std::int32_t, std::int32_t, std::int32_t)>
InvokeResult drawAtSize(Call& call) {
    const auto surface = toLong(call.args[0]);
    const auto width = toLong(call.args[1]);
    const auto height = toLong(call.args[2]);
    if (!surface || !width || !height)
        return InvokeResult::TypeMismatch;
    setResult(call.result, (call.control.*method)(*surface, *width, *height));
    return InvokeResult::Ok;
}

// Draws onto a surface at a size in a way: (surface, width, height, mode).
template <bool (CCurvexCtrl::*method)(std::int32_t, std::int32_t, std::int32_t, std::int32_t)>
InvokeResult drawAtSizeIn(Call& call) {
    const auto values = longsOf<4>(call);
    if (!values)
        return InvokeResult::TypeMismatch;
    const auto& v = *values;
    setResult(call.result, (call.control.*method)(v[0], v[1], v[2], v[3]));
    return InvokeResult::Ok;
}

// A method of `N` float arguments with a result.
template <std::size_t N, auto Method> InvokeResult floatsMethod(Call& call) {
    std::array<float, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = toFloat(call.args[static_cast<int>(i)]);
        if (!value)
            return InvokeResult::TypeMismatch;
        values[i] = *value;
    }
    setResult(call.result, QVariant::fromValue(std::apply(
                               [&](auto... v) { return (call.control.*Method)(v...); }, values)));
    return InvokeResult::Ok;
}

constexpr InvokeKind kMethod = InvokeKind::Method;
constexpr InvokeKind kGet = InvokeKind::PropertyGet;
constexpr InvokeKind kPut = InvokeKind::PropertyPut;

// clang-format off
constexpr std::array kMembers = {
    Member{DispViewRenewal, kGet, 0, get<&CCurvexCtrl::viewRenewal>},
    Member{DispViewRenewal, kPut, 1, putLong<bool, &CCurvexCtrl::setViewRenewal>},
    Member{DispDistanceMode, kGet, 0, get<&CCurvexCtrl::distanceMode>},
    Member{DispDistanceMode, kPut, 1, putLong<std::int32_t, &CCurvexCtrl::setDistanceMode>},
    Member{DispSetDistArea, kMethod, 2, setDistArea},
    Member{DispGetDistArea, kMethod, 2, getDistArea},
    Member{DispLoadCutData, kMethod, 2, loadCutData},
    Member{DispSetIniFileName, kMethod, 1, setIniFileName},
    Member{DispSetDrawMode, kMethod, 1, putLong<std::int32_t, &CCurvexCtrl::SetDrawMode>},
    Member{DispGetDrawMode, kMethod, 0, get<&CCurvexCtrl::GetDrawMode>},
    Member{DispGetGraphColor, kMethod, 1, getGraphColor},
    Member{DispSetGraphColor, kMethod, 2, setGraphColor},
    Member{DispSetG00feed, kMethod, 1, putFloat<&CCurvexCtrl::SetG00feed>},
    Member{DispGetG00feed, kMethod, 0, get<&CCurvexCtrl::GetG00feed>},
    Member{DispLostCapture, kMethod, 0, run<&CCurvexCtrl::LostCapture>},
    Member{DispGetBmpSize, kMethod, 2, getBmpSize},
    Member{DispOutputPrinter, kMethod, 3, outputPrinter},
    Member{DispGetOcxVersion, kMethod, 0, get<&CCurvexCtrl::GetOcxVersion>},
    Member{DispGetStrBuffer, kMethod, 0, get<&CCurvexCtrl::GetStrBuffer>},
    Member{DispOcxUnRegist, kMethod, 0, run<&CCurvexCtrl::OcxUnRegist>},
    Member{DispGetLoadError, kMethod, 0, get<&CCurvexCtrl::GetLoadError>},
    Member{DispGoToBlock, kMethod, 1, longQuery<&CCurvexCtrl::GoToBlock>},
    Member{DispMarkRecord, kMethod, 1, longQuery<&CCurvexCtrl::MarkRecord>},
    Member{DispLoadNcProgram, kMethod, 1, loadNcProgram},
    Member{DispCloseNcProgram, kMethod, 0, run<&CCurvexCtrl::CloseNcProgram>},
    Member{DispGetNcProgramFile, kMethod, 0, get<&CCurvexCtrl::GetNcProgramFile>},
    Member{DispGetNcLineCount, kMethod, 0, get<&CCurvexCtrl::GetNcLineCount>},
    Member{DispGetRecordLine, kMethod, 1, longCall<&CCurvexCtrl::GetRecordLine>},
    Member{DispGetLineRecord, kMethod, 2, getLineRecord},
    Member{DispGetLineRecordCount, kMethod, 1, longCall<&CCurvexCtrl::GetLineRecordCount>},
    Member{DispGetPeaks, kMethod, 0, get<&CCurvexCtrl::GetPeaks>},
    Member{DispGetToolPeaks, kMethod, 1, longCall<&CCurvexCtrl::GetToolPeaks>},
    Member{DispGetChanges, kMethod, 2, twoLongCall<&CCurvexCtrl::GetChanges>},
    Member{DispShowRecords, kMethod, 2, twoLongCall<&CCurvexCtrl::ShowRecords>},
    Member{DispCancelLoad, kMethod, 0, run<&CCurvexCtrl::CancelLoad>},
    Member{DispGetToolRowCount, kMethod, 0, get<&CCurvexCtrl::GetToolRowCount>},
    Member{DispGetToolRow, kMethod, 1, getToolRow},
    Member{DispGetTotalRow, kMethod, 0, get<&CCurvexCtrl::GetTotalRow>},
    Member{DispGetShownRow, kMethod, 0, get<&CCurvexCtrl::GetShownRow>},
    Member{DispGetToolAirRow, kMethod, 1, longCall<&CCurvexCtrl::GetToolAirRow>},
    Member{DispGetTotalAirRow, kMethod, 0, get<&CCurvexCtrl::GetTotalAirRow>},
    Member{DispGetShownAirRow, kMethod, 0, get<&CCurvexCtrl::GetShownAirRow>},
    Member{DispDrawChart, kMethod, 7, drawChart},
    Member{DispSetCompareMode, kMethod, 1, longQuery<&CCurvexCtrl::SetCompareMode>},
    Member{DispGetCompareMode, kMethod, 0, get<&CCurvexCtrl::GetCompareMode>},
    Member{DispSetChartOption, kMethod, 2, setChartOption},
    Member{DispGetChartOption, kMethod, 1, getChartOption},
    Member{DispGetReadOutPlace, kMethod, 0, get<&CCurvexCtrl::GetReadOutPlace>},
    Member{DispSetTimeAxis, kMethod, 1, longQuery<&CCurvexCtrl::SetTimeAxis>},
    Member{DispGetTimeAxis, kMethod, 0, get<&CCurvexCtrl::GetTimeAxis>},
    Member{DispDrawToolpath, kMethod, 3, drawAtSize<&CCurvexCtrl::DrawToolpath>},
    Member{DispDrawReportToolpath, kMethod, 3, drawAtSize<&CCurvexCtrl::DrawReportToolpath>},
    Member{DispDrawToolpathDraft, kMethod, 3, drawAtSize<&CCurvexCtrl::DrawToolpathDraft>},
    Member{DispDrawReportChart, kMethod, 4, drawAtSizeIn<&CCurvexCtrl::DrawReportChart>},
    Member{DispDrawColouredReportToolpath, kMethod, 4,
           drawAtSizeIn<&CCurvexCtrl::DrawColouredReportToolpath>},
    Member{DispSetToolpathView, kMethod, 1, longQuery<&CCurvexCtrl::SetToolpathView>},
    Member{DispSetToolpathColour, kMethod, 1, longQuery<&CCurvexCtrl::SetToolpathColour>},
    Member{DispPickToolpath, kMethod, 2, floatsMethod<2, &CCurvexCtrl::PickToolpath>},
    Member{DispOrbitToolpath, kMethod, 2, floatsMethod<2, &CCurvexCtrl::OrbitToolpath>},
    Member{DispMoveToolpath, kMethod, 5, floatsMethod<5, &CCurvexCtrl::MoveToolpath>},
    Member{DispGetToolpathLeftOut, kMethod, 0, get<&CCurvexCtrl::GetToolpathLeftOut>},
    Member{DispRefresh, kMethod, 0, run<&CCurvexCtrl::Refresh>},
    Member{DispBackColor, kGet, 0, get<&CCurvexCtrl::backColor>},
    Member{DispBackColor, kPut, 1, putLong<ColorRef, &CCurvexCtrl::setBackColor>},
    Member{DispForeColor, kGet, 0, get<&CCurvexCtrl::foreColor>},
    Member{DispForeColor, kPut, 1, putLong<ColorRef, &CCurvexCtrl::setForeColor>},
    Member{DispAboutBox, kMethod, 0, run<&CCurvexCtrl::AboutBox>},
};
// clang-format on

} // namespace

InvokeResult CurvexDispatch::invoke(CCurvexCtrl& control, int dispid, InvokeKind kind,
                                    QVariantList& args, QVariant* result) {
    for (const Member& member : kMembers) {
        if (member.dispid != dispid || member.kind != kind)
            continue;
        if (args.size() != member.parameterCount)
            return InvokeResult::BadParamCount;
        Call call{control, args, result};
        return member.handler(call);
    }
    return InvokeResult::MemberNotFound;
}
