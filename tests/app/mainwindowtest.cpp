#include "appstate.h"
#include "apptestsupport.h"
#include "derirariva.h"
#include "forms/colorswatch.h"
#include "forms/frmcolordlg.h"
#include "forms/frmmain.h"
#include "mainwindowfixture.h"
#include "varnutl.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST_F(MainWindowTest, OpenDecidesTheFileTypeByEndingOrAsks) {
    const struct {
        const char* name;
        bool binaryContent;
        const char* binSuffix;
        const char* textSuffix;
        std::deque<int> answers;
        bool asked;
        bool loaded;
    } cases[] = {
        {"run.txt", false, "", "", {}, false, true},
        {"RUN.Txt", false, "", "", {}, false, true},
        {"run.TXT", false, "", "", {}, false, true},
        {"run.bin", true, "", "", {}, false, true},
        {"a.dat", true, ".dat", "", {}, false, true},
        {"a.DAT", true, ".dat", "", {}, false, true},
        {"a.csv", false, "", ".csv", {}, false, true},
        {"b.txt", false, ".txt", "", {}, false, true},
        {"c.dat", true, "dat", "", {UserPrompts::AnswerNo}, true, true},
        {"d.dat", false, "", "", {UserPrompts::AnswerYes}, true, true},
        {"e.dat", true, "", "", {UserPrompts::AnswerNo}, true, true},
        {"f.dat", false, "", "", {UserPrompts::AnswerNo}, true, false},
        {"ab", false, "", "", {UserPrompts::AnswerYes}, true, true},
    };
    load();
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        const QString path = sample(name, c.binaryContent);
        gBinSuffix = QString::fromUtf8(c.binSuffix);
        gTextSuffix = QString::fromUtf8(c.textSuffix);
        answers.answers = c.answers;
        answers.messages.clear();
        open(path);
        EXPECT_EQ(answers.messages.size(), c.asked ? 1u : 0u) << c.name;
        EXPECT_EQ(window->windowTitle(), baseCaption + kFourBlanks + (c.loaded ? path : QString()))
            << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
    }
}

TEST_F(MainWindowTest, TypeQuestionTextsAndCancel) {
    load();
    open(sample(QStringLiteral("run.txt"), false));
    const QString shown = window->windowTitle();
    answers.answers = {UserPrompts::AnswerCancel};
    open(sample(QStringLiteral("a.dat"), true));
    ASSERT_EQ(answers.messages.size(), 1u);
    const apptest::ShownMessage& question = answers.messages[0];
    EXPECT_EQ(question.text, QStringLiteral("Is the monitering data file a text file?\r\n"
                                            "Yes : Text File   No : Binary File"));
    EXPECT_EQ(question.title, QStringLiteral("Choice File Type"));
    EXPECT_EQ(question.icon, UserPrompts::Icon::Question);
    EXPECT_EQ(question.buttons, UserPrompts::Buttons::YesNoCancel);
    EXPECT_EQ(window->windowTitle(), shown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, CancellingTheOpenDialogDropsTheNameButKeepsTheChart) {
    load();
    EXPECT_EQ(window->windowTitle(), baseCaption);
    open(sample(QStringLiteral("run.txt"), false));
    const QImage chart = window->viewerWidget().grab().toImage();
    answers.chosenFiles.clear();
    window->mnuOpen().trigger();
    EXPECT_EQ(answers.fileRequests.size(), 2u);
    EXPECT_EQ(window->windowTitle(), baseCaption + kFourBlanks);
    EXPECT_TRUE(window->fileName().isEmpty());
    EXPECT_EQ(window->viewerWidget().grab().toImage(), chart);
}

TEST_F(MainWindowTest, DroppedFileOpensWithoutTheDialog) {
    load();
    const QString path = sample(QStringLiteral("run.txt"), false);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window->viewerWidget(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window->viewerWidget(), &drop);
    EXPECT_TRUE(answers.fileRequests.empty());
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_EQ(window->windowTitle(), baseCaption + kFourBlanks + path);
}

TEST_F(MainWindowTest, G00FeedIsAskedAgainAfterTextAndKeptBetweenRuns) {
    load();
    answers.inputs = {QStringLiteral("abc"), QStringLiteral("2500.5")};
    window->mnuG00feed().trigger();
    EXPECT_EQ(answers.beeps, 1);
    EXPECT_EQ(answers.inputPrompts,
              (std::vector<QString>{QStringLiteral("Input the feed rate of G00"),
                                    QStringLiteral("Input numerical value!!\r\n\r\n"
                                                   "Input the feed rate of G00")}));
    EXPECT_EQ(answers.inputDefaults, std::vector<QString>(2, QStringLiteral("5000")));
    EXPECT_EQ(window->Viewer1().getG00feed(), 2500.5f);

    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("G00 Feed")), QStringLiteral("2500.5"));
    load();
    EXPECT_EQ(window->Viewer1().getG00feed(), 2500.0f);
}

