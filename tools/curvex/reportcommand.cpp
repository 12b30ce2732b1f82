#include "axistitles.h"
#include "chartdocument.h"
#include "commandarguments.h"
#include "commandoutput.h"
#include "commands.h"
#include "drawingcolours.h"
#include "extratexts.h"
#include "filenametext.h"
#include "graphrenderer.h"
#include "machiningreport.h"
#include "machiningtime.h"
#include "programtext.h"
#include "recordlines.h"
#include "shownpeaks.h"
#include "shownrange.h"
#include "toolpathchartstyle.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"
#include "toolpathrenderer.h"
#include "viewoptions.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

// `curvex report`: the run's report as a PDF, A4 landscape: header, chart, machining times, the
// highest peaks and the toolpath.

namespace {

struct ReportSettings {
    ChartState chart = defaultViewChart();
    std::string iniFile;
    std::string output;
    std::optional<QString> title;
    std::optional<std::string> program;
};

constexpr std::uint32_t kReportPeaks = 10;

bool readSettings(const CommandArgumentList& arguments, ReportSettings& settings) {
    if (!readViewOptions(arguments, settings.chart))
        return false;
    const auto& values = arguments.values;
    if (const auto found = values.find("--ini"); found != values.end())
        settings.iniFile = found->second;
    if (const auto found = values.find("--title"); found != values.end())
        settings.title = QString::fromLocal8Bit(found->second.c_str());
    if (const auto found = values.find("-o"); found != values.end())
        settings.output = found->second;
    if (const auto found = values.find("--program"); found != values.end())
        settings.program = found->second;
    if (chartFormatOf(QString::fromLocal8Bit(settings.output.c_str())) != ChartFormat::Pdf) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.pdf\n");
        return false;
    }
    return true;
}

// The axis titles of the chart as `titles` (the defaults without a settings file) and `extra`
// give them, the compare title in place of the vertical one when quantities are compared.
void applyTitles(ChartState& chart, const AxisTitles* titles, const ExtraTexts& extra) {
    chart.xTitle = titles ? titles->horizontalTitle(chart.distanceMode)
                          : AxisTitles::defaultHorizontalTitle(chart.distanceMode);
    if (chart.compareMode != CompareMode::None)
        chart.yTitle = extra.compareTitle(static_cast<int>(chart.compareMode));
    else
        chart.yTitle = titles ? titles->verticalTitle(chart.drawMode)
                              : AxisTitles::defaultVerticalTitle(chart.drawMode);
    chart.greyCaption = extra.text(ExtraTexts::ProgrammedCaption);
    chart.greyNote = extra.text(ExtraTexts::GreyNote);
}

// The titles, colours and captions of the settings file, the default titles without one.
// Returns an exit status.
int readChartSettings(ReportSettings& settings, ReportCaptions& captions) {
    ChartState& chart = settings.chart;
    AxisTitles titles;
    ExtraTexts extra;
    if (settings.iniFile.empty()) {
        applyTitles(chart, nullptr, extra);
        return kExitOk;
    }
    if (!titles.SetIniFileName(settings.iniFile)) {
        std::fprintf(stderr, "curvex: cannot use the settings file %s\n", settings.iniFile.c_str());
        return kExitUsage;
    }
    extra.SetIniFileName(settings.iniFile);
    int error = titles.defaultsWriteError();
    if (error == 0)
        error = extra.defaultsWriteError();
    if (const int captionsError = captions.read(settings.iniFile); error == 0)
        error = captionsError;
    if (error != 0)
        return cannotWriteSettings(settings.iniFile, error);
    applyTitles(chart, &titles, extra);
    readDrawingColours(settings.iniFile, chart);
    return kExitOk;
}

ReportTimeRow timeRow(const QString& name, const MachiningTimes& times) {
    return {name,        times.records,     times.programmed, times.optimised,
            times.saved, times.savedPercent};
}

bool narrowed(const ChartState& chart) {
    return chart.lowerPercent > 0.0f || chart.upperPercent < 100.0f;
}

// The highest peaks of the chart, each with its line of the program when `lines` is given.
std::vector<ReportPeakRow> peakRows(const CutDataSet& data, const ChartState& chart,
                                    const RecordLines* lines) {
    std::vector<ReportPeakRow> rows;
    for (const Peak& peak : ShownPeaks(data, chart, kReportPeaks)) {
        const CutRecord& r = data.records[peak.index];
        rows.push_back({static_cast<quint32>(rows.size() + 1), r.blockNo, r.toolNo,
                        static_cast<double>(peak.value), r.orgFeed, r.optFeed,
                        lines ? lines->lineOf(peak.index) : 0u});
    }
    return rows;
}

