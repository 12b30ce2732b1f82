// File > Export Report… through the real main window with the real control, offscreen, with
// scripted dialogs, against `curvex report` of the same view.
#include "print/printtestsupport.h"

#include "appstate.h"
#include "controlhost.h"
#include "curvexids.h"
#include "forms/frmmain.h"
#include "forms/programpanel.h"
#include "report/controlreportview.h"
#include "report/reportexport.h"
#include "reportcaptions.h"
#include "reportcomposition.h"
#include "varnutl.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class ReportExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chart.window()) << chart.error().toStdString();
        window = static_cast<FrmMain*>(chart.window());
        report = window->findChild<ReportExport*>();
        ASSERT_NE(report, nullptr);
    }

    ChartWindow chart;
    FrmMain* window = nullptr;
    ReportExport* report = nullptr;
    apptest::ScriptedPrompts prompts;
    QTemporaryDir folder;
};

QString run(const QString& program, const QStringList& arguments, int* status = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (status != nullptr)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// The report's text without the line of the time it was written.
QString reportText(const QString& pdf) {
    QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("Report written: [^\\n]*")));
    return text;
}

// How many images the document holds: the lines of `pdfimages -list` below its two heading lines.
qsizetype imageCount(const QString& pdf) {
    const QString list = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    return list.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() - 2;
}

// The text of page `page` of the report, as reportText gives the whole.
QString pageText(const QString& pdf, int page) {
    const QString number = QString::number(page);
    QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), number,
                                          QStringLiteral("-l"), number, pdf, QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("Report written: [^\\n]*")));
    return text;
}

// The document's images as PNG files' bytes, in their order.
QList<QByteArray> imagesOf(const QString& pdf) {
    QTemporaryDir folder;
    run(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, folder.filePath("image")});
    QList<QByteArray> images;
    for (int n = 0;; ++n) {
        QFile file(folder.filePath(QStringLiteral("image-%1.png").arg(n, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::ReadOnly))
            return images;
        images.append(file.readAll());
    }
}

// The graph control without the members that draw a report's pictures of where the optimisation
// acted, as an older control is.
class WithoutReportPictures : public component::DispatchObject {
public:
    explicit WithoutReportPictures(component::DispatchObject& control) : mControl(control) {}
    component::InvokeResult invoke(int dispid, component::InvokeKind kind, QVariantList& args,
                                   QVariant* result) override {
        if (dispid == curvex::DispDrawReportChart ||
            dispid == curvex::DispDrawColouredReportToolpath)
            return component::InvokeResult::MemberNotFound;
        return mControl.invoke(dispid, kind, args, result);
    }

private:
    component::DispatchObject& mControl;
};

int pageCount(const QString& pdf) {
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : 0;
}

TEST_F(ReportExportTest, TheItemSitsBeforeSaveChartAsAndPrint) {
    const QList<QAction*> file = window->mnuFile().actions();
    const qsizetype print = file.indexOf(&window->mnuPrint());
    ASSERT_GE(print, 2);
    EXPECT_EQ(file.at(print - 2), &report->exportReport());
    EXPECT_TRUE(report->exportReport().isVisible());
}

