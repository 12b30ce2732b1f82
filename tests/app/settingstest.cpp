#include "startupfixture.h"

#include "numerictext.h"
#include "varnutl.h"

#include <QAction>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using apptest::StartupRun;

QString value(const QString& section, const QString& key) {
    return ReadIniValue(section, key);
}

int checkedIndex(QAction& (FrmMain::*item)(int) const) {
    int found = -1;
    for (int i = 0; i < 3; ++i) {
        if ((StartupRun::window().*item)(i).isChecked()) {
            EXPECT_EQ(found, -1) << "two items checked";
            found = i;
        }
    }
    return found;
}

TEST(FirstStart, WritesEveryDefaultInOrder) {
    StartupRun run;
    EXPECT_EQ(Main(QString()), StartupOutcome::Running);
    unloadMainWindow();

    QByteArray expected = apptest::readFile(QStringLiteral(PLOTWELL_TEST_DATA "/firststart.ini"));
    ASSERT_FALSE(expected.isEmpty());
    expected.replace("@APPFOLDER@", (run.folder.path() + u'/').toUtf8());
    EXPECT_EQ(run.ini().toStdString(), expected.toStdString());
}

TEST(FirstStart, DefaultTextsAndMenus) {
    StartupRun run;
    EXPECT_EQ(Main(QString()), StartupOutcome::Running);
    FrmMain& window = StartupRun::window();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Monitoring Data Viewer  Ver1.33"));
    EXPECT_EQ(gText(QStringLiteral("Message2")),
              QStringLiteral("Yes : Text File   No : Binary File"));
    EXPECT_EQ(window.Command1().text(), QStringLiteral("File Open"));
    EXPECT_EQ(window.mnuFile().title(), QStringLiteral("File"));
    EXPECT_EQ(window.mnuIndFunc().title(), QStringLiteral("Indication function"));
    EXPECT_EQ(window.mnuDist(2).text(), QStringLiteral("Seqence Block Number"));
    EXPECT_EQ(window.mnuFunc(1).text(), QStringLiteral("Removal with OrgFeed"));
    EXPECT_EQ(window.mnuG00feed().text(), QStringLiteral("G00 Feed"));
    EXPECT_EQ(checkedIndex(&FrmMain::mnuFunc), 0);
    EXPECT_EQ(checkedIndex(&FrmMain::mnuDist), 0);
    EXPECT_EQ(gInitDirectory, run.folder.path() + u'/');
    EXPECT_EQ(gInitFile, QStringLiteral("CUTDATA.txt"));
    EXPECT_EQ(window.Viewer1().getG00feed(), 5000.0f);
}

TEST(SettingsRoundTrip, DrawMode) {
    struct Case {
        const char* stored;
        int checked;
        std::int32_t sent;
        const char* written;
    };
    const Case cases[] = {
        {"2", 1, 2, "2"}, {"6", 1, 2, "2"},   {"8", -1, 8, "1"},  {"0", -1, 65536, "1"},
        {"4", 2, 4, "4"}, {"abc", 0, 1, "1"}, {"2.5", 1, 2, "2"}, {"1e20", 0, 1, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        StartupRun run;
        run.writeIni(QByteArray("[Property]\nDraw Mode=") + c.stored + "\n");
        ASSERT_EQ(Main(QString()), StartupOutcome::Running);
        EXPECT_EQ(checkedIndex(&FrmMain::mnuFunc), c.checked);
        EXPECT_EQ(StartupRun::window().Viewer1().getDrawMode(), c.sent);
        unloadMainWindow();
        EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Draw Mode")),
                  QString::fromLatin1(c.written));
    }
}

TEST(SettingsRoundTrip, DistModeOutsideTheMenuIsTakenAs0) {
    const std::pair<const char*, int> cases[] = {{"2", 2}, {"1", 1}, {"5", 0}, {"-1", 0}, {"x", 0}};
    for (const auto& [stored, mode] : cases) {
        SCOPED_TRACE(stored);
        StartupRun run;
        run.writeIni(QByteArray("[Property]\nDist Mode=") + stored + "\n");
        ASSERT_EQ(Main(QString()), StartupOutcome::Running);
        EXPECT_EQ(checkedIndex(&FrmMain::mnuDist), mode);
        EXPECT_EQ(StartupRun::window().Viewer1().distanceMode(), mode);
        unloadMainWindow();
        EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Dist Mode")),
                  QString::number(mode));
    }
}

TEST(SettingsRoundTrip, G00Feed) {
    const std::pair<const char*, float> cases[] = {
        {"abc", 5000.0f}, {"2500.6", 2501.0f}, {"2500.5", 2500.0f},
        {"-10", -10.0f},  {"1e30", 5000.0f},   {"1e40", 5000.0f},
        {"inf", 5000.0f}, {"-inf", 5000.0f},   {"nan", 5000.0f}};
    for (const auto& [stored, feed] : cases) {
        SCOPED_TRACE(stored);
        StartupRun run;
        run.writeIni(QByteArray("[Property]\nG00 Feed=") + stored + "\n");
        ASSERT_EQ(Main(QString()), StartupOutcome::Running);
        EXPECT_EQ(StartupRun::window().Viewer1().getG00feed(), feed);
        unloadMainWindow();
        EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("G00 Feed")),
                  shortestText(feed));
    }
}

