// The generator first: its emit() is no Qt keyword.
#include "cutsynthesizer.h"
#include "ncprogramwriter.h"
#include "textcutwriter.h"

#include "../platform/addressspacelimit.h"
#include "changeruns.h"
#include "cutloader.h"
#include "forms/changespanel.h"
#include "forms/chartstatus.h"
#include "forms/panellist.h"
#include "forms/peakspanel.h"
#include "forms/programpanel.h"
#include "forms/programview.h"
#include "forms/viewmenu.h"
#include "mainwindowfixture.h"
#include "shownpeaks.h"

#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

// The program and peaks panels of the real main window.

namespace {

template <typename Writer> void writeGenerated(const QString& path) {
    Writer writer;
    CutSynthesizer(8).generate(3000, writer);
    std::ofstream(path.toStdString(), std::ios::binary) << writer.contents();
}

// Generated data "part.txt" and its program "Part.NC" in the program folder; the data's path.
QString writePart() {
    const QString data = gAppFolder + QStringLiteral("part.txt");
    writeGenerated<TextCutWriter>(data);
    writeGenerated<NcProgramWriter>(gAppFolder + QStringLiteral("Part.NC"));
    return data;
}

void touch(const QString& path) {
    std::ofstream(path.toStdString()) << "N1\n";
}

TEST(ProgramBeside, SameBaseNameInAnyCaseAndTheFirstEnding) {
    struct Case {
        QStringList files;
        QString expected; // empty: none
    };
    const Case cases[] = {
        {{"part.nc"}, "part.nc"},
        {{"PART.NC"}, "PART.NC"},
        {{"Part.Gcode", "part.eia"}, "Part.Gcode"},
        {{"part.eia", "part.ngc", "part.min"}, "part.ngc"},
        {{"part.iso", "part.tap"}, "part.tap"},
        {{"part2.nc", "part.txt.nc", "part.doc"}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        touch(folder.filePath("part.txt"));
        for (const QString& file : c.files)
            touch(folder.filePath(file));
        const QString found = ProgramPanel::programBeside(folder.filePath("part.txt"));
        EXPECT_EQ(found, c.expected.isEmpty() ? QString() : folder.filePath(c.expected))
            << c.files.join(u' ').toStdString();
    }
}

// The program of `bytes`, read from a file as the panel reads it; the file is gone afterwards.
std::shared_ptr<ProgramFile> programOf(const std::string& bytes) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("p.nc")).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    auto program = std::make_shared<ProgramFile>();
    int error = 0;
    EXPECT_TRUE(ProgramFile::read(path, *program, error)) << error;
    return program;
}

// A line shows and is searched in its first bytes only, never cutting a character in two, and
// says how long it is when it is longer.
TEST(ProgramViewLines, ALongLineShowsItsStartAndItsLength) {
    apptest::application();
    const std::string ascii(ProgramView::kShownBytes, 'X');
    const std::string euro = "\xE2\x82\xAC";
    struct Case {
        std::string line;
        std::size_t shown;
        QString note;
    };
    const Case cases[] = {
        {"N1 G00 X1", 9, {}},
        {ascii, ascii.size(), {}},
        {ascii + "Y", ascii.size(), QStringLiteral(" \u2026 (4097 bytes)")},
        {ascii.substr(2) + euro, ascii.size() - 2, QStringLiteral(" \u2026 (4097 bytes)")},
        {ascii.substr(1) + euro, ascii.size() - 1, QStringLiteral(" \u2026 (4098 bytes)")},
        {std::string(5000, '\x80'), ascii.size(), QStringLiteral(" \u2026 (5000 bytes)")},
    };
    for (const Case& c : cases) {
        ProgramView view;
        view.setProgram(programOf(c.line + "\n"));
        EXPECT_EQ(view.shownBytes(1), std::string_view(c.line).substr(0, c.shown)) << c.shown;
        EXPECT_EQ(view.cutNote(1), c.note) << c.shown;
    }
}