// The same view gives the same report as the command: header, chart labels with the legend, axis
// titles, every figure of the time table with the shown range's row, the peaks, the toolpath,
// and where the optimisation acted: the feed-change chart's labels, the change tables, the air
// cutting and the toolpath by feed change, its pixels the command's.
TEST_F(ReportExportTest, TheWindowWritesWhatTheCommandWritesForTheSameView) {
    struct Case {
        int function;
        int axis;
        float lower, upper;
        float g00;
    };
    const Case cases[] = {
        {0, 0, 0.0f, 100.0f, 5000.0f}, {1, 0, 20.0f, 60.0f, 3000.0f}, {2, 2, 35.0f, 80.5f, 800.0f}};
    for (const Case& c : cases) {
        const QString context = QStringLiteral("func %1 dist %2 range %3 %4 g00 %5")
                                    .arg(c.function)
                                    .arg(c.axis)
                                    .arg(c.lower)
                                    .arg(c.upper)
                                    .arg(c.g00);
        window->mnuFunc_Click(c.function);
        window->mnuDist_Click(c.axis);
        window->Viewer1().setG00feed(c.g00);
        ASSERT_TRUE(window->Viewer1().setDistArea(c.lower, c.upper));
        const QString windowPdf = folder.filePath(QStringLiteral("window.pdf"));
        prompts.reportChoices.push_back(
            UserPrompts::ReportSaveChoice{windowPdf, QStringLiteral("Trial 3")});
        report->exportReport().trigger();
        ASSERT_TRUE(prompts.messages.empty()) << prompts.messages.front().text.toStdString();
        const auto legend = window->Viewer1().getChartOption(curvex::ChartOption::Legend);
        ASSERT_TRUE(legend.has_value());
        EXPECT_FALSE(*legend) << "the window's legend stays off";

        const QString commandPdf = folder.filePath(QStringLiteral("command.pdf"));
        int status = -1;
        const QString output = run(
            apptest::binFile(QStringLiteral("curvex")),
            {QStringLiteral("report"), QStringLiteral("--func"), QString::number(c.function),
             QStringLiteral("--dist"), QString::number(c.axis), QStringLiteral("--range"),
             QString::number(c.lower), QString::number(c.upper), QStringLiteral("--g00"),
             QString::number(c.g00), QStringLiteral("--ini"), gIniFile, QStringLiteral("--title"),
             QStringLiteral("Trial 3"), QStringLiteral("-o"), commandPdf, window->fileName()},
            &status);
        ASSERT_EQ(status, 0) << output.toStdString();
        const QString shown = reportText(windowPdf);
        EXPECT_EQ(shown, reportText(commandPdf)) << context.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Trial 3"))) << shown.toStdString();
        EXPECT_EQ(shown.contains(QStringLiteral("Shown range")), c.lower > 0.0f)
            << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Highest peaks"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Where the optimisation acted")));
        EXPECT_EQ(imageCount(windowPdf), 2) << context.toStdString();
        EXPECT_EQ(imageCount(commandPdf), 2) << context.toStdString();
        EXPECT_EQ(window->Viewer1().getCompareMode(), 0) << "the window's chart is not compared";
        EXPECT_EQ(imagesOf(windowPdf), imagesOf(commandPdf)) << context.toStdString();
    }
}

// The part sample with its program beside it: a report of several pages with the program's lines,
// the same page by page from the window and from the command.
TEST_F(ReportExportTest, APartWithItsProgramGivesTheCommandsPages) {
    const QString data = folder.filePath(QStringLiteral("PARTDATA.txt"));
    const QString program = folder.filePath(QStringLiteral("PARTDATA.nc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("samples/PARTDATA.txt"), data));
    ASSERT_TRUE(QFile::copy(QStringLiteral("samples/PARTDATA.nc"), program));
    window->open(data);
    ASSERT_EQ(window->fileName(), data);
    ProgramPanel* panel = window->programPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->openProgram(program));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->reading() && panel->linked(); }, 30000));
    window->Viewer1().setG00feed(5000.0f);

    const QString windowPdf = folder.filePath(QStringLiteral("window.pdf"));
    prompts.reportChoices.push_back(
        UserPrompts::ReportSaveChoice{windowPdf, QStringLiteral("Part")});
    report->exportReport().trigger();
    ASSERT_TRUE(prompts.messages.empty()) << prompts.messages.front().text.toStdString();
    const QString commandPdf = folder.filePath(QStringLiteral("command.pdf"));
    int status = -1;
    const QString output = run(apptest::binFile(QStringLiteral("curvex")),
                               {QStringLiteral("report"), QStringLiteral("--g00"),
                                QStringLiteral("5000"), QStringLiteral("--ini"), gIniFile,
                                QStringLiteral("--program"), program, QStringLiteral("--title"),
                                QStringLiteral("Part"), QStringLiteral("-o"), commandPdf, data},
                               &status);
    ASSERT_EQ(status, 0) << output.toStdString();

    const int pages = pageCount(windowPdf);
    ASSERT_GE(pages, 2);
    EXPECT_EQ(pageCount(commandPdf), pages);
    EXPECT_TRUE(reportText(windowPdf).contains(QStringLiteral("Program line")));
    for (int page = 1; page <= pages; ++page)
        EXPECT_EQ(pageText(windowPdf, page), pageText(commandPdf, page)) << "page " << page;
}

