#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The contracts that the control, the program and the registration tool share. Every number
// here is fixed once chosen: hosts store the class identifier and call members by number.
namespace curvex {

// The five GUIDs are one series that differs only in the last digit of the first group.
inline constexpr char kTypeLibId[] = "{6787F193-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kDispatchIid[] = "{6787F194-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kEventIid[] = "{6787F195-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kControlClsid[] = "{6787F196-8DE6-440C-87EA-1AC003CAE07A}";
inline constexpr char kPropPageClsid[] = "{6787F197-8DE6-440C-87EA-1AC003CAE07A}";

inline constexpr char kControlProgId[] = "CURVEX.CurvexCtrl.1";
inline constexpr char kPropPageProgId[] = "CURVEX.CurvexPropPage.1";
inline constexpr char kControlTypeName[] = "Curvex Control";
inline constexpr char kPropPageTypeName[] = "Curvex Property Page";
inline constexpr char kTypeLibVersion[] = "1.3";
inline constexpr char kHelpFile[] = "Curvex.hlp";

// Miscellaneous status bits: recompose on resize, cannot link inside, inside-out, activate when
// visible, set client site first.
inline constexpr std::uint32_t kMiscStatus = 0x20191;
// Version of the persisted property set (major 1, minor 3).
inline constexpr std::int32_t kPersistVersion = 0x00010003;

// The chart's defaults that hosts rely on: the G00 feed in mm/min when nothing sets one, and the
// number of curve colours (GetGraphColor and SetGraphColor take 0 to kCurveColours - 1).
inline constexpr float kDefaultG00Feed = 5000.0f;
inline constexpr int kCurveColours = 16;
// The largest chart side, in pixels, that a host may ask DrawChart for.
inline constexpr int kMaxChartSide = 16384;

// Dispatch identifiers of the control's members. Negative numbers are the standard ones.
enum DispId : int {
    DispViewRenewal = 1,
    DispDistanceMode = 2,
    DispSetDistArea = 3,
    DispGetDistArea = 4,
    DispLoadCutData = 5,
    DispSetIniFileName = 6,
    DispSetDrawMode = 7,
    DispGetDrawMode = 8,
    DispGetGraphColor = 9,
    DispSetGraphColor = 10,
    DispSetG00feed = 11,
    DispGetG00feed = 12,
    DispLostCapture = 13,
    DispGetBmpSize = 14,
    DispOutputPrinter = 15,
    DispGetOcxVersion = 16,
    DispGetStrBuffer = 17,
    DispOcxUnRegist = 18,
    // Members added later; a control without them answers "member not found" and hosts go on
    // without the feature.
    // GetToolRowCount(), GetToolRow(index), GetTotalRow(), GetShownRow(): the machining times,
    // rows of TimeRowField values.
    DispGetToolRowCount = 19,
    DispGetToolRow = 20,
    DispGetTotalRow = 21,
    DispGetShownRow = 22,
    // GetLoadError(): the reason of the last load when it failed, empty after a successful one.
    DispGetLoadError = 27,
    // GoToBlock(blockNo): centres the first record of that block number in a window of the shown
    // width (1 % when everything is shown) and marks it as the read-out does; FALSE when no
    // record has that number.
    DispGoToBlock = 28,
    // MarkRecord(index): marks the record as the read-out does and moves the shown range, at its
    // width, to centre it when it lies outside; FALSE when there is no such record or no curve.
    DispMarkRecord = 60,
    // The toolpath through the records' end points, linked to the chart (its colours, G00 feed
    // and shown range; the marked record). DrawToolpath(surface, width, height): drawn at width x
    // height into the surface. SetToolpathView(view): a ToolpathViewKind, fitted again.
    // SetToolpathColour(mode): a ToolpathColourMode. PickToolpath(x, y): the record whose segment
    // lies nearest that pixel of the last drawing, within 8 pixels, marked as MarkRecord does and
    // reported by ToolpathPicked; -1 when none. OrbitToolpath(degrees, tilt): turns about Z and
    // tilts. MoveToolpath(factor, x, y, dx, dy): zooms about (x, y) and moves by (dx, dy) pixels;
    // factor 0 fits the whole path.
    DispDrawToolpath = 61,
    DispSetToolpathView = 62,
    DispSetToolpathColour = 63,
    DispPickToolpath = 64,
    DispOrbitToolpath = 65,
    DispMoveToolpath = 66,
    // DrawReportToolpath(surface, width, height): the toolpath as a report shows it, the iso
    // view fitted to the size in the chart's colours with the shown range emphasised and no mark,
    // drawn without changing the view, zoom or colours the host shows.
    DispDrawReportToolpath = 75,
    // DrawToolpathDraft(surface, width, height): as DrawToolpath, with at most some 400,000 of the
    // segments, every k-th record's joined to the k-th before, for a host to follow a drag of the
    // view; a host draws the whole again once the view rests.
    DispDrawToolpathDraft = 76,
    // The NC program beside the data. LoadNcProgram(fileName): takes it and starts reading it in
    // the background (EventNcProgramRead tells when it is read), FALSE when it cannot be opened;
    // CloseNcProgram(); GetNcProgramFile(): its name, empty without one; GetNcLineCount().
    // GetRecordLine(index): the line a record comes from (from 1; 0 for none).
    // GetLineRecord(line, from): of the records of a line the first at or after record `from`,
    // else its first; -1 for none. GetLineRecordCount(line): how many records a line has.
    // GetPeaks(): the 20 peaks of what the chart shows, 100 records apart at least, highest
    // first; rows of PeakField values. GetToolPeaks(k): the k highest of each tool by the same
    // gap within the tool, the tools in the order of first use; FALSE for k below 1.
    DispLoadNcProgram = 67,
    DispCloseNcProgram = 68,
    DispGetNcProgramFile = 69,
    DispGetNcLineCount = 70,
    DispGetRecordLine = 71,
    DispGetLineRecord = 72,
    DispGetLineRecordCount = 73,
    DispGetPeaks = 74,
    // Load progress (numbers 47 to 52 are kept for it): cancels the load that is running.
    DispCancelLoad = 47,
    // SetCompareMode(mode): a CompareMode up to FeedChange; FALSE for any other mode.
    // GetCompareMode(): the mode.
    DispSetCompareMode = 53,
    DispGetCompareMode = 54,
    // SetChartOption(option, on), GetChartOption(option): a ChartOption; FALSE for any other
    // option.
    DispSetChartOption = 55,
    DispGetChartOption = 56,
    // GetReadOutPlace(): the marked record's position on the horizontal axis (mm or block
    // number) and the programmed and optimised machining time in seconds up to the end of its
    // block, an array of three; empty without a marked record. Numbers 58 and 59 are kept for
    // these views.
    DispGetReadOutPlace = 57,
    // Numbers named ahead of their members, which no control has yet: the time axis
    // (SetTimeAxis and GetTimeAxis take and give a TimeAxisMode). GetToolPeaks (84) is described
    // with GetPeaks.
    DispSetTimeAxis = 77,
    DispGetTimeAxis = 78,
    // GetChanges(kind, top): the `top` largest change runs of the whole data of a ChangeKind,
    // the most time lost (slower) or saved (faster) first, the earlier run first among equals;
    // rows of ChangeField values; FALSE for another kind or a negative top. A change run is a
    // maximal run of consecutive records that are not G00 moves, have both feeds above 0, one
    // tool and a change of one sign (a record with equal feeds ends one).
    DispGetChanges = 79,
    // ShowRecords(first, last): shows the records first..last with 10 % of their width either
    // side (within the whole range) and marks the first as MarkRecord does; the toolpath
    // emphasises exactly first..last until the shown range changes by other means (zoom, scroll,
    // reset, selection, another load, another axis, ShowRecords again). FALSE when there is no
    // such record, first lies after last or there is no curve.
    DispShowRecords = 80,
    // GetToolAirRow(index), GetTotalAirRow(), GetShownAirRow(): the moves that cut air (not G00,
    // a removal of 0 or less or not a number) of tool row `index`, of the whole data and of the
    // shown range, arrays of AirRowField values; GetToolAirRow gives an empty value for an index
    // without a row.
    DispGetToolAirRow = 81,
    DispGetTotalAirRow = 82,
    DispGetShownAirRow = 83,
    DispGetToolPeaks = 84,
    // The pictures a report shows of where the optimisation acted, drawn without changing what the
    // host shows. DrawReportChart(surface, width, height, mode): the chart of the shown range as a
    // report shows it, with its legend, in CompareMode `mode`, laid out at width x height and
    // drawn from the surface's top-left corner; FALSE for another mode.
    // DrawColouredReportToolpath(surface, width, height, colours): the toolpath as
    // DrawReportToolpath draws it, coloured by ToolpathColourMode `colours` with its colour bar;
    // FALSE for another colouring.
    DispDrawReportChart = 85,
    DispDrawColouredReportToolpath = 86,
    // GetToolpathLeftOut(): how many segments the toolpath leaves out (not finite, of no length,
    // from a start that is not known), for the host to say beside the picture; 0 without data.
    DispGetToolpathLeftOut = 87,
    // DrawChart(surface, chartWidth, chartHeight, left, top, width, height): the chart as shown,
    // without marks, drawn into a rectangle of a drawing surface, as pixels or vector drawing.
    DispDrawChart = 37,
    DispRefresh = -550,
    DispBackColor = -501,
    DispForeColor = -513,
    DispAboutBox = -552,
};

// The options of SetChartOption and GetChartOption: colour by tool number (tool t in curve colour
// t & 15), the legend, the height fitted to the shown range.
enum class ChartOption : std::int32_t { ColourByTool = 0, Legend = 1, FitHeight = 2 };

// The modes of SetCompareMode: the plotted series, both rates, both feeds (the programmed one in
// grey), the change of the optimised feed against the programmed one in percent, on a signed
// scale.
enum class CompareMode : std::uint8_t { None = 0, Rates = 1, Feeds = 2, FeedChange = 3 };

// The views of SetToolpathView.
enum class ToolpathViewKind : std::int32_t { Top = 0, Front = 1, Right = 2, Iso = 3 };

// The colourings of SetToolpathColour: the chart's colours, removal, removal per second with the
// programmed and with the optimised feed, the feed change (a diverging map symmetric about 0).
enum class ToolpathColourMode : std::int32_t {
    Chart = 0,
    Removal = 1,
    RateOrg = 2,
    RateOpt = 3,
    FeedChange = 4,
};

// The modes of SetTimeAxis: no time axis, the programmed or the optimised machining time.
enum class TimeAxisMode : std::int32_t { Off = 0, Programmed = 1, Optimised = 2 };

// The fields of a machining-time row, as GetToolRow, GetTotalRow and GetShownRow give it: an
// array of this many values in this order. Lengths in mm, times in seconds; saved percent is
// empty when the programmed time is 0; tool number and colours are 0 in the total and shown
// rows. Bit n of the colours is set when the chart draws the tool in curve colour number n.
enum TimeRowField : int {
    TimeToolNo,
    TimeColours,
    TimeRecords,
    TimeCutLength,
    TimeRapidLength,
    TimeProgrammed,
    TimeOptimised,
    TimeSaved,
    TimeSavedPercent,
    TimeNoFeedProgrammed,
    TimeNoFeedOptimised,
    TimeFieldCount,
};

// The fields of a row of GetPeaks, in this order.
enum PeakField : int {
    PeakIndex,
    PeakBlockNo,
    PeakToolNo,
    PeakValue,
    PeakOrgFeed,
    PeakOptFeed,
    PeakLine, // 0 without a program line
    PeakFieldCount,
};

// The kinds of GetChanges: the slowdowns and the speed-ups.
enum class ChangeKind : std::int32_t { Slower = 0, Faster = 1 };

// The fields of a row of GetChanges, in this order: first and last record, their block numbers,
// the tool, the length in mm and the programmed and optimised time in seconds.
enum ChangeField : int {
    ChangeFirst,
    ChangeLast,
    ChangeFirstBlock,
    ChangeLastBlock,
    ChangeToolNo,
    ChangeLength,
    ChangeProgrammed,
    ChangeOptimised,
    ChangeFieldCount,
};

// The fields of the rows of GetToolAirRow, GetTotalAirRow and GetShownAirRow, in this order:
// the length in mm and the programmed and optimised time in seconds of the moves that cut air.
enum AirRowField : int {
    AirLength,
    AirProgrammed,
    AirOptimised,
    AirFieldCount,
};

// Event identifiers of the control's event interface.
enum EventId : int {
    EventReDrawed = 1,
    EventFileDroped = 2,
    // ReadOut(index, blockNo, toolNo, motionCode, x, y, z, orgFeed, optFeed, removalKind,
    // removal, value): the record under the pointer (or gone to) changed.
    EventReadOut = 3,
    // ReadOutCleared(): the pointer left the chart, a drag started or new data came.
    EventReadOutCleared = 4,
    // A load that takes longer than half a second: its progress in percent, every tenth of a
    // second, and at its end whether it was cancelled.
    EventLoadProgress = 6,
    EventLoadEnded = 7,
    // ToolpathPicked(index): a pick in the toolpath found that record.
    EventToolpathPicked = 8,
    // NcProgramRead(): the program given with LoadNcProgram has been read and mapped to the data
    // at hand, after LoadNcProgram and after each load; until then the program's members answer
    // as without a program.
    EventNcProgramRead = 9,
};

// The version a control reports, through GetOcxVersion and its DllVersion export alike: major in
// the high 16 bits, hundredths in the low 16 bits (1.30 is 65566). A test build of the control
// may report another version through CURVEX_OCX_VERSION.
#ifdef CURVEX_OCX_VERSION
inline constexpr std::int32_t kOcxVersion = CURVEX_OCX_VERSION;
#else
inline constexpr std::int32_t kOcxVersion = 65566;
#endif

// The control version the program asks for: any control 1.30 to 1.39 fits.
inline constexpr char kRequiredOcxVersion[] = "1.33";

// A required version "MAJOR.MINOR" as the program states it: the major number and the first
// digit of the hundredths ("1.33" gives 1 and 3). The last digit never matters; with nothing
// numeric before it the minor digit is -1 and no control fits. Empty when the text has no "." or
// no 16-bit major number. Blanks around either number are allowed.
struct RequiredVersion {
    int major = 0;
    int minorDigit = -1;

    static std::optional<RequiredVersion> parse(std::string_view text) {
        const std::size_t dot = text.find('.');
        if (dot == std::string_view::npos)
            return std::nullopt;
        const auto major = wholeNumber(text.substr(0, dot));
        if (!major || *major < -32768 || *major > 32767)
            return std::nullopt;
        std::string_view minor = text.substr(dot + 1);
        if (!minor.empty())
            minor.remove_suffix(1);
        const auto digit = wholeNumber(minor);
        return RequiredVersion{static_cast<int>(*major), digit ? static_cast<int>(*digit) : -1};
    }

    // Whether a control version number (major << 16 | hundredths) fits. Bit 15 of the hundredths
    // is ignored.
    constexpr bool accepts(std::int32_t versionNumber) const {
        return versionNumber / 65536 == major && (versionNumber & 0x7FFF) / 10 == minorDigit;
    }

private:
    static std::optional<long> wholeNumber(std::string_view text) {
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty())
            return std::nullopt;
        return value;
    }
};

// The version text of messages: the major version, ".", then the low 15 bits divided by 10 in
// their shortest decimal form (65566 gives "1.3", a low part of 33 gives "1.3.3").
inline std::string ocxVersionText(std::int32_t versionNumber) {
    char tenths[32];
    const auto end =
        std::to_chars(tenths, tenths + sizeof tenths, (versionNumber & 0x7FFF) / 10.0).ptr;
    return std::to_string(versionNumber / 65536) + '.' + std::string(tenths, end);
}

// Whether a control reporting `versionNumber` fits the program.
inline bool ocxVersionFits(std::int32_t versionNumber) {
    const auto required = RequiredVersion::parse(kRequiredOcxVersion);
    return required && required->accepts(versionNumber);
}

// Exit codes of the registration tool. TimedOut never comes from the tool itself: the program
// reports it when the tool did not end in time.
enum class RegOcxExit : int {
    Success = 0,
    NoArgument = 1,
    Failed = 2,
    FileNotFound = 4,
    TimedOut = 5,
};

// The program's title, in its message boxes and print jobs.
inline constexpr char kProgramTitle[] = "Plotwell";

} // namespace curvex