TEST(ProgramViewLines, FindSearchesTheShownBytesOfEveryLine) {
    apptest::application();
    const std::string head = "N1 G00 X1 " + std::string(ProgramView::kShownBytes, 'X');
    const std::string near = "N3 " + std::string(ProgramView::kShownBytes - 8, 'X') + "FOUND";
    const std::string program = head + "SHOWN\nN2 NEAR\n" + near + "\n";
    ProgramView view;
    view.resize(400, 300);
    view.setProgram(programOf(program));
    EXPECT_FALSE(view.find(QStringLiteral("SHOWN"))) << "beyond the shown bytes";
    EXPECT_TRUE(view.find(QStringLiteral("FOUND")));
    EXPECT_EQ(view.markedLine(), 3u);
    EXPECT_TRUE(view.find(QStringLiteral("NEAR")));
    EXPECT_EQ(view.markedLine(), 2u);
}

// A control from before the program members: every call is a member it does not know.
class ControlWithoutMembers : public component::DispatchObject {
public:
    component::InvokeResult invoke(int, component::InvokeKind, QVariantList&, QVariant*) override {
        return component::InvokeResult::MemberNotFound;
    }
};

TEST(ProgramPanels, StayAwayWithAControlThatLacksTheirMembers) {
    apptest::application();
    QMainWindow window;
    QMenu& fileMenu = *window.menuBar()->addMenu(QStringLiteral("File"));
    QAction& exit = *fileMenu.addAction(QStringLiteral("Exit"));
    ControlWithoutMembers control;
    CurvexProxy viewer(control);
    EXPECT_EQ(ProgramPanel::attach(window, viewer, fileMenu, exit), nullptr);
    EXPECT_EQ(PeaksPanel::attach(window, viewer, ViewMenu(window)), nullptr);
    EXPECT_EQ(fileMenu.actions().size(), 1);
    EXPECT_TRUE(window.findChildren<QDockWidget*>().isEmpty());
}

class ProgramWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        data = writePart();
        ASSERT_TRUE(LoadCutFile(data.toStdString(), CutFormat::Text, loaded).ok());
        load();
        ASSERT_NE(window->programPanel(), nullptr);
        ASSERT_NE(window->peaksPanel(), nullptr);
    }

    ProgramPanel& panel() { return *window->programPanel(); }
    // Opens the data and waits until its program is read and mapped.
    void openAndLink(const QString& path) {
        open(path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panel().reading() && panel().linked(); }));
    }
    ProgramView& view() { return panel().view(); }

    // The line of the program that has block number n.
    std::uint32_t lineOfBlock(std::int32_t n) {
        const std::string head = "N" + std::to_string(n) + " ";
        for (std::size_t line = 1; line <= view().program()->lineCount(); ++line) {
            if (view().program()->head(line, ProgramView::kShownBytes).substr(0, head.size()) ==
                head)
                return static_cast<std::uint32_t>(line);
        }
        return 0;
    }

    QString data;
    CutDataSet loaded;
};

TEST_F(ProgramWindowTest, TheProgramBesideTheDataIsShown) {
    const QList<QAction*> file = window->mnuFile().actions();
    EXPECT_EQ(file.indexOf(&panel().mnuOpenProgram()), file.indexOf(&window->mnuOpen()) + 1);
    EXPECT_TRUE(panel().dock().isHidden()) << "hidden until a program is found";
    openAndLink(data);
    EXPECT_FALSE(panel().dock().isHidden());
    EXPECT_TRUE(panel().caption().text().contains(QStringLiteral("Part.NC")));
    ASSERT_NE(view().program(), nullptr);
    EXPECT_GT(view().program()->lineCount(), 3000u);
    const QString alone = gAppFolder + QStringLiteral("alone.txt");
    QFile::copy(data, alone);
    open(alone);
    EXPECT_TRUE(panel().caption().text().startsWith(QStringLiteral("No NC program found")));
    EXPECT_EQ(view().program(), nullptr);
}

