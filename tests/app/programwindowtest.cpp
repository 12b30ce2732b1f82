// The generator first: its emit() is no Qt keyword.
#include "cutsynthesizer.h"
#include "ncprogramwriter.h"
#include "textcutwriter.h"

#include "cutloader.h"
#include "forms/chartstatus.h"
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

#include <fstream>
#include <stdexcept>
#include <string>

// The program and peaks panels of the real main window.

namespace {

template <typename Writer> void writeGenerated(const QString& path) {
    Writer writer;
    CutSynthesizer(8).generate(3000, writer);
    std::ofstream(path.toStdString(), std::ios::binary) << writer.contents();
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
        data = gAppFolder + QStringLiteral("part.txt");
        writeGenerated<TextCutWriter>(data);
        writeGenerated<NcProgramWriter>(gAppFolder + QStringLiteral("Part.NC"));
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
            if (view().program()->line(line).substr(0, head.size()) == head)
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

// Data opened again beside the same, unchanged program: the panel keeps the text it read, and
// the control maps the new data to the program it has.
TEST_F(ProgramWindowTest, DataOpenedAgainKeepsTheProgramItWasShown) {
    openAndLink(data);
    const ProgramText* shown = view().program();
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
        view.lowerPercent = range.first;
        view.upperPercent = range.second;
        const std::vector<Peak> peaks = ShownPeaks(loaded, view);
        // The table follows the redraw, which comes with the next paint.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return table.rowCount() == static_cast<int>(peaks.size()); }));
        ASSERT_EQ(table.rowCount(), static_cast<int>(peaks.size())) << range.first;
        for (int row = 0; row < table.rowCount(); ++row) {
            const CutRecord& r = loaded.records[peaks[static_cast<std::size_t>(row)].index];
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
    answers.inputs = {QStringLiteral("N2999 G"), QStringLiteral("N2999 G"),
                      QStringLiteral("no such text"), QString::number(line - 5),
                      QStringLiteral("0")};
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
}

} // namespace