// The path in the iso view with the chart's colours, its shown range emphasised.
struct ToolpathPicture {
    explicit ToolpathPicture(const CutDataSet& data, const ChartState& chart)
        : model(data), style(ToolpathStyleOf(chart, data, ToolpathColourMode::Chart)) {}

    bool draw(QImage& image) const {
        const ToolpathMarks marks;
        const ToolpathRenderer renderer(model, style, marks);
        ToolpathPixels pixels;
        renderer.drawImage(image,
                           ToolpathFit(model.box(), ToolpathView(ToolpathViewKind::Iso),
                                       image.width(), image.height()),
                           pixels);
        return true;
    }

    const ToolpathModel model;
    const ToolpathStyle style;
};

ReportFacts factsOf(const ReportSettings& settings, const std::string& path,
                    const CutDataSet& data) {
    const ChartState& chart = settings.chart;
    const QFileInfo file(fileNameFromBytes(QByteArray::fromStdString(path)));
    ReportFacts facts;
    facts.title = settings.title.value_or(file.fileName());
    facts.dataFile = file.absoluteFilePath();
    facts.modified = file.lastModified();
    facts.written = QDateTime::currentDateTime();
    facts.records = data.count;
    for (const ToolTimes& tool : ToolTimesOf(data, chart.g00Feed))
        facts.tools.push_back(timeRow(QStringLiteral("T%1").arg(tool.toolNo), tool.times));
    facts.total = timeRow(QString(), TotalTimesOf(data, chart.g00Feed));
    if (narrowed(chart))
        facts.shown = timeRow(QString(), ShownTimesOf(data, chart.distanceMode, chart.lowerPercent,
                                                      chart.upperPercent, chart.g00Feed));
    facts.chart = [&data, chart](QPaintDevice& device, QSize size) {
        ChartState sized = chart;
        sized.width = size.width();
        sized.height = size.height();
        QPainter painter(&device);
        if (!painter.isActive())
            return false;
        DrawGraph(painter, sized, &data);
        return painter.end();
    };
    return facts;
}

int writeReport(const ReportSettings& settings, const std::string& path, const CutDataSet& data,
                const RecordLines* lines, const ReportCaptions& captions) {
    const auto application = startOffscreenApplication();

    ReportFacts facts = factsOf(settings, path, data);
    facts.peaks = peakRows(data, settings.chart, lines);
    facts.programLines = lines != nullptr;
    const ToolpathPicture toolpath(data, settings.chart);
    facts.toolpath = [&toolpath](QImage& image) { return toolpath.draw(image); };
    facts.total.name = captions.text(ReportCaptions::Total);
    if (facts.shown)
        facts.shown->name = captions.text(ReportCaptions::ShownRange);
    const QByteArray pdf = MachiningReport(facts, captions).pdf();
    const std::string reason = pdf.isEmpty() ? std::string("the report could not be drawn")
                                             : replaceChartFile(settings.output, pdf);
    if (reason.empty())
        return kExitOk;
    std::fprintf(stderr, "curvex: cannot write %s: %s\n", settings.output.c_str(), reason.c_str());
    return kExitOutput;
}

// The lines of the program given with --program for the records of `data`; false after saying
// why the program could not be read.
bool readProgramLines(const std::string& path, const CutDataSet& data,
                      std::optional<RecordLines>& lines) {
    ProgramText program;
    if (int error = 0; !ProgramText::read(path, program, error)) {
        std::fprintf(stderr, "curvex: cannot read %s: %s\n", path.c_str(), std::strerror(error));
        return false;
    }
    lines.emplace(program, std::span(data.blockNos.data(), data.count));
    return true;
}

} // namespace

int runReport(CommandArguments args) {
    ReportSettings settings;
    std::vector<char*> rest;
    if (!takeRangeOption(args, rest, settings.chart))
        return kExitUsage;
    takeViewSwitches(rest, settings.chart);
    settings.chart.legend = true;
    const auto arguments =
        parseCommandArguments(CommandArguments(rest.data(), rest.size()),
                              {"--func", "--dist", "--g00", "--compare", "--colour-by", "--ini",
                               "--title", "--program", "-o"});
    if (!arguments || !readSettings(*arguments, settings))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(*arguments, data); status != kExitOk)
        return status;
    std::optional<RecordLines> lines;
    if (settings.program && !readProgramLines(*settings.program, data, lines))
        return kExitFailure;
    ReportCaptions captions;
    if (const int status = readChartSettings(settings, captions); status != kExitOk)
        return status;
    return writeReport(settings, arguments->operands.front(), data, lines ? &*lines : nullptr,
                       captions);
}
