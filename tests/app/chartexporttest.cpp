// Save Chart As and Copy Chart through the real main window with the real control, offscreen,
// with scripted dialogs.
#include "print/printtestsupport.h"

#include "forms/chartcommands.h"
#include "forms/chartexport.h"
#include "forms/chartsizefield.h"
#include "forms/frmmain.h"
#include "forms/savechartdialog.h"
#include "varnutl.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The print prompts with the save-chart dialog answered from a script.
class ExportPrompts : public PrintPrompts {
public:
    std::optional<ChartSaveChoice> saveChart(const ChartSaveRequest& request) override {
        requests.push_back(request);
        if (choices.empty())
            return std::nullopt;
        const auto choice = choices.front();
        choices.pop_front();
        return choice;
    }

    std::deque<std::optional<ChartSaveChoice>> choices;
    std::vector<ChartSaveRequest> requests;
};

class ChartExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chart.window()) << chart.error().toStdString();
        window = static_cast<FrmMain*>(chart.window());
        commands = window->findChild<ChartCommands*>();
        ASSERT_NE(commands, nullptr);
    }

    QString saveAs(const QString& name, QSize size) {
        const QString path = folder.filePath(name);
        prompts.choices.push_back(UserPrompts::ChartSaveChoice{path, size});
        commands->saveChartAs().trigger();
        return path;
    }

    ChartWindow chart;
    FrmMain* window = nullptr;
    ChartCommands* commands = nullptr;
    ExportPrompts prompts;
    QTemporaryDir folder;
};

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The text elements and the view box of an SVG document.
struct SvgSummary {
    QStringList texts;
    QString viewBox;
    bool valid = false;
};

SvgSummary summarise(const QByteArray& svg) {
    SvgSummary summary;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("svg"))
            summary.viewBox = reader.attributes().value(QLatin1String("viewBox")).toString();
        else if (reader.name() == QLatin1String("text"))
            summary.texts.push_back(reader.readElementText().trimmed());
    }
    summary.valid = !reader.hasError();
    return summary;
}

TEST_F(ChartExportTest, TheCommandsSitInTheFileAndEditMenusWithTheirKeys) {
    const QList<QAction*> file = window->mnuFile().actions();
    const qsizetype print = file.indexOf(&window->mnuPrint());
    ASSERT_GE(print, 1);
    EXPECT_EQ(file.at(print - 1), &commands->saveChartAs()) << "just before Print";
    EXPECT_EQ(commands->saveChartAs().shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(commands->copyChart().shortcut(), QKeySequence(QKeySequence::Copy));
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus.at(0), window->mnuFile().menuAction());
    EXPECT_EQ(menus.at(1), commands->editMenu().menuAction());
    EXPECT_EQ(menus.at(2), window->mnuConfig().menuAction());
}

