#include "reportexport.h"

#include "appstate.h"
#include "chartdocument.h"
#include "controlreportview.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "filenametext.h"
#include "reportcomposition.h"
#include "shownfiles.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

#include <utility>

namespace {

const QString kSection = QStringLiteral("Report");
const QString kFolderKey = QStringLiteral("Folder");
const QString kTitleKey = QStringLiteral("Title");
// The data file whose report was given the title kept last.
const QString kTitleFileSection = QStringLiteral("Report Title");
const QString kTitleFileKey = QStringLiteral("Data File");

UserPrompts::ReportSaveRequest saveRequest(const QString& shownFile) {
    const QFileInfo shown(shownFile);
    UserPrompts::ReportSaveRequest request;
    request.folder = ReadIniValue(kSection, kFolderKey);
    if (request.folder.isEmpty())
        request.folder = shown.absolutePath();
    request.fileName = shown.completeBaseName() + QStringLiteral(".pdf");
    if (ReadIniValue(kTitleFileSection, kTitleFileKey) == shown.absoluteFilePath())
        request.title = ReadIniValue(kSection, kTitleKey);
    if (request.title.isEmpty())
        request.title = shown.fileName();
    return request;
}

} // namespace

ReportExport::ReportExport(QWidget& window, CurvexProxy& viewer, std::function<QString()> shownFile,
                           QMenu& fileMenu, QAction& before)
    : QObject(&window), mViewer(viewer), mShownFile(std::move(shownFile)),
      mExportReport(new QAction(QStringLiteral("Export Report…"), &window)) {
    fileMenu.insertAction(&before, mExportReport);
    mExportReport->setVisible(viewer.getToolRowCount().has_value());
    connect(mExportReport, &QAction::triggered, this, &ReportExport::exportReportTriggered);
}

void ReportExport::exportReportTriggered() {
    const QString shown = mShownFile();
    if (shown.isEmpty()) {
        prompts().beep();
        return;
    }
    const auto choice = prompts().saveReport(saveRequest(shown));
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
    WriteIniValue(kTitleFileSection, kTitleFileKey, QFileInfo(shown).absoluteFilePath());
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
    ControlReportView view(mViewer);
    const QByteArray pdf = ReportPdf(view, title, mShownFile(), captions);
    if (pdf.isEmpty())
        return QStringLiteral("the report cannot be drawn");
    return QString::fromLocal8Bit(ReplaceChartFile(fileNameBytes(path).toStdString(), pdf));
}