// Programs are read in the background: of two openings in a row the later one is shown; one that
// cannot be opened is said to be unreadable.
TEST_F(ProgramWindowTest, TheLastProgramOpenedIsShown) {
    openAndLink(data);
    const QString other = gAppFolder + QStringLiteral("other.nc");
    std::ofstream(other.toStdString()) << "N1 G00 X0\nN2 G01 X5 F300\n";
    ASSERT_TRUE(panel().openProgram(other));
    EXPECT_TRUE(panel().reading());
    EXPECT_TRUE(panel().caption().text().startsWith(QStringLiteral("Reading ")));
    ASSERT_TRUE(panel().openProgram(gAppFolder + QStringLiteral("Part.NC")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel().reading() && panel().linked(); }));
    EXPECT_TRUE(panel().caption().text().contains(QStringLiteral("Part.NC")));
    EXPECT_GT(view().program()->lineCount(), 3000u);
    EXPECT_FALSE(panel().openProgram(gAppFolder + QStringLiteral("gone.nc")));
    EXPECT_TRUE(panel().caption().text().startsWith(QStringLiteral("Cannot read the NC program")));
}

// A program whose line index does not fit in the memory left (42 million empty lines, 8 bytes a
// line): the panel says why it could not be read, and the data stays shown.
TEST_F(ProgramWindowTest, AProgramBeyondMemoryIsNotReadAndTheDataStays) {
    std::ofstream((gAppFolder + QStringLiteral("Part.NC")).toStdString(), std::ios::binary)
        << std::string(std::size_t{40} << 20, '\n');
    bool read = false;
    {
        const AddressSpaceLimit limit(rlim_t{256} << 20);
        ASSERT_TRUE(limit.set());
        open(data);
        read = QTest::qWaitFor([&] { return !panel().reading(); }, 60000);
    }
    ASSERT_TRUE(read);
    const QString caption = panel().caption().text();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Cannot read the NC program ")) &&
                caption.endsWith(QStringLiteral("Part.NC: out of memory")))
        << caption.toStdString();
    EXPECT_EQ(view().program(), nullptr);
    EXPECT_EQ(window->Viewer1().getTotalRow().value_or(MachiningRow()).records, loaded.count);
}

// Data opened again beside the same, unchanged program: the panel keeps the text it read, and
// the control maps the new data to the program it has.
TEST_F(ProgramWindowTest, DataOpenedAgainKeepsTheProgramItWasShown) {
    openAndLink(data);
    const ProgramFile* shown = view().program();
    open(data);
    EXPECT_FALSE(panel().reading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel().linked(); }));
    EXPECT_EQ(view().program(), shown);
    ASSERT_TRUE(window->Viewer1().markRecord(100).value_or(false));
    EXPECT_EQ(view().markedLine(), lineOfBlock(loaded.records[100].blockNo));
}

// A program that goes stays shown as it was read; once back, changed, it is read again.
TEST_F(ProgramWindowTest, AProgramGoneAndBackIsReadAgain) {
    openAndLink(data);
    const QString program = gAppFolder + QStringLiteral("Part.NC");
    const std::size_t lines = view().program()->lineCount();
    ASSERT_TRUE(QFile::rename(program, gAppFolder + QStringLiteral("away.tmp")));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return panel().caption().text().endsWith(QStringLiteral("as it was read")); }, 5000))
        << panel().caption().text().toStdString();
    ASSERT_NE(view().program(), nullptr);
    EXPECT_EQ(view().program()->lineCount(), lines);
    std::ofstream(program.toStdString()) << "N1 G00 X0\nN2 G01 X5 F300\nN3 G01 Y5\n";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !panel().reading() && view().program()->lineCount() == 3; }, 5000));
    EXPECT_TRUE(panel().caption().text().contains(QStringLiteral("(3 lines)")))
        << panel().caption().text().toStdString();
}

// Waits until a change made now gets a later time than `time`: file times follow a coarse clock.
void waitForTheClock(const timespec& time) {
    timespec now{};
    do {
        QTest::qWait(2);
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    } while (now.tv_sec < time.tv_sec ||
             (now.tv_sec == time.tv_sec && now.tv_nsec <= time.tv_nsec));
}

// Longer than the wait for a changed program to settle.
constexpr int kBeyondTheSettlingWait = 1500;

