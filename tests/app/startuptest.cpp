#include "startupfixture.h"

#include "commandline.h"
#include "componentregistry.h"
#include "curvexids.h"

#include <QAction>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using apptest::StartupRun;

const QString kVersionMismatch =
    QStringLiteral("The version of the Curvex.ocx file doesn't have interchangeability.\r\n"
                   "Use it after you obtain the latest files.");
const QString kToolNeeded =
    QStringLiteral("PWRegOcx.exe is necessary to link OCX.\r\n"
                   "Execute it after you keep it in the application holder.");

TEST(RequiredVersion, AcceptsEveryHundredthOfTheRequiredTenth) {
    struct Case {
        const char* required;
        std::int32_t version;
        bool compatible;
    };
    const Case cases[] = {
        {"1.33", 65566, true},           {"1.33", 65575, true},
        {"1.33", 65576, false},          {"1.33", 65556, false},
        {"1.33", 65566 | 0x8000, true},  {"1.33", 65575 | 0x8000, true},
        {"1.33", 2 * 65536 + 30, false}, {"1.33", 0, false},
        {"1.3", 65566, false},           {"133", 65566, false},
        {"x.33", 65566, false},          {"2.05", 2 * 65536 + 3, true},
    };
    for (const Case& c : cases) {
        const auto required = curvex::RequiredVersion::parse(c.required);
        EXPECT_EQ(required && required->accepts(c.version), c.compatible)
            << c.required << " " << c.version;
    }
}

TEST(OcxVersionText, MajorDotTenthsInShortestForm) {
    EXPECT_EQ(curvex::ocxVersionText(65566), "1.3");
    EXPECT_EQ(curvex::ocxVersionText(65556), "1.2");
    EXPECT_EQ(curvex::ocxVersionText(65536 + 33), "1.3.3");
    EXPECT_EQ(curvex::ocxVersionText(2 * 65536 + 5), "2.0.5");
}

struct ToolCase {
    int rc;
    const char* debugText;
    QString message;
};

// Every tool result with a control that reports 1.20: the debug boxes in order, then one
// critical message, and the main window unloaded with its settings saved.
TEST(StartupCheck, EveryToolResultEndsWithItsMessage) {
    const ToolCase cases[] = {
        {1, "PWRegOcx.exe Exit Code   NO_ARGMENT",
         QStringLiteral("The inconsistency of the version!!\r\n") + kVersionMismatch +
             QStringLiteral("(ocx ver:1.2)")},
        {2, "PWRegOcx.exe Exit Code   REG_FAILED",
         QStringLiteral("The failure of the registration!!\r\n") + kVersionMismatch +
             QStringLiteral("(ocx ver:1.2)")},
        {4, "PWRegOcx.exe Exit Code   FILE_NOT_FOUND",
         QStringLiteral("PWRegOcx.exe can't be execute!!\r\n") + kToolNeeded},
        {5, "PWRegOcx.exe Exit Code   PROC_TIMEOUT",
         QStringLiteral("The failure of the registration!!(Time out)\r\n") + kVersionMismatch +
             QStringLiteral("(ocx ver:1.2)")},
        {3, "PWRegOcx.exe Exit Code   undefined value",
         QStringLiteral("Something error!!\r\n") + kVersionMismatch +
             QStringLiteral("(ocx ver:1.2)")},
        {-1, "PWRegOcx.exe Exit Code   undefined value",
         QStringLiteral("Something error!!\r\n") + kVersionMismatch +
             QStringLiteral("(ocx ver:1.2)")},
        {6, "PWRegOcx.exe Exit Code   undefined value",
         QStringLiteral("Something error!!\r\n") + kVersionMismatch +
             QStringLiteral("(ocx ver:1.2)")},
    };
    for (const bool debug : {false, true}) {
        for (const ToolCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "rc " << c.rc << " debug " << debug);
            StartupRun run(c.rc);
            run.registerOldControl();
            run.placeControlAndTool();
            if (debug)
                run.writeIni("[DEBUG]\nRUN_DEBUG=TRUE\n");

            EXPECT_EQ(Main(QString()), StartupOutcome::Failed);

            ASSERT_EQ(run.runner.waited.size(), 1u);
            EXPECT_EQ(run.runner.waited[0].commandLine,
                      QStringLiteral("\"%1\" \"%2\" 1.33")
                          .arg(run.file(QStringLiteral("PWRegOcx")),
                               run.file(QStringLiteral("Curvex.ocx"))));
            EXPECT_EQ(run.runner.waited[0].windowStyle, 0);
            EXPECT_EQ(run.runner.waited[0].timeoutMs, 3000);
            EXPECT_TRUE(run.runner.detached.empty());

            QStringList expectedTexts;
            if (debug)
                expectedTexts << QStringLiteral("\"File Open\"") << QString()
                              << QString::fromLatin1(c.debugText);
            expectedTexts << c.message;
            ASSERT_EQ(run.prompts.messages.size(), size_t(expectedTexts.size()));
            for (qsizetype i = 0; i + 1 < expectedTexts.size(); ++i) {
                const apptest::ShownMessage& box = run.prompts.messages[i];
                if (!expectedTexts[i].isEmpty()) {
                    EXPECT_EQ(box.text, expectedTexts[i]);
                }
                EXPECT_EQ(box.title, QStringLiteral("Run Debug"));
                EXPECT_EQ(box.icon, UserPrompts::Icon::Information);
            }
            const apptest::ShownMessage& last = run.prompts.messages.back();
            EXPECT_EQ(last.text, c.message);
            EXPECT_EQ(last.icon, UserPrompts::Icon::Critical);
            EXPECT_EQ(last.buttons, UserPrompts::Buttons::Ok);
            EXPECT_EQ(last.title, QStringLiteral("Plotwell"));
            EXPECT_EQ(FrmMain::instance(), nullptr);
            EXPECT_TRUE(run.ini().contains("Form Top="));
        }
    }
}

