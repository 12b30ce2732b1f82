#include "reportexport.h"

#include "appstate.h"
#include "chartdocument.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "filenametext.h"
#include "forms/frmmain.h"
#include "machiningreport.h"
#include "shownfiles.h"
#include "surfaceregistry.h"
#include "toolpathproxy.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QMenu>

namespace {

const QString kSection = QStringLiteral("Report");
const QString kFolderKey = QStringLiteral("Folder");
const QString kTitleKey = QStringLiteral("Title");

ReportTimeRow timeRow(const QString& name, const MachiningRow& row) {
    return {name, row.records, row.programmed, row.optimised, row.saved, row.savedPercent};
}

UserPrompts::ReportSaveRequest saveRequest(const QString& shownFile) {
    const QFileInfo shown(shownFile);
    UserPrompts::ReportSaveRequest request;
    request.folder = ReadIniValue(kSection, kFolderKey);
    if (request.folder.isEmpty())
        request.folder = shown.absolutePath();
    request.fileName = shown.completeBaseName() + QStringLiteral(".pdf");
    request.title = ReadIniValue(kSection, kTitleKey);
    if (request.title.isEmpty())
        request.title = shown.fileName();
    return request;
}

constexpr int kReportPeaks = 10;
constexpr std::int32_t kLegendOption = 1;

// The chart drawn by the control at `size`, its legend switched on for the drawing when it is off.
bool drawChartWithLegend(CurvexProxy& viewer, QPaintDevice& device, QSize size) {
    const auto legend = viewer.callMethod(curvex::DispGetChartOption, {kLegendOption});
    const bool switchOn = legend && !legend->toBool();
    if (switchOn)
        viewer.setChartOption(kLegendOption, true);
    const component::SurfaceRegistry::Entry surface(&device);
    const bool drawn =
        viewer.drawChart(surface.handle(), size, QRect(QPoint(0, 0), size)).value_or(false);
    if (switchOn)
        viewer.setChartOption(kLegendOption, false);
    return drawn;
}

// The highest peaks that the control finds in the shown view; nothing without the member.
std::optional<std::vector<ReportPeakRow>> peakRows(CurvexProxy& viewer) {
    const auto peaks = viewer.getPeaks();
    if (!peaks)
        return std::nullopt;
    std::vector<ReportPeakRow> rows;
    for (const QVariant& peak : *peaks) {
        const QVariantList fields = peak.toList();
        if (fields.size() < curvex::PeakFieldCount ||
            rows.size() == static_cast<std::size_t>(kReportPeaks))
            break;
        rows.push_back({static_cast<quint32>(rows.size() + 1), fields[curvex::PeakBlockNo].toInt(),
                        fields[curvex::PeakToolNo].toInt(), fields[curvex::PeakValue].toDouble(),
                        fields[curvex::PeakOrgFeed].toInt(), fields[curvex::PeakOptFeed].toInt(),
                        fields[curvex::PeakLine].toUInt()});
    }
    return rows;
}

// Whether the control holds an NC program, so that the peaks have its lines.
bool hasProgram(CurvexProxy& viewer) {
    const auto file = viewer.callMethod(curvex::DispGetNcProgramFile, {});
    return file && !file->toString().isEmpty();
}

// The toolpath as a report shows it, drawn by the control into the image; none when the control
// cannot draw it.
ReportPicture::Drawing toolpathDrawing(CurvexProxy& viewer) {
    const auto draw = [&viewer](QImage& image) {
        const component::SurfaceRegistry::Entry surface(&image);
        return ToolpathProxy(viewer).drawReport(surface.handle(), image.size());
    };
    QImage probe(1, 1, QImage::Format_RGB32);
    if (!draw(probe))
        return {};
    return [draw](QImage& image) { return draw(image).value_or(false); };
}

} // namespace

ReportExport::ReportExport(FrmMain& window, QMenu& fileMenu, QAction& before)
    : QObject(&window), mWindow(window),
      mExportReport(new QAction(QStringLiteral("Export Report…"), &window)) {
    fileMenu.insertAction(&before, mExportReport);
    mExportReport->setVisible(window.Viewer1().getToolRowCount().has_value());
    connect(mExportReport, &QAction::triggered, this, &ReportExport::exportReportTriggered);
}

void ReportExport::exportReportTriggered() {
    if (mWindow.fileName().isEmpty()) {
        prompts().beep();
        return;
    }
    const auto choice = prompts().saveReport(saveRequest(mWindow.fileName()));
    if (!choice || choice->path.isEmpty())
        return;
    if (const QString reason = writeChosenReport(choice->path, choice->title); !reason.isEmpty()) {
        prompts().messageBox(
            QStringLiteral("Cannot export the report as %1: %2").arg(choice->path, reason),
            UserPrompts::Buttons::Ok, UserPrompts::Icon::Exclamation,
            QLatin1String(curvex::kProgramTitle));
        return;
    }
    WriteIniValue(kSection, kFolderKey, QFileInfo(choice->path).absolutePath());
    WriteIniValue(kSection, kTitleKey, choice->title);
}

ReportFacts ReportExport::facts(const QString& title) {
    CurvexProxy& viewer = mWindow.Viewer1();
    const QFileInfo file(mWindow.fileName());
    ReportFacts facts;
    facts.title = title;
    facts.dataFile = file.absoluteFilePath();
    facts.modified = file.lastModified();
    facts.written = QDateTime::currentDateTime();
    const std::int32_t tools = viewer.getToolRowCount().value_or(0);
    for (std::int32_t i = 0; i < tools; ++i)
        if (const auto row = viewer.getToolRow(i))
            facts.tools.push_back(timeRow(QStringLiteral("T%1").arg(row->toolNo), *row));
    const MachiningRow total = viewer.getTotalRow().value_or(MachiningRow());
    facts.records = total.records;
    facts.total = timeRow(QString(), total);
    float lower = 0.0f;
    float upper = 100.0f;
    viewer.getDistArea(lower, upper);
    if (lower > 0.0f || upper < 100.0f)
        facts.shown = timeRow(QString(), viewer.getShownRow().value_or(MachiningRow()));
    facts.chart = [&viewer](QPaintDevice& device, QSize size) {
        return drawChartWithLegend(viewer, device, size);
    };
    facts.peaks = peakRows(viewer);
    facts.programLines = facts.peaks && hasProgram(viewer);
    facts.toolpath = toolpathDrawing(viewer);
    return facts;
}

// Writes the report unless the file is one that the window shows or the name is no PDF's; why
// it was not written, or empty.
QString ReportExport::writeChosenReport(const QString& path, const QString& title) {
    if (const QString refusal = shownFileRefusal(path); !refusal.isEmpty())
        return refusal;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return QStringLiteral("the name must end in .pdf");
    return writeReport(path, title);
}

QString ReportExport::writeReport(const QString& path, const QString& title) {
    ReportCaptions captions;
    captions.read(gIniFile.toUtf8().toStdString());
    ReportFacts report = facts(title);
    report.total.name = captions.text(ReportCaptions::Total);
    if (report.shown)
        report.shown->name = captions.text(ReportCaptions::ShownRange);
    const QByteArray pdf = MachiningReport(report, captions).pdf();
    if (pdf.isEmpty())
        return QStringLiteral("the report cannot be drawn");
    return QString::fromLocal8Bit(replaceChartFile(fileNameBytes(path).toStdString(), pdf));
}