// Files coming, changing and going beside the program read nothing again; the program's own
// change still is read.
TEST_F(ProgramWindowTest, AChangeOfAnotherFileInTheFolderReadsNothing) {
    openAndLink(data);
    const ProgramFile* shown = view().program();
    const QString caption = panel().caption().text();
    const QString neighbour = gAppFolder + QStringLiteral("neighbour.nc");
    std::ofstream(neighbour.toStdString()) << "N1 G00 X0\n";
    std::ofstream(neighbour.toStdString(), std::ios::app) << "N2 G01 X5\n";
    ASSERT_TRUE(QFile::rename(neighbour, gAppFolder + QStringLiteral("moved.nc")));
    ASSERT_TRUE(QFile::remove(gAppFolder + QStringLiteral("moved.nc")));
    QTest::qWait(kBeyondTheSettlingWait);
    EXPECT_FALSE(panel().reading());
    EXPECT_EQ(view().program(), shown);
    EXPECT_EQ(panel().caption().text(), caption);
    std::ofstream(gAppFolder.toStdString() + "Part.NC", std::ios::app) << "N9999 G01 X1\n";
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !panel().reading() && view().program() != shown; }, 5000))
        << "the program itself is still watched";
}

// A program gone and back as it was is watched again: a later edit in place is read.
TEST_F(ProgramWindowTest, AProgramBackFromAwayIsWatchedAgain) {
    openAndLink(data);
    const QString program = gAppFolder + QStringLiteral("Part.NC");
    const QString away = gAppFolder + QStringLiteral("away.tmp");
    ASSERT_TRUE(QFile::rename(program, away));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return panel().caption().text().endsWith(QStringLiteral("as it was read")); }, 5000));
    ASSERT_TRUE(QFile::rename(away, program));
    QTest::qWait(kBeyondTheSettlingWait);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel().reading(); }, 5000));
    {
        std::ofstream edit(program.toStdString(), std::ios::in | std::ios::out | std::ios::binary);
        edit << "N1 G00 X0\nN2 G01 X5 F300\n";
        edit.seekp(0, std::ios::end);
        edit << "N3 G01 Y5\n";
    }
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !panel().reading() &&
                   view().program()->head(1, ProgramView::kShownBytes) == "N1 G00 X0";
        },
        5000))
        << panel().caption().text().toStdString();
}

// A program still being written, a line every tenth of a second, is not read until it has been
// quiet for the whole wait; then it is read as written.
TEST_F(ProgramWindowTest, AProgramBeingWrittenIsReadOnceItIsQuiet) {
    openAndLink(data);
    const ProgramFile* shown = view().program();
    std::ofstream out((gAppFolder + QStringLiteral("Part.NC")).toStdString(), std::ios::trunc);
    for (int k = 1; k <= 15; ++k) {
        out << "N" << k << " G01 X" << k << "\n" << std::flush;
        QTest::qWait(100);
        EXPECT_FALSE(panel().reading()) << "after line " << k;
        EXPECT_EQ(view().program(), shown) << "after line " << k;
    }
    out.close();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !panel().reading() && view().program()->lineCount() == 15; }, 5000));
}

// A program changed with its size and modification time as they were, so that only its change
// time moved, is read again.
TEST_F(ProgramWindowTest, AProgramWhoseChangeTimeMovedIsReadAgain) {
    openAndLink(data);
    const std::string program = (gAppFolder + QStringLiteral("Part.NC")).toStdString();
    const struct {
        const char* name;
        std::function<void()> change;
        const char* firstLine; // of the text read again, when it changed
    } cases[] = {
        {"rewritten, its times put back",
         [&] {
             struct stat before {};
             ASSERT_EQ(::stat(program.c_str(), &before), 0);
             waitForTheClock(before.st_ctim);
             std::fstream edit(program, std::ios::in | std::ios::out | std::ios::binary);
             edit.seekp(0);
             edit << "%";
             edit.close();
             const timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, program.c_str(), times, 0), 0);
         },
         "%"},
        {"its permissions changed",
         [&] {
             struct stat before {};
             ASSERT_EQ(::stat(program.c_str(), &before), 0);
             waitForTheClock(before.st_ctim);
             ASSERT_EQ(::chmod(program.c_str(), (before.st_mode & 07777) ^ 0040), 0);
         },
         nullptr},
    };
    for (const auto& c : cases) {
        const ProgramFile* shown = view().program();
        const std::uintmax_t size = std::filesystem::file_size(program);
        c.change();
        ASSERT_EQ(std::filesystem::file_size(program), size) << c.name;
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !panel().reading() && view().program() != shown; }, 5000))
            << c.name;
        if (c.firstLine) {
            EXPECT_EQ(view().program()->head(1, ProgramView::kShownBytes).substr(0, 1), c.firstLine)
                << c.name;
        }
    }
}