TEST(StartupCheck, MissingControlFileOrToolEndsWithoutRunningTheTool) {
    struct Case {
        bool control;
        bool tool;
        const char* debugText;
        QString message;
    };
    const Case cases[] = {
        {false, true, "Curvex.ocx unexist",
         QStringLiteral("Curvex.ocx does not exist!!\r\n") + kVersionMismatch},
        {false, false, "Curvex.ocx unexist",
         QStringLiteral("Curvex.ocx does not exist!!\r\n") + kVersionMismatch},
        {true, false, "PWRegOcx.exe unexist",
         QStringLiteral("PWRegOcx.exe does not exist!!\r\n") + kToolNeeded +
             QStringLiteral("(ocx ver:1.2)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.debugText);
        StartupRun run;
        run.registerOldControl();
        run.placeControlAndTool(c.control, c.tool);
        run.writeIni("[DEBUG]\nRUN_DEBUG=TRUE\n");

        EXPECT_EQ(Main(QString()), StartupOutcome::Failed);
        EXPECT_TRUE(run.runner.waited.empty());
        ASSERT_EQ(run.prompts.messages.size(), 4u);
        EXPECT_EQ(run.prompts.messages[2].text, QString::fromLatin1(c.debugText));
        EXPECT_EQ(run.prompts.messages[3].text, c.message);
        EXPECT_EQ(run.prompts.messages[3].icon, UserPrompts::Icon::Critical);
    }
}

TEST(StartupCheck, SuccessfulRegistrationRestartsWithTheQuotedFileAndNoMessage) {
    struct Case {
        QString argument;
        QString restart; // the command line after the program's quoted path
        QString pending;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("\"\""), QString()},
        {QStringLiteral("\"/no/such file.txt\""), QStringLiteral("\"/no/such file.txt\""),
         QStringLiteral("/no/such file.txt")},
        {QStringLiteral("/a\"b/$HOME/`x`\\y.txt"),
         QStringLiteral("\"/a\\\"b/\\$HOME/\\`x\\`\\\\y.txt\""),
         QStringLiteral("/a\"b/$HOME/`x`\\y.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        StartupRun run(0);
        run.registerOldControl();
        run.placeControlAndTool();

        EXPECT_EQ(Main(c.argument), StartupOutcome::Restarted);
        EXPECT_TRUE(run.prompts.messages.empty());
        ASSERT_EQ(run.runner.detached.size(), 1u);
        const QString program = run.file(QStringLiteral("Plotwell"));
        EXPECT_EQ(run.runner.detached[0], u'"' + program + QStringLiteral("\" ") + c.restart);
        // The new process receives the file as its one argument, whatever characters it holds.
        EXPECT_EQ(splitCommandLine(run.runner.detached[0]), QStringList({program, c.pending}));
        // The new run knows that it was started by a registration.
        EXPECT_EQ(run.runner.detachedEnvironments[0],
                  QStringList({QStringLiteral("PLOTWELL_RESTARTED=1")}));
        EXPECT_EQ(FrmMain::instance(), nullptr);
        EXPECT_TRUE(run.ini().contains("Form Top="));
    }
}

// A run that a registration started, still finding a control that does not fit, shows the
// version message and ends: no second registration, no second restart. The mark is gone from
// the environment, so programs it starts do not inherit it.
TEST(StartupCheck, ARunStartedByItsOwnRestartNeverRegistersAgain) {
    StartupRun run(0);
    run.registerOldControl();
    run.placeControlAndTool();
    qputenv("PLOTWELL_RESTARTED", "1");

    EXPECT_EQ(Main(QString()), StartupOutcome::Failed);
    EXPECT_FALSE(qEnvironmentVariableIsSet("PLOTWELL_RESTARTED"));
    EXPECT_TRUE(run.runner.waited.empty());
    EXPECT_TRUE(run.runner.detached.empty());
    ASSERT_EQ(run.prompts.messages.size(), 1u);
    EXPECT_EQ(run.prompts.messages[0].text,
              QStringLiteral("The inconsistency of the version!!\r\n") + kVersionMismatch +
                  QStringLiteral("(ocx ver:1.2)"));
    EXPECT_EQ(run.prompts.messages[0].icon, UserPrompts::Icon::Critical);
    EXPECT_EQ(run.prompts.messages[0].title, QStringLiteral("Plotwell"));
    EXPECT_EQ(FrmMain::instance(), nullptr);
}

TEST(StartupCheck, TheRightControlPassesAndUnregistersItself) {
    StartupRun run;
    ASSERT_TRUE(apptest::PrivateRegistry::registerControl(apptest::binFile("Curvex.ocx")));
    const QString clsid = QString::fromLatin1(curvex::kControlClsid);
    ASSERT_FALSE(component::ComponentRegistry::libraryForClass(clsid).isEmpty());

    EXPECT_EQ(Main(QString()), StartupOutcome::Running);
    EXPECT_FALSE(gSkipOcxUnregister);
    EXPECT_TRUE(run.runner.waited.empty());
    EXPECT_TRUE(run.prompts.messages.empty());
    EXPECT_TRUE(component::ComponentRegistry::libraryForClass(clsid).isEmpty());
    ASSERT_NE(FrmMain::instance(), nullptr);
    EXPECT_TRUE(StartupRun::window().isVisible());
}

TEST(StartupCheck, DebugModeNeedsExactlyTRUE) {
    for (const char* value : {"true", "True", "TRUE ", "1", "TRUE"}) {
        SCOPED_TRACE(value);
        StartupRun run;
        run.writeIni(QByteArray("[DEBUG]\nRUN_DEBUG=\"") + value + "\"\n");
        EXPECT_EQ(Main(QString()), StartupOutcome::Running);
        const bool on = QByteArray(value) == "TRUE";
        EXPECT_EQ(gDebugMode, on);
        ASSERT_EQ(run.prompts.messages.size(), on ? 2u : 0u);
        if (on) {
            EXPECT_EQ(run.prompts.messages[0].text, QStringLiteral("\"File Open\""));
            const QColor face = StartupRun::window().Command1().palette().color(QPalette::Button);
            EXPECT_EQ(
                run.prompts.messages[1].text,
                QString::number(face.blue() << 16 | face.green() << 8 | face.red(), 16).toUpper());
        }
    }
}

TEST(StartupCheck, RunDebugIsNeverWritten) {
    StartupRun run;
    EXPECT_EQ(Main(QString()), StartupOutcome::Running);
    unloadMainWindow();
    EXPECT_FALSE(run.ini().contains("DEBUG"));
}

TEST(CommandLine, PendingFileFromTheArgument) {
    QTemporaryDir data;
    const QString withBlanks = data.filePath(QStringLiteral("my runs/CUT DATA.txt"));
    QDir(data.path()).mkpath(QStringLiteral("my runs"));
    QFile::copy(QStringLiteral("samples/CUTDATA.txt"), withBlanks);
    apptest::writeFile(data.filePath(QStringLiteral(".hidden.txt")), "x");

    struct Case {
        QString argument;
        QString pending;
        bool valid;
    };
    const Case cases[] = {
        {QString(), QString(), false},
        {QStringLiteral("\""), QString(), false},
        {QStringLiteral("\"\""), QString(), false},
        {QStringLiteral("  \"") + withBlanks + QStringLiteral("\"  "), withBlanks, true},
        {withBlanks, withBlanks, true},
        {QStringLiteral(" /no/such/file.txt "), QStringLiteral("/no/such/file.txt"), false},
        {data.path(), data.path(), false},
        {data.filePath(QStringLiteral(".hidden.txt")), data.filePath(QStringLiteral(".hidden.txt")),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        StartupRun run;
        EXPECT_EQ(Main(c.argument), StartupOutcome::Running);
        EXPECT_EQ(gPendingFile, c.pending);
        // The window opened a valid file at load and cleared the flag.
        EXPECT_FALSE(gPendingFileValid);
        FrmMain& window = StartupRun::window();
        EXPECT_EQ(window.fileName(), c.valid ? c.pending : QString());
        const QString base = QStringLiteral("Monitoring Data Viewer  Ver1.33");
        EXPECT_EQ(window.windowTitle(), c.valid ? base + QStringLiteral("    ") + c.pending : base);
        EXPECT_TRUE(run.prompts.fileRequests.empty());
    }
}

} // namespace

namespace {

TEST(StartupCheck, AProgramFolderThatCannotBeWrittenStillStarts) {
    StartupRun run;
    setProgramFolder(run.file(QStringLiteral("not/there")));
    EXPECT_EQ(Main(QString()), StartupOutcome::Running);
    EXPECT_TRUE(run.prompts.messages.empty());
    EXPECT_EQ(StartupRun::window().windowTitle(),
              QStringLiteral("Monitoring Data Viewer  Ver1.33"));
    EXPECT_EQ(StartupRun::window().Viewer1().getG00feed(), 5000.0f);
    unloadMainWindow();
    EXPECT_FALSE(QFileInfo::exists(run.file(QStringLiteral("not"))));
}

} // namespace

namespace {

TEST(StartupCheck, AControlThatCannotBeCreatedEndsWithOneMessage) {
    StartupRun run;
    component::ClassRegistration entry;
    entry.clsid = QString::fromLatin1(curvex::kControlClsid);
    entry.progId = QString::fromLatin1(curvex::kControlProgId);
    entry.libraryPath = run.file(QStringLiteral("gone/Curvex.ocx"));
    ASSERT_TRUE(component::ComponentRegistry::registerClass(entry));

    EXPECT_EQ(Main(QString()), StartupOutcome::Failed);
    ASSERT_EQ(run.prompts.messages.size(), 1u);
    EXPECT_TRUE(run.prompts.messages[0].text.contains(entry.libraryPath));
    EXPECT_EQ(run.prompts.messages[0].icon, UserPrompts::Icon::Critical);
    EXPECT_EQ(run.prompts.messages[0].title, QStringLiteral("Plotwell"));
    EXPECT_EQ(FrmMain::instance(), nullptr);
    EXPECT_TRUE(run.runner.waited.empty());
}

} // namespace