// A control without the two members draws no feed-change chart or toolpath: the report is still
// written, with the rest of the section; the same control with them gives the pictures too.
TEST_F(ReportExportTest, AControlWithoutTheReportPicturesStillWritesTheReport) {
    QWidget parent;
    QString error;
    const auto hosted =
        component::createControl(QString::fromLatin1(curvex::kControlClsid), &parent, &error);
    ASSERT_TRUE(hosted) << error.toStdString();
    ASSERT_TRUE(CurvexProxy(hosted->control()).loadCutData(window->fileName(), CutFormat::Text));
    WithoutReportPictures older(hosted->control());
    for (component::DispatchObject* control :
         {static_cast<component::DispatchObject*>(&older),
          static_cast<component::DispatchObject*>(&hosted->control())}) {
        const bool pictures = control != &older;
        CurvexProxy proxy(*control);
        ControlReportView view(proxy);
        const QByteArray pdf =
            ReportPdf(view, QStringLiteral("Older"), window->fileName(), ReportCaptions());
        ASSERT_FALSE(pdf.isEmpty()) << pictures;
        const QString path = folder.filePath(QStringLiteral("older.pdf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pdf);
        file.close();
        const QString text = reportText(path);
        for (const char* part : {"Where the optimisation acted", "Largest slowdowns",
                                 "Largest speed-ups", "Air cutting", "Highest peaks"})
            EXPECT_TRUE(text.contains(QLatin1String(part))) << part << " " << pictures;
        EXPECT_EQ(text.contains(QStringLiteral("Toolpath by feed change")), pictures);
        EXPECT_EQ(imageCount(path), pictures ? 2 : 1);
    }
}

// The dialog starts in the data file's folder with its name and title, then in the folder and
// with the title last chosen, kept in section "Report".
TEST_F(ReportExportTest, TheLastFolderAndTitleAreRemembered) {
    prompts.reportChoices.push_back(std::nullopt);
    report->exportReport().trigger();
    ASSERT_EQ(prompts.reportRequests.size(), 1u);
    const UserPrompts::ReportSaveRequest& first = prompts.reportRequests[0];
    EXPECT_EQ(first.fileName, QStringLiteral("CUTDATA.pdf"));
    EXPECT_EQ(first.title, QStringLiteral("CUTDATA.txt"));
    EXPECT_EQ(first.folder + QStringLiteral("/CUTDATA.txt"), window->fileName());

    const QString path = folder.filePath(QStringLiteral("run.pdf"));
    prompts.reportChoices.push_back(UserPrompts::ReportSaveChoice{path, QStringLiteral("Shop")});
    report->exportReport().trigger();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(ReadIniValue(QStringLiteral("Report"), QStringLiteral("Title")),
              QStringLiteral("Shop"));
    prompts.reportChoices.push_back(std::nullopt);
    report->exportReport().trigger();
    ASSERT_EQ(prompts.reportRequests.size(), 3u);
    EXPECT_EQ(prompts.reportRequests[2].folder, folder.path());
    EXPECT_EQ(prompts.reportRequests[2].title, QStringLiteral("Shop"));

    // Another file is offered its own name; the title typed for the first comes back with it.
    const QString titled = window->fileName();
    const QString other = folder.filePath(QStringLiteral("other.txt"));
    ASSERT_TRUE(QFile::copy(titled, other));
    for (const auto& [shown, title] : {std::pair{other, QStringLiteral("other.txt")},
                                       std::pair{titled, QStringLiteral("Shop")}}) {
        window->open(shown);
        ASSERT_EQ(window->fileName(), shown);
        prompts.reportChoices.push_back(std::nullopt);
        report->exportReport().trigger();
        EXPECT_EQ(prompts.reportRequests.back().title, title) << shown.toStdString();
    }

    // A report that cannot be written says why and keeps the older file.
    prompts.reportChoices.push_back(
        UserPrompts::ReportSaveChoice{folder.filePath(QStringLiteral("no/run.pdf")), "Shop"});
    report->exportReport().trigger();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("No such file or directory")))
        << prompts.messages[0].text.toStdString();
}

// The report never replaces the data file shown, under its own name or another, and is a PDF:
// one message says why, and the file keeps its bytes.
TEST_F(ReportExportTest, TheShownDataAndOtherEndingsAreRefused) {
    const QString data = folder.filePath(QStringLiteral("run.txt"));
    ASSERT_TRUE(QFile::copy(window->fileName(), data));
    window->open(data);
    ASSERT_EQ(window->fileName(), data);
    const QString link = folder.filePath(QStringLiteral("link.pdf"));
    ASSERT_TRUE(QFile::link(data, link));
    const QString hard = folder.filePath(QStringLiteral("hard.pdf"));
    ASSERT_EQ(::link(data.toUtf8().constData(), hard.toUtf8().constData()), 0);
    const QByteArray before = [&] {
        QFile file(data);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_FALSE(before.isEmpty());
    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {data, QStringLiteral("it is the open data file ") + data},
        {link, QStringLiteral("it is the open data file ") + data},
        {hard, QStringLiteral("it is the open data file ") + data},
        {folder.filePath(QStringLiteral("run.png")), QStringLiteral("the name must end in .pdf")},
    };
    for (const Case& c : cases) {
        prompts.messages.clear();
        prompts.reportChoices.push_back(UserPrompts::ReportSaveChoice{c.path, "Shop"});
        report->exportReport().trigger();
        ASSERT_EQ(prompts.messages.size(), 1u) << c.path.toStdString();
        EXPECT_TRUE(prompts.messages[0].text.endsWith(c.reason))
            << prompts.messages[0].text.toStdString();
        QFile file(data);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << c.path.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("run.png"))));
}

} // namespace