// The caption notes a program without any N word, whose lines are matched by block number; a
// program where only some lines have one says nothing of it.
TEST_F(ProgramWindowTest, TheCaptionNotesAProgramWithoutBlockNumbers) {
    openAndLink(data);
    const QString note = QStringLiteral("no N words: lines matched by block number");
    const struct {
        const char* name;
        const char* text;
        bool noted;
    } cases[] = {
        {"plain.nc", "G00 X0\nG01 X5 F300\nG01 Y5\n", true},
        {"some.nc", "%\nO0001\nG00 X0\nN2 G01 X5 F300\nM30\n", false},
        {"numbered.nc", "N1 G00 X0\nN2 G01 X5 F300\n", false},
    };
    for (const auto& c : cases) {
        const QString path = gAppFolder + QString::fromLatin1(c.name);
        std::ofstream(path.toStdString()) << c.text;
        ASSERT_TRUE(panel().openProgram(path)) << c.name;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panel().reading() && panel().linked(); }))
            << c.name;
        const QString caption = panel().caption().text();
        EXPECT_TRUE(caption.contains(QString::fromLatin1(c.name))) << caption.toStdString();
        EXPECT_EQ(caption.endsWith(note), c.noted) << caption.toStdString();
    }
}

// A record marked on the chart marks its line; a click on a line marks its record on the chart.
TEST_F(ProgramWindowTest, ChartAndProgramAreLinkedBothWays) {
    openAndLink(data);
    for (const std::uint32_t record : {100u, 2500u, 7u}) {
        ASSERT_TRUE(
            window->Viewer1().markRecord(static_cast<std::int32_t>(record)).value_or(false));
        EXPECT_EQ(view().markedLine(), lineOfBlock(loaded.records[record].blockNo)) << record;
        EXPECT_LE(view().firstShownLine(), view().markedLine());
    }
    for (const std::int32_t block : {1500, 40}) {
        const std::uint32_t line = lineOfBlock(block);
        view().markLine(line);
        const int y =
            static_cast<int>(line - view().firstShownLine()) * view().fontMetrics().height() + 2;
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, QPoint(60, y));
        EXPECT_TRUE(window->chartStatus().message().startsWith(QStringLiteral("N%1 ").arg(block)))
            << window->chartStatus().message().toStdString();
        EXPECT_EQ(view().markedLine(), line);
    }
}

// The peaks of what the chart shows, read again after each redraw; a click goes to the peak.
TEST_F(ProgramWindowTest, PeaksFollowTheChart) {
    openAndLink(data);
    QTableWidget& table = window->peaksPanel()->table();
    EXPECT_EQ(table.rowCount(), 0) << "hidden, the panel asks for nothing";
    window->peaksPanel()->dock().show();
    for (const auto& range : {std::pair{0.0f, 100.0f}, std::pair{30.0f, 40.0f}}) {
        window->Viewer1().setDistArea(range.first, range.second);
        window->Viewer1().setViewRenewal(true);
        window->Viewer1().refresh();
        ChartState view;
        view.shown.lower = range.first;
        view.shown.upper = range.second;
        const std::vector<Peak> peaks = ShownPeaks(loaded, view);
        // The table follows the redraw, which comes with the next paint.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return table.rowCount() == static_cast<int>(peaks.size()); }));
        ASSERT_EQ(table.rowCount(), static_cast<int>(peaks.size())) << range.first;
        for (int row = 0; row < table.rowCount(); ++row) {
            const CutRecord& r = loaded.records[peaks[static_cast<std::size_t>(row)].index];
            EXPECT_EQ(table.item(row, PeaksPanel::ColumnRank)->text(), QString::number(row + 1));
            EXPECT_EQ(table.item(row, PeaksPanel::ColumnBlock)->text().toInt(), r.blockNo);
            EXPECT_EQ(table.item(row, PeaksPanel::ColumnLine)->text().toUInt(),
                      lineOfBlock(r.blockNo));
        }
    }
    const int block = table.item(1, PeaksPanel::ColumnBlock)->text().toInt();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {},
                      table.visualItemRect(table.item(1, PeaksPanel::ColumnBlock)).center());
    EXPECT_TRUE(window->chartStatus().message().startsWith(QStringLiteral("N%1 ").arg(block)));
    EXPECT_EQ(view().markedLine(), lineOfBlock(block));
}