TEST_F(MainWindowTest, FunctionAndAxisMenusKeepOneItemChecked) {
    load();
    for (const int i : {2, 0, 1, 1}) {
        window->mnuFunc(i).trigger();
        EXPECT_EQ(window->Viewer1().getDrawMode(), 1 << i);
        window->mnuDist(i).trigger();
        EXPECT_EQ(window->Viewer1().distanceMode(), i);
        for (int item = 0; item < 3; ++item) {
            EXPECT_EQ(window->mnuFunc(item).isChecked(), item == i) << i << ' ' << item;
            EXPECT_EQ(window->mnuDist(item).isChecked(), item == i) << i << ' ' << item;
        }
    }
    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Draw Mode")), QStringLiteral("2"));
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Dist Mode")), QStringLiteral("1"));
}

TEST_F(MainWindowTest, ReDrawedSetsTheScrollBarAndAStepMovesTheShownPart) {
    load();
    open(sample(QStringLiteral("run.txt"), false));
    QScrollBar& bar = window->HS1();
    EXPECT_EQ(bar.maximum(), 0);
    EXPECT_EQ(bar.value(), 0);

    window->Viewer1_ReDrawed(25, 75, 1000);
    EXPECT_EQ(bar.singleStep(), 6);
    EXPECT_EQ(bar.pageStep(), 401);
    EXPECT_EQ(bar.maximum(), 500);
    EXPECT_EQ(bar.value(), 250);
    EXPECT_EQ(shownRange(), std::pair(0.0f, 100.0f)); // the updates sent nothing

    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const auto [lower, upper] = shownRange();
    EXPECT_FLOAT_EQ(lower, 34.13333f);
    EXPECT_FLOAT_EQ(upper, 84.13333f);
    EXPECT_EQ(bar.value(), 256);
}

TEST_F(MainWindowTest, DragInTheChartMovesTheScrollBarAndStepsKeepTheThumb) {
    load();
    open(sample(QStringLiteral("run.txt"), false));
    QWidget& chart = window->viewerWidget();
    const int y = chart.height() / 2;
    const QPoint from(chart.width() * 2 / 5, y);
    const QPoint to(chart.width() * 3 / 5, y);
    QTest::mouseMove(&chart, from);
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&chart, to);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, to);
    QScrollBar& bar = window->HS1();
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.maximum() > 0; }));

    const auto [lower, upper] = shownRange();
    ASSERT_GT(lower, 0.0f);
    ASSERT_LT(upper, 100.0f);
    ASSERT_GT(bar.maximum(), 0);
    EXPECT_TRUE(bar.isEnabled());
    const int expectedValue = static_cast<int>(
        std::floor(static_cast<float>(bar.maximum()) * lower / (100 - (upper - lower))));
    EXPECT_EQ(bar.value(), expectedValue);

    const int before = bar.value();
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar.value(), before + bar.singleStep());
    const auto [movedLower, movedUpper] = shownRange();
    EXPECT_GT(movedLower, lower);
    EXPECT_NEAR(movedUpper - movedLower, upper - lower, 1e-3);
    // Without the guard the nested render would have put the thumb where this lower end is.
    const int jumped = static_cast<int>(
        std::floor(static_cast<float>(bar.maximum()) * movedLower / (100 - (upper - lower))));
    EXPECT_NE(bar.value(), jumped);
}

