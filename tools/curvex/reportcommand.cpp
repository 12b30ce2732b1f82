#include "axistitles.h"
#include "chartdocument.h"
#include "commandarguments.h"
#include "commands.h"
#include "drawingcolours.h"
#include "filenametext.h"
#include "commandoutput.h"
#include "graphrenderer.h"
#include "machiningreport.h"
#include "machiningtime.h"
#include "shownrange.h"
#include "viewoptions.h"

#include <QFileInfo>
#include <QPainter>

#include <cstdio>
#include <string>
#include <vector>

// `curvex report`: the run's report as a PDF, A4 landscape: header, chart and machining times.

namespace {

struct ReportSettings {
    ChartState chart = defaultViewChart();
    std::string iniFile;
    std::string output;
    std::optional<QString> title;
};

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
    if (chartFormatOf(QString::fromLocal8Bit(settings.output.c_str())) != ChartFormat::Pdf) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.pdf\n");
        return false;
    }
    return true;
}

// The titles, colours and captions of the settings file, the default titles without one.
// Returns an exit status.
int readChartSettings(ReportSettings& settings, ReportCaptions& captions) {
    ChartState& chart = settings.chart;
    if (settings.iniFile.empty()) {
        chart.xTitle = AxisTitles::defaultHorizontalTitle(chart.distanceMode);
        chart.yTitle = AxisTitles::defaultVerticalTitle(chart.drawMode);
        return kExitOk;
    }
    AxisTitles titles;
    if (!titles.SetIniFileName(settings.iniFile)) {
        std::fprintf(stderr, "curvex: cannot use the settings file %s\n", settings.iniFile.c_str());
        return kExitUsage;
    }
    int error = titles.defaultsWriteError();
    if (const int captionsError = captions.read(settings.iniFile); error == 0)
        error = captionsError;
    if (error != 0)
        return cannotWriteSettings(settings.iniFile, error);
    chart.xTitle = titles.horizontalTitle(chart.distanceMode);
    chart.yTitle = titles.verticalTitle(chart.drawMode);
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
                const ReportCaptions& captions) {
    const auto application = startOffscreenApplication();

    ReportFacts facts = factsOf(settings, path, data);
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

} // namespace

int runReport(CommandArguments args) {
    ReportSettings settings;
    std::vector<char*> rest;
    if (!takeRangeOption(args, rest, settings.chart))
        return kExitUsage;
    const auto arguments =
        parseCommandArguments(CommandArguments(rest.data(), rest.size()),
                              {"--func", "--dist", "--g00", "--ini", "--title", "-o"});
    if (!arguments || !readSettings(*arguments, settings))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(*arguments, data); status != kExitOk)
        return status;
    ReportCaptions captions;
    if (const int status = readChartSettings(settings, captions); status != kExitOk)
        return status;
    return writeReport(settings, arguments->operands.front(), data, captions);
}