// "a" for one number, "a-b" for two.
QString spanOf(std::int64_t first, std::int64_t last) {
    return first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last);
}

// The largest slowdowns and speed-ups of the whole file, a tab beside the peaks; a click shows the
// run in the chart and the program.
TEST_F(ProgramWindowTest, ChangesListTheLargestRunsAndShowThem) {
    ChangesPanel* changes = window->changesPanel();
    ASSERT_NE(changes, nullptr);
    window->peaksPanel()->dock().show();
    changes->dock().show();
    EXPECT_TRUE(
        window->tabifiedDockWidgets(&window->peaksPanel()->dock()).contains(&changes->dock()));
    changes->dock().hide();
    EXPECT_TRUE(ViewMenu(*window).actions().contains(changes->dock().toggleViewAction()));
    EXPECT_EQ(changes->dock().toggleViewAction()->text(), QStringLiteral("Changes"));
    openAndLink(data);
    QTableWidget& faster = changes->table(curvex::ChangeKind::Faster);
    EXPECT_EQ(faster.rowCount(), 0) << "hidden, the panel asks for nothing";
    changes->dock().toggleViewAction()->trigger();
    const ChangeLists lists = LargestChangeRuns(loaded, ChangesPanel::kListed);
    ASSERT_FALSE(lists.faster.empty());
    for (const auto kind : {curvex::ChangeKind::Slower, curvex::ChangeKind::Faster}) {
        QTableWidget& table = changes->table(kind);
        const std::vector<ChangeRun>& runs = lists.of(kind);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return table.rowCount() == static_cast<int>(runs.size());
        })) << table.rowCount()
            << " rows, " << runs.size() << " runs";
        for (int row = 0; row < table.rowCount(); ++row) {
            const ChangeRun& run = runs[static_cast<std::size_t>(row)];
            const auto text = [&](int column) { return table.item(row, column)->text(); };
            EXPECT_EQ(text(ChangesPanel::ColumnRank), QString::number(row + 1));
            EXPECT_EQ(text(ChangesPanel::ColumnTool), QString::number(run.toolNo));
            EXPECT_EQ(text(ChangesPanel::ColumnBlocks), spanOf(run.firstBlock, run.lastBlock));
            EXPECT_EQ(text(ChangesPanel::ColumnLines),
                      spanOf(lineOfBlock(run.firstBlock), lineOfBlock(run.lastBlock)));
            EXPECT_EQ(text(ChangesPanel::ColumnLength), QString::number(run.length, 'f', 1));
            EXPECT_EQ(text(ChangesPanel::ColumnTime),
                      QString::number(std::fabs(run.difference()), 'f', 2));
        }
    }
    const ChangeRun& run = lists.faster[1];
    QTest::mouseClick(faster.viewport(), Qt::LeftButton, {},
                      faster.visualItemRect(faster.item(1, ChangesPanel::ColumnBlocks)).center());
    EXPECT_TRUE(
        window->chartStatus().message().startsWith(QStringLiteral("N%1 ").arg(run.firstBlock)))
        << window->chartStatus().message().toStdString();
    EXPECT_EQ(view().markedLine(), lineOfBlock(run.firstBlock));
    const float whole = loaded.totalDistance[loaded.count - 1];
    const float from = loaded.totalDistance[run.first] / whole * 100.0f;
    const float to = loaded.totalDistance[run.last] / whole * 100.0f;
    const auto [lower, upper] = shownRange();
    EXPECT_NEAR(lower, std::max(0.0f, from - (to - from) / 10.0f), 1e-3f);
    EXPECT_NEAR(upper, std::min(100.0f, to + (to - from) / 10.0f), 1e-3f);
}