TEST_F(MainWindowTest, ResizeKeepsTheMinimumAndLaysOutTheControls) {
    load();
    const double dpi = window->logicalDpiY();
    const auto px = [dpi](int twips) { return static_cast<int>(std::lround(twips * dpi / 1440)); };
    const QSize minimum(px(1455) * 3, px(375) * 5);

    window->resize(50, 40);
    QTest::qWait(50);
    EXPECT_EQ(window->size(), minimum);

    window->resize(minimum.width() + 300, minimum.height() + 200);
    QTest::qWait(50);
    const auto checkLayout = [&] {
        const QSize client = window->centralWidget()->size();
        const QRect graph = window->viewerWidget().geometry();
        const QRect button = window->Command1().geometry();
        const QRect bar = window->HS1().geometry();
        EXPECT_EQ(graph.topLeft(), QPoint(px(120), px(120)));
        EXPECT_NEAR(button.right() + 1, client.width() - px(120), 1);
        EXPECT_NEAR(button.bottom() + 1, client.height() - px(120), 1);
        EXPECT_NEAR(graph.right() + 1, client.width() - px(120), 1);
        EXPECT_NEAR(graph.bottom() + 1, button.top() - px(120), 1);
        EXPECT_EQ(bar.top(), button.top());
        EXPECT_EQ(bar.left(), graph.left());
        EXPECT_NEAR(bar.right() + 1, button.left() - px(1455 / 10), 1);
        EXPECT_EQ(button.size(), QSize(px(1455), px(375)));
    };
    checkLayout();

    window->Viewer1().setViewRenewal(false);
    window->showMinimized();
    QTest::qWait(50);
    EXPECT_TRUE(window->Viewer1().viewRenewal());
    window->showNormal();
    QTest::qWait(50);
    checkLayout();
}

TEST_F(MainWindowTest, ColourDialogChangesReachTheControlOnlyOnOk) {
    load();
    const auto colours = [this] {
        std::array<std::int32_t, 16> c{};
        for (int n = 0; n < 16; ++n)
            c[n] = window->Viewer1().getGraphColor(n);
        return c;
    };
    const auto before = colours();

    answers.chosenColors = {0x0000FFu, 0x00FF00u};
    whileModal<FrmColorDlg>(window->mnuDrawColor(), [](FrmColorDlg& dialog) {
        dialog.colorIndex()->setText(QStringLiteral("3"));
        QTest::mouseClick(dialog.command1(), Qt::LeftButton);
        dialog.colorIndex()->setText(QStringLiteral("8"));
        QTest::mouseClick(dialog.command1(), Qt::LeftButton);
        QTest::mouseClick(dialog.command3(), Qt::LeftButton);
    });
    EXPECT_EQ(colours(), before);

    answers.chosenColors = {0x00FFFFu};
    answers.colorPresets.clear();
    whileModal<FrmColorDlg>(window->mnuDrawColor(), [](FrmColorDlg& dialog) {
        QTest::mouseDClick(dialog.pctColor(5), Qt::LeftButton);
        EXPECT_EQ(dialog.lab(5)->palette().color(QPalette::Window), QColor(0, 0, 0x80));
        QTest::mouseClick(dialog.command2(), Qt::LeftButton);
    });
    ASSERT_EQ(answers.colorPresets.size(), 1u);
    EXPECT_EQ(answers.colorPresets[0], static_cast<std::uint32_t>(before[5]));
    auto expected = before;
    expected[5] = 0x00FFFF;
    EXPECT_EQ(colours(), expected);

    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Drawing Color 5")),
              QString::number(0x00FFFF));
}

TEST_F(MainWindowTest, ExitSavesTheSettingsAndEndsTheEventLoop) {
    load();
    window->mnuDist(2).trigger();
    QTimer::singleShot(0, [this] { window->mnuExit().trigger(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Dist Mode")), QStringLiteral("2"));
}

} // namespace