TEST(SettingsRoundTrip, ColourKey) {
    StartupRun run;
    run.writeIni("[Property]\nDrawing Color 3=255\nDrawing Color 5=pink\n");
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    CurvexProxy& viewer = StartupRun::window().Viewer1();
    EXPECT_EQ(viewer.getGraphColor(3), 255);
    const std::int32_t colour5 = viewer.getGraphColor(5);
    viewer.setGraphColor(0x00FF00, 7);
    unloadMainWindow();
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Drawing Color 3")),
              QStringLiteral("255"));
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Drawing Color 5")),
              QString::number(colour5));
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Drawing Color 7")),
              QString::number(0x00FF00));
}

TEST(SettingsRoundTrip, InitDirectry) {
    QTemporaryDir other;
    const QString nowhere = other.filePath(QStringLiteral("gone"));
    const std::pair<QString, QString> cases[] = {
        {other.path(), other.path() + u'/'},
        {other.path() + u'/', other.path() + u'/'},
        {nowhere, QString()},
    };
    for (const auto& [stored, expected] : cases) {
        SCOPED_TRACE(stored.toStdString());
        StartupRun run;
        run.writeIni("[Reference]\nInit Directry=" + stored.toUtf8() + "\nInit File=run7.bin\n");
        ASSERT_EQ(Main(QString()), StartupOutcome::Running);
        const QString folder = expected.isEmpty() ? run.folder.path() + u'/' : expected;
        EXPECT_EQ(gInitDirectory, folder);
        EXPECT_EQ(gInitFile, QStringLiteral("run7.bin"));
        EXPECT_EQ(value(QStringLiteral("Reference"), QStringLiteral("Init Directry")), stored);
        unloadMainWindow();
        EXPECT_EQ(value(QStringLiteral("Reference"), QStringLiteral("Init Directry")), folder);
    }
}

TEST(SettingsRoundTrip, TextsAreTrimmedCutAndRestoredWhenEmpty) {
    StartupRun run;
    const QByteArray longCaption(300, 'c');
    run.writeIni("[Text]\nfrmCaption=" + longCaption + "\nMessage2=\nbtnCaption=  Open a run  \n");
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    EXPECT_EQ(StartupRun::window().windowTitle(), QString(254, u'c') + QStringLiteral("  Ver1.33"));
    EXPECT_EQ(StartupRun::window().Command1().text(), QStringLiteral("Open a run"));
    EXPECT_TRUE(run.ini().contains("\nMessage2=   Yes : Text File   No : Binary File  \n"));
    unloadMainWindow();

    StartupRun edited;
    edited.writeIni("[Text]\nfrmCaption=Schnittdaten\n");
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    EXPECT_EQ(StartupRun::window().windowTitle(), QStringLiteral("Schnittdaten  Ver1.33"));
}

TEST(SettingsRoundTrip, GeometryInTwips) {
    StartupRun run;
    run.writeIni("[Property]\nForm Top=1500\nForm Left=40000\nForm Width=7500\nForm Height=x\n");
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    FrmMain& window = StartupRun::window();
    const double twipsPerPixel = 1440.0 / window.logicalDpiY();
    EXPECT_EQ(window.y(), qRound(1500 / twipsPerPixel));
    EXPECT_EQ(window.width(), qRound(7500 / twipsPerPixel));
    const int designLeft = window.x();
    const int designHeight = window.height();
    unloadMainWindow();
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Form Top")),
              QStringLiteral("1500"));
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Form Width")),
              QStringLiteral("7500"));
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Form Left")),
              shortestText(static_cast<float>(designLeft * twipsPerPixel)));
    EXPECT_EQ(value(QStringLiteral("Property"), QStringLiteral("Form Height")),
              shortestText(static_cast<float>(designHeight * twipsPerPixel)));
}

// Texts from a site that saves its settings in its Windows code page: CP932 bytes, which are no
// valid UTF-8, are shown as the Japanese text they are, and go back to the file unchanged.
TEST(SettingsRoundTrip, Cp932TextsAreShownAndKeptByteForByte) {
    const QByteArray fileName = "\x89\xC1\x8D\x48\x83\x66\x81\x5B\x83\x5E.txt"; // 加工データ.txt
    const QByteArray caption = "\x89\xC1\x8D\x48\x83\x66\x81\x5B\x83\x5E";      // 加工データ
    const QByteArray before =
        "[Text]\r\nfrmCaption=" + caption + "\r\n[Reference]\r\nInit File=" + fileName + "\r\n";
    StartupRun run;
    run.writeIni(before);
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    EXPECT_EQ(gInitFile, QStringLiteral("加工データ.txt"));
    EXPECT_EQ(StartupRun::window().windowTitle(), QStringLiteral("加工データ  Ver1.33"));
    unloadMainWindow();
    const QByteArray after = run.ini();
    EXPECT_TRUE(after.contains("\r\nfrmCaption=" + caption + "\r\n")) << after.toStdString();
    EXPECT_TRUE(after.contains("\r\nInit File=" + fileName + "\r\n")) << after.toStdString();
    EXPECT_FALSE(after.contains("\xEF\xBF\xBD")) << "replacement characters written";
}

// A value the user changed is written in UTF-8, as every new value is.
TEST(SettingsRoundTrip, ChangedCp932ValueIsWrittenInUtf8) {
    StartupRun run;
    run.writeIni("[Reference]\nInit File=\x89\xC1\x8D\x48.txt\n");
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    gInitFile = QStringLiteral("加工2.txt");
    unloadMainWindow();
    EXPECT_TRUE(run.ini().contains("\nInit File=" + QStringLiteral("加工2.txt").toUtf8() + "\n"));
}

} // namespace