QAction& viewCommand(FrmMain& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text)
            return *action;
    }
    throw std::runtime_error("no such command");
}

// Find goes on from the marked line and round from the top; Go to Line marks the line asked for.
TEST_F(ProgramWindowTest, FindAndGoToLine) {
    openAndLink(data);
    QAction& find = viewCommand(*window, QStringLiteral("Find in Program..."));
    QAction& goToLine = viewCommand(*window, QStringLiteral("Go to Line..."));
    EXPECT_EQ(find.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(goToLine.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    const std::uint32_t line = lineOfBlock(2999);
    const auto last = static_cast<std::uint32_t>(view().program()->lineCount());
    answers.inputs = {
        QStringLiteral("N2999 G"), QStringLiteral("N2999 G"), QStringLiteral("no such text"),
        QString::number(line - 5), QStringLiteral("0"),       QString::number(last),
        QString::number(last + 1), QStringLiteral("1")};
    find.trigger();
    EXPECT_EQ(view().markedLine(), line);
    view().markLine(line + 1);
    find.trigger();
    EXPECT_EQ(view().markedLine(), line) << "round from the top";
    find.trigger();
    EXPECT_EQ(view().markedLine(), line);
    EXPECT_TRUE(panel().caption().text().contains(QStringLiteral("is not in the program")));
    goToLine.trigger();
    EXPECT_EQ(view().markedLine(), line - 5);
    goToLine.trigger();
    EXPECT_EQ(view().markedLine(), line - 5) << "no line 0";
    goToLine.trigger();
    EXPECT_EQ(view().markedLine(), last) << "the last line";
    goToLine.trigger();
    EXPECT_EQ(view().markedLine(), last) << "no line after the last";
    goToLine.trigger();
    EXPECT_EQ(view().markedLine(), 1u) << "the first line";
}

// Find, F3, Shift+F3 and Go to Line mark the line's record in the chart as a click on the line
// does; the text looked for stays for the next Find and is never written to the settings.
TEST_F(ProgramWindowTest, FindNextAndPreviousMarkTheRecordOfTheLine) {
    openAndLink(data);
    QAction& find = viewCommand(*window, QStringLiteral("Find in Program..."));
    QAction& next = viewCommand(*window, QStringLiteral("Find Next"));
    QAction& previous = viewCommand(*window, QStringLiteral("Find Previous"));
    QAction& goToLine = viewCommand(*window, QStringLiteral("Go to Line..."));
    EXPECT_EQ(next.shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(previous.shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    const ProgramFile& program = *view().program();
    const auto lines = static_cast<std::uint32_t>(program.lineCount());
    const auto lineText = [&](std::uint32_t line) {
        return program.head(line, static_cast<std::size_t>(program.lineLength(line)));
    };
    const std::string text = "X1";
    // The lines that hold the text, walked in the test.
    std::vector<std::uint32_t> holding;
    for (std::uint32_t line = 1; line <= lines; ++line)
        if (lineText(line).find(text) != std::string::npos)
            holding.push_back(line);
    ASSERT_GT(holding.size(), 3u);
    for (const std::uint32_t line : holding)
        ASSERT_EQ(lineText(line).front(), 'N') << "every line found has a record";
    const auto expectMarked = [&](std::uint32_t line, const char* what) {
        EXPECT_EQ(view().markedLine(), line) << what;
        const QString block = QString::fromStdString(lineText(line)).section(u' ', 0, 0);
        EXPECT_TRUE(window->chartStatus().message().startsWith(block + u' '))
            << what << ": " << window->chartStatus().message().toStdString();
    };

    view().markLine(holding[1]);
    answers.inputs = {QString::fromStdString(text)};
    find.trigger();
    expectMarked(holding[2], "Find goes on after the marked line");
    next.trigger();
    expectMarked(holding[3], "F3");
    previous.trigger();
    expectMarked(holding[2], "Shift+F3");
    previous.trigger();
    previous.trigger();
    expectMarked(holding[0], "Shift+F3 twice");
    previous.trigger();
    expectMarked(holding.back(), "round from the end");
    next.trigger();
    expectMarked(holding[0], "round from the top");

    answers.inputs = {};
    find.trigger();
    ASSERT_FALSE(answers.inputDefaults.empty());
    EXPECT_EQ(answers.inputDefaults.back(), QString::fromStdString(text)) << "the text is kept";
    EXPECT_EQ(panel().searchText(), QString::fromStdString(text));

    const std::uint32_t line = lineOfBlock(1500);
    answers.inputs = {QString::number(line)};
    goToLine.trigger();
    expectMarked(line, "Go to Line");
    unload();
    EXPECT_FALSE(apptest::readFile(gIniFile).contains(QByteArray::fromStdString(text + "\n")));
}

// A panel of its own in the window's list, recording what it hears.
class RecordingPanel : public PanelObserver {
public:
    void settingsLoaded() override { hear("settings loaded"); }
    void settingsSaved() override { hear("settings saved"); }
    void fileShown(const QString& path) override { hear("file shown " + path.toStdString()); }
    void chartRedrawn() override { hear("chart redrawn"); }
    void g00FeedChanged() override { hear("g00 feed changed"); }
    void readOutShown(const QVariantList& values) override {
        hear("read-out of " + std::to_string(values.size()) + " values");
    }
    void readOutCleared() override { hear("read-out cleared"); }
    void recordMarked(std::int32_t index) override {
        hear("record marked " + std::to_string(index));
    }
    void programMapped() override { hear("program mapped"); }
    void controlChanged() override { ++changes; }

    // Whether `event` was heard since the last call, which forgets what was heard.
    bool heard(const std::string& event) {
        const bool found = std::find(events.begin(), events.end(), event) != events.end();
        events.clear();
        return found;
    }
    bool heardNow(const std::string& event) const {
        return std::find(events.begin(), events.end(), event) != events.end();
    }

    std::vector<std::string> events;
    int changes = 0;

private:
    void hear(std::string event) { events.push_back(std::move(event)); }
};

class PanelEventsTest : public MainWindowTest {
protected:
    void SetUp() override {
        data = writePart();
        load(&recorder);
    }
    // The window goes first: it must not tell the recorder anything once that is gone.
    void TearDown() override { window.reset(); }

    QString data;
    RecordingPanel recorder;
};

TEST_F(PanelEventsTest, APanelInTheListHearsEveryEventOfTheWindow) {
    EXPECT_TRUE(recorder.heard("settings loaded"));
    open(data);
    EXPECT_TRUE(recorder.heardNow("file shown " + data.toStdString()));
    EXPECT_TRUE(recorder.heardNow("chart redrawn"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.heardNow("program mapped"); }));
    EXPECT_GT(recorder.changes, 0);
    recorder.events.clear();

    ASSERT_TRUE(window->Viewer1().markRecord(100).value_or(false));
    EXPECT_TRUE(recorder.heardNow("record marked 100"));
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events.front().rfind("read-out of ", 0), 0u) << "the read-out comes first";
    recorder.events.clear();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&window->viewerWidget(), &leave);
    EXPECT_TRUE(recorder.heard("read-out cleared"));

    answers.inputs = {QStringLiteral("750")};
    window->mnuG00feed().trigger();
    EXPECT_TRUE(recorder.heard("g00 feed changed"));
    window->Form_Unload();
    EXPECT_TRUE(recorder.heard("settings saved"));
}

// The panels hear each event in the order they were added; a panel the control does not offer
// (null) is left out.
TEST(PanelList, EachPanelHearsEachEventInTheOrderAdded) {
    RecordingPanel first;
    RecordingPanel second;
    PanelList panels;
    panels.add(&first);
    panels.add(nullptr);
    panels.add(&second);
    panels.tell(&PanelObserver::recordMarked, 7);
    panels.tell(&PanelObserver::fileShown, QStringLiteral("a.txt"));
    panels.tell(&PanelObserver::controlChanged);
    const std::vector<std::string> expected = {"record marked 7", "file shown a.txt"};
    EXPECT_EQ(first.events, expected);
    EXPECT_EQ(second.events, expected);
    EXPECT_EQ(first.changes, 1);
    EXPECT_EQ(second.changes, 1);
}

} // namespace