TEST_F(ChartExportTest, PngAtTheChartsSizeIsTheChartAsShownWithoutTheSelectionBand) {
    std::int16_t width = 0;
    std::int16_t height = 0;
    window->Viewer1().getBmpSize(width, height);
    const QImage shown(saveAs(QStringLiteral("plain.png"), QSize(width, height)));
    ASSERT_FALSE(shown.isNull());
    prompts.requests.clear();
    // A drag in progress shows the selection band on the screen.
    QWidget& viewer = window->viewerWidget();
    QTest::mousePress(&viewer, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    QTest::mouseMove(&viewer, QPoint(300, 200));
    const QString path = saveAs(QStringLiteral("chart.png"), shown.size());
    QTest::mouseRelease(&viewer, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    ASSERT_EQ(prompts.requests.size(), 1u);
    const UserPrompts::ChartSaveRequest& request = prompts.requests[0];
    EXPECT_EQ(request.size, shown.size());
    EXPECT_EQ(request.format, QStringLiteral("png"));
    EXPECT_EQ(request.fileName, QStringLiteral("CUTDATA.png"));
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), shown);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ChartExportTest, SvgAndPdfAtAnotherSizeAreDrawingsAndTheChoiceIsRemembered) {
    const QString svgPath = saveAs(QStringLiteral("report.svg"), QSize(800, 500));
    const SvgSummary svg = summarise(apptest::readFile(svgPath));
    EXPECT_TRUE(svg.valid);
    EXPECT_EQ(svg.viewBox, QStringLiteral("0 0 800 500"));
    EXPECT_TRUE(svg.texts.contains(QStringLiteral("MAX: 0.998")))
        << svg.texts.join('|').toStdString();
    EXPECT_TRUE(svg.texts.contains(QStringLiteral("Cutting Movement Distance [mm]")));

    // The next dialog opens in that folder with that format.
    const QString pdfPath = saveAs(QStringLiteral("report.pdf"), QSize(1200, 750));
    ASSERT_EQ(prompts.requests.size(), 2u);
    EXPECT_EQ(prompts.requests[1].folder, folder.path());
    EXPECT_EQ(prompts.requests[1].format, QStringLiteral("svg"));
    EXPECT_EQ(prompts.requests[1].fileName, QStringLiteral("CUTDATA.svg"));
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdfPath});
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           1"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size: +900 x 56[23]"))))
        << info.toStdString();
    EXPECT_TRUE(runTool(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")})
                    .contains(QStringLiteral("MAX: 0.998")));
    EXPECT_EQ(runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdfPath})
                  .count(QLatin1Char('\n')),
              2)
        << "no image";

    EXPECT_EQ(ReadIniValue(QStringLiteral("Chart Export"), QStringLiteral("Folder")),
              folder.path());
    EXPECT_EQ(ReadIniValue(QStringLiteral("Chart Export"), QStringLiteral("Format")),
              QStringLiteral("pdf"));
}

TEST_F(ChartExportTest, CancelAndUnwritableFilesLeaveNothingBehind) {
    prompts.choices.push_back(std::nullopt);
    commands->saveChartAs().trigger();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(ReadIniValue(QStringLiteral("Chart Export"), QStringLiteral("Folder")).isEmpty());

    for (const char* name : {"missing/chart.png", "missing/chart.svg", "missing/chart.pdf"}) {
        prompts.messages.clear();
        saveAs(QLatin1String(name), QSize(400, 300));
        ASSERT_EQ(prompts.messages.size(), 1u) << name;
        EXPECT_TRUE(prompts.messages[0].text.contains(QLatin1String(name)));
    }
    EXPECT_TRUE(ReadIniValue(QStringLiteral("Chart Export"), QStringLiteral("Folder")).isEmpty());
}

// The suggested name is the shown file's without its last ending, in the format chosen last.
TEST_F(ChartExportTest, TheSuggestedNameDropsOnlyTheDataFilesLastEnding) {
    const struct {
        const char* shown;
        const char* suggested;
    } cases[] = {
        {"/data/a.b.txt", "a.b.png"},
        {"/data/run.2024.05.dat", "run.2024.05.png"},
        {"/data/noending", "noending.png"},
        {"", "chart.png"},
    };
    ChartExport exporter(*chart.viewer());
    for (const auto& c : cases) {
        prompts.requests.clear();
        exporter.saveChartAs(QString::fromUtf8(c.shown));
        ASSERT_EQ(prompts.requests.size(), 1u) << c.shown;
        EXPECT_EQ(prompts.requests[0].fileName, QString::fromUtf8(c.suggested)) << c.shown;
    }
}

// The file-size limit of the process for as long as it lives, with SIGXFSZ ignored, so that a
// write past it fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, mOld.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = nullptr;
};

