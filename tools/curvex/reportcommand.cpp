#include "chartdocument.h"
#include "charttitles.h"
#include "commandarguments.h"
#include "commandoutput.h"
#include "commands.h"
#include "datareportview.h"
#include "extratexts.h"
#include "filenametext.h"
#include "outputclash.h"
#include "recordlines.h"
#include "reportcomposition.h"
#include "viewoptions.h"

#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <memory>
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
    // The chart's titles and colours: the defaults, or those of the settings file.
    DataReportView::ChartTitling titling = [](ChartState& chart) {
        FillChartTitles(chart, nullptr, ExtraTexts());
    };
};

bool readSettings(const CommandArgumentList& arguments, ReportSettings& settings) {
    if (!readViewOptions(arguments, settings.chart))
        return false;
    if (const std::string* ini = arguments.value("--ini"))
        settings.iniFile = *ini;
    if (const std::string* title = arguments.value("--title"))
        settings.title = QString::fromLocal8Bit(title->c_str());
    if (const std::string* output = arguments.value("-o"))
        settings.output = *output;
    if (const std::string* program = arguments.value("--program"))
        settings.program = *program;
    if (ChartFormatOf(QString::fromLocal8Bit(settings.output.c_str())) != ChartFormat::Pdf) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.pdf\n");
        return false;
    }
    return true;
}

// The titles, colours and captions of the settings file, the default titles without one.
// Returns an exit status.
int readChartSettings(ReportSettings& settings, ReportCaptions& captions) {
    if (!settings.iniFile.empty()) {
        auto file = std::make_shared<ChartSettingsFile>();
        if (const int status = readSettingsFile(*file, settings.iniFile); status != kExitOk)
            return status;
        if (const int error = captions.read(settings.iniFile); error != 0)
            return cannotWriteSettings(settings.iniFile, error);
        settings.titling = [file](ChartState& chart) { file->apply(chart); };
    }
    settings.titling(settings.chart);
    return kExitOk;
}

int writeReport(const ReportSettings& settings, const std::string& path, const CutDataSet& data,
                const RecordLines* lines, const ReportCaptions& captions) {
    const auto application = startOffscreenApplication();

    const QString file = fileNameFromBytes(QByteArray::fromStdString(path));
    DataReportView view(data, settings.chart, lines, settings.titling);
    const QByteArray pdf =
        ReportPdf(view, settings.title.value_or(QFileInfo(file).fileName()), file, captions);
    const std::string reason = pdf.isEmpty() ? std::string("the report could not be drawn")
                                             : ReplaceChartFile(settings.output, pdf);
    if (reason.empty())
        return kExitOk;
    std::fprintf(stderr, "curvex: cannot write %s: %s\n", settings.output.c_str(), reason.c_str());
    return kExitOutput;
}

// The files that the report reads: the data, the program and the settings file.
std::vector<std::string> inputsOf(const CommandArgumentList& arguments,
                                  const ReportSettings& settings) {
    std::vector<std::string> inputs = arguments.operands;
    inputs.push_back(settings.program.value_or(std::string()));
    inputs.push_back(settings.iniFile);
    return inputs;
}

} // namespace

int runReport(const CommandArgumentList& arguments) {
    ReportSettings settings;
    if (!readSettings(arguments, settings))
        return kExitUsage;
    if (const int status = refuseOverwrite(settings.output, inputsOf(arguments, settings));
        status != kExitOk)
        return status;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(settings.chart, data);
    std::optional<RecordLines> lines;
    if (settings.program && !readProgramLines(*settings.program, data, lines))
        return kExitFailure;
    ReportCaptions captions;
    if (const int status = readChartSettings(settings, captions); status != kExitOk)
        return status;
    return writeReport(settings, arguments.operands.front(), data, lines ? &*lines : nullptr,
                       captions);
}
