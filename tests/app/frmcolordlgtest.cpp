#include "forms/frmcolordlg.h"
#include "appstate.h"
#include "apptestsupport.h"
#include "forms/colorswatch.h"
#include "recordingviewer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FrmColorDlgTest : public ::testing::Test {
protected:
    FrmColorDlgTest() {
        setText(QStringLiteral("dlgBtn1"), QStringLiteral("Change"));
        setText(QStringLiteral("dlgBtn2"), QStringLiteral("OK"));
        setText(QStringLiteral("dlgBtn3"), QStringLiteral("Cancel"));
    }

    // The numbers of the labels shown highlighted: navy background, white text.
    std::vector<int> highlighted(const FrmColorDlg& dialog) const {
        std::vector<int> found;
        for (int n = 0; n < FrmColorDlg::kColorCount; ++n) {
            const QPalette colours = dialog.lab(n)->palette();
            const bool navy = colours.color(QPalette::Window) == QColor(0, 0, 0x80);
            const bool white = colours.color(QPalette::WindowText) == QColor(Qt::white);
            EXPECT_EQ(navy, white) << "label " << n;
            if (navy) {
                found.push_back(n);
            }
        }
        return found;
    }

    QApplication& application = apptest::application();
    RecordingViewer viewer;
    CurvexProxy proxy{viewer};
    apptest::ScriptedPrompts answers;
};

TEST_F(FrmColorDlgTest, LoadShowsTheControlsColoursWithTheFirstSelected) {
    viewer.colours[4] = 0x0000FF;
    FrmColorDlg dialog(proxy);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Establishment of Drawing Color"));
    for (int n = 0; n < FrmColorDlg::kColorCount; ++n) {
        EXPECT_EQ(dialog.pctColor(n)->colorRef(), static_cast<std::uint32_t>(viewer.colours[n]));
        EXPECT_EQ(dialog.lab(n)->text(), QString::number(n + 1));
    }
    EXPECT_EQ(dialog.pctColor(4)->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(dialog.command1()->text(), QStringLiteral("Change"));
    EXPECT_EQ(dialog.command2()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.command3()->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.colorIndex()->text(), QStringLiteral("0"));
    EXPECT_EQ(highlighted(dialog), std::vector<int>{0});
    EXPECT_TRUE(viewer.callsOf(curvex::DispSetGraphColor).empty());
}

TEST_F(FrmColorDlgTest, ColorIndexHighlightsTheRoundedNumberOnly) {
    const struct {
        const char* text;
        std::vector<int> highlighted;
    } cases[] = {
        {"5", {5}},   {" 15 ", {15}}, {"4.5", {4}},  {"5.5", {6}},        {"-0.4", {0}},
        {"15.5", {}}, {"16", {}},     {"-1", {}},    {"99999999999", {}}, {"abc", {}},
        {"", {}},     {"3x", {}},     {"1e1", {10}},
    };
    FrmColorDlg dialog(proxy);
    for (const auto& c : cases) {
        dialog.colorIndex()->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(highlighted(dialog), c.highlighted) << '"' << c.text << '"';
    }
}

TEST_F(FrmColorDlgTest, ConfirmingUnchangedSendsAllSixteenAndRenders) {
    const auto before = viewer.colours;
    FrmColorDlg dialog(proxy);
    viewer.calls.clear();
    QTest::mouseClick(dialog.command2(), Qt::LeftButton);

    ASSERT_EQ(viewer.calls.size(), 18u);
    for (int n = 0; n < FrmColorDlg::kColorCount; ++n) {
        EXPECT_EQ(viewer.calls[n].dispid, curvex::DispSetGraphColor);
        EXPECT_EQ(viewer.calls[n].args.at(0).toInt(), before[n]);
        EXPECT_EQ(viewer.calls[n].args.at(1).toInt(), n);
    }
    EXPECT_EQ(viewer.calls[16].dispid, curvex::DispViewRenewal);
    EXPECT_TRUE(viewer.calls[16].args.at(0).toBool());
    EXPECT_EQ(viewer.calls[17].dispid, curvex::DispRefresh);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(viewer.colours, before);
}

TEST_F(FrmColorDlgTest, ChangedColoursReachTheControlOnlyOnConfirm) {
    const auto before = viewer.colours;
    for (const bool confirm : {false, true}) {
        FrmColorDlg dialog(proxy);
        answers.chosenColors = {0x00FF00u, std::nullopt, 0x123456u};
        dialog.colorIndex()->setText(QStringLiteral("2"));
        QTest::mouseClick(dialog.command1(), Qt::LeftButton);
        dialog.colorIndex()->setText(QStringLiteral("7"));
        QTest::mouseClick(dialog.command1(), Qt::LeftButton); // chooser cancelled
        dialog.colorIndex()->setText(QStringLiteral("9"));
        QTest::mouseClick(dialog.command1(), Qt::LeftButton);
        dialog.colorIndex()->setText(QStringLiteral("x"));
        QTest::mouseClick(dialog.command1(), Qt::LeftButton); // no colour selected: nothing
        EXPECT_EQ(answers.colorPresets.size(), 3u);
        EXPECT_EQ(dialog.pctColor(2)->colorRef(), 0x00FF00u);
        EXPECT_EQ(dialog.pctColor(7)->colorRef(), static_cast<std::uint32_t>(before[7]));
        EXPECT_EQ(dialog.pctColor(9)->colorRef(), 0x123456u);

        QTest::mouseClick(confirm ? dialog.command2() : dialog.command3(), Qt::LeftButton);
        auto expected = before;
        if (confirm) {
            expected[2] = 0x00FF00;
            expected[9] = 0x123456;
        }
        EXPECT_EQ(viewer.colours, expected) << (confirm ? "OK" : "Cancel");
        EXPECT_EQ(dialog.result(), confirm ? QDialog::Accepted : QDialog::Rejected);
        answers.colorPresets.clear();
    }
}

TEST_F(FrmColorDlgTest, ActivationEndsASelectionAndAClickMovesTheHighlight) {
    FrmColorDlg dialog(proxy);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_FALSE(viewer.callsOf(curvex::DispLostCapture).empty());

    QTest::mouseClick(dialog.pctColor(11), Qt::LeftButton);
    EXPECT_EQ(dialog.colorIndex()->text(), QStringLiteral("11"));
    EXPECT_EQ(highlighted(dialog), std::vector<int>{11});
    EXPECT_TRUE(answers.colorPresets.empty());
}

} // namespace
