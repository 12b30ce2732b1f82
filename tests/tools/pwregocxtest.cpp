// The registration tool as the program runs it: a separate process with its exit code.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString binFile(const QString& name) {
    return qEnvironmentVariable("PLOTWELL_BIN") + QLatin1Char('/') + name;
}

struct ToolRun {
    int exitCode = -1;
    QString registry; // the registry file afterwards, empty when none was written
};

ToolRun runTool(const QStringList& arguments, const QString& configHome) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    tool.setProcessEnvironment(environment);
    tool.start(binFile(QStringLiteral("PWRegOcx")), arguments);
    ToolRun run;
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = tool.exitCode();
    QFile registry(configHome + QStringLiteral("/Plotwell/components.ini"));
    if (registry.open(QIODevice::ReadOnly))
        run.registry = QString::fromUtf8(registry.readAll());
    return run;
}

} // namespace

TEST(PWRegOcx, ExitCodes) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString control = QFileInfo(binFile(QStringLiteral("Curvex.ocx"))).absoluteFilePath();
    const QString textFile = folder.filePath(QStringLiteral("text.ocx"));
    QFile text(textFile);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();
    QFile blocker(folder.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    struct Case {
        const char* what;
        QStringList arguments;
        int expected;
        bool blockRegistry = false;
    };
    const Case cases[] = {
        {"registered", {control, "1.33"}, 0},
        {"quoted path", {'"' + control + '"', "1.39"}, 0},
        {"no arguments", {}, 1},
        {"version missing", {control}, 1},
        {"not a version", {control, "latest"}, 1},
        {"missing file", {folder.filePath("gone.ocx"), "1.33"}, 4},
        {"folder", {folder.path(), "1.33"}, 4},
        {"not loadable", {textFile, "1.33"}, 2},
        {"no exports", {binFile("libPlotwellComponent.so"), "1.33"}, 2},
        {"older version required", {control, "1.20"}, 2},
        {"newer version required", {control, "1.40"}, 2},
        {"registry not writable", {control, "1.33"}, 2, true},
    };
    int caseNumber = 0;
    for (const Case& c : cases) {
        const QString home =
            c.blockRegistry ? blocker.fileName() : folder.filePath(QString::number(++caseNumber));
        const ToolRun run = runTool(c.arguments, home);
        EXPECT_EQ(run.exitCode, c.expected) << c.what;
        EXPECT_EQ(run.registry.contains("InprocServer32=" + control), c.expected == 0) << c.what;
    }
}

TEST(PWRegOcx, UnregisterRemovesWhatRegistrationWrote) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString control = QFileInfo(binFile(QStringLiteral("Curvex.ocx"))).absoluteFilePath();
    ASSERT_EQ(runTool({control, "1.33"}, home.path()).exitCode, 0);
    const ToolRun unregistered = runTool({"-u", control}, home.path());
    EXPECT_EQ(unregistered.exitCode, 0);
    EXPECT_FALSE(unregistered.registry.contains(control));
    EXPECT_EQ(runTool({"-u"}, home.path()).exitCode, 1);
    EXPECT_EQ(runTool({"-u", home.filePath("gone.ocx")}, home.path()).exitCode, 4);
}