// A saved chart replaces its file in one step: another hard link keeps the old contents, and a
// write that fails keeps the old file, says why in one message and is not remembered.
TEST_F(ChartExportTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    const char* const names[] = {"old.png", "old.svg", "old.pdf"};
    for (const char* name : names) {
        const QString path = folder.filePath(QLatin1String(name));
        apptest::writeFile(path, "old");
        prompts.messages.clear();
        {
            const FileSizeLimit limit(512);
            saveAs(QLatin1String(name), QSize(400, 300));
        }
        ASSERT_EQ(prompts.messages.size(), 1u) << name;
        EXPECT_TRUE(prompts.messages[0].text.contains(path + QStringLiteral(": File too large")))
            << prompts.messages[0].text.toStdString();
        EXPECT_EQ(apptest::readFile(path), QByteArray("old")) << name;
    }
    EXPECT_TRUE(ReadIniValue(QStringLiteral("Chart Export"), QStringLiteral("Folder")).isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral(".*")}, QDir::Hidden | QDir::Files),
              QStringList());

    prompts.messages.clear();
    for (const char* name : names) {
        const QString path = folder.filePath(QLatin1String(name));
        const QString hard = folder.filePath(QStringLiteral("hard-") + QLatin1String(name));
        ASSERT_EQ(::link(qPrintable(path), qPrintable(hard)), 0);
        saveAs(QLatin1String(name), QSize(400, 300));
        EXPECT_GT(apptest::readFile(path).size(), 512) << name;
        EXPECT_EQ(apptest::readFile(hard), QByteArray("old")) << name;
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ChartExportTest, CopyChartPutsTheImageAndItsSvgOnTheClipboard) {
    // The chart as saved at its own size, which the PNG test holds equal to the chart shown.
    std::int16_t width = 0;
    std::int16_t height = 0;
    window->Viewer1().getBmpSize(width, height);
    const QImage shown(saveAs(QStringLiteral("shown.png"), QSize(width, height)));
    ASSERT_FALSE(shown.isNull());
    QGuiApplication::clipboard()->clear();
    commands->copyChart().trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32),
              shown);
    const SvgSummary svg = summarise(data->data(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(svg.valid);
    EXPECT_TRUE(svg.texts.contains(QStringLiteral("MAX: 0.998")));
}

TEST(SaveChartDialog, TheSizeKeepsItsAspectUntilToldAndNamesGetTheFiltersEnding) {
    apptest::application();
    SaveChartDialog dialog({QString(), QStringLiteral("chart.png"), QStringLiteral("svg"),
                            QSize(1000, 600), QString()});
    EXPECT_EQ(dialog.selectedNameFilter(), SaveChartDialog::filters().at(1));
    ChartSizeField& size = dialog.sizeField();
    EXPECT_EQ(size.chartSize(), QSize(1000, 600));
    size.widthBox().setValue(500);
    EXPECT_EQ(size.chartSize(), QSize(500, 300));
    size.heightBox().setValue(1200);
    EXPECT_EQ(size.chartSize(), QSize(2000, 1200));
    size.keepAspectBox().setChecked(false);
    size.heightBox().setValue(100);
    EXPECT_EQ(size.chartSize(), QSize(2000, 100));
    size.keepAspectBox().setChecked(true);
    size.widthBox().setValue(1000);
    EXPECT_EQ(size.chartSize(), QSize(1000, 50));

    const struct {
        const char* name;
        int filter;
        const char* expected;
    } names[] = {
        {"report", 0, "report.png"},         {"report", 2, "report.pdf"},
        {"report.SVG", 0, "report.SVG"},     {"report.pdf", 1, "report.pdf"},
        {"report.jpg", 1, "report.jpg.svg"}, {"", 1, ""},
    };
    for (const auto& n : names)
        EXPECT_EQ(SaveChartDialog::withEnding(QLatin1String(n.name),
                                              SaveChartDialog::filters().at(n.filter)),
                  QLatin1String(n.expected));
}

// Save Chart As never replaces the data file shown: one message names it, and it keeps its bytes.
TEST_F(ChartExportTest, TheShownDataIsNeverReplaced) {
    const QString data = folder.filePath(QStringLiteral("run.txt"));
    ASSERT_TRUE(QFile::copy(window->fileName(), data));
    ASSERT_TRUE(QFile::link(data, folder.filePath(QStringLiteral("link.svg"))));
    ASSERT_TRUE(QFile::link(data, folder.filePath(QStringLiteral("link.png"))));
    window->open(data);
    ASSERT_EQ(window->fileName(), data);
    QFile file(data);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    for (const QString& name : {QStringLiteral("link.png"), QStringLiteral("link.svg")}) {
        prompts.messages.clear();
        saveAs(name, QSize(300, 200));
        ASSERT_EQ(prompts.messages.size(), 1u) << name.toStdString();
        EXPECT_TRUE(
            prompts.messages[0].text.endsWith(QStringLiteral("it is the open data file ") + data))
            << prompts.messages[0].text.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << name.toStdString();
        file.close();
    }
}

} // namespace
