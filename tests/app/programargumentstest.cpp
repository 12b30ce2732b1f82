// The real program with arguments that look like the toolkit's own options.

#include "apptestsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A copy of the program, its control and the component library in a folder of its own, so that
// its settings file lands there.
class ProgramCopy {
public:
    ProgramCopy() {
        for (const char* name : {"Plotwell", "Curvex.ocx", "libPlotwellComponent.so"})
            EXPECT_TRUE(QFile::copy(apptest::binFile(QString::fromLatin1(name)),
                                    folder_.filePath(QString::fromLatin1(name))))
                << name;
    }
    QString program() const { return folder_.filePath(QStringLiteral("Plotwell")); }
    QString settings() const { return folder_.filePath(QStringLiteral("Plotwell.ini")); }

private:
    QTemporaryDir folder_;
};

// Waits for the started program's window: the last setting the window reads at start is the text
// ending.
bool windowShown(QProcess& program, const QString& settings) {
    bool up = false;
    for (int waited = 0; !up && program.state() == QProcess::Running && waited < 60000;
         waited += 50) {
        QTest::qWait(50);
        up = apptest::readFile(settings).contains("Text Suffix=");
    }
    return up;
}

// "--help" and "--version" as the one argument print their text and end with status 0, without a
// window; with a file of that name in the working folder, or beside another argument, they name a
// file, so that every file can be opened.
TEST(ProgramArguments, HelpAndVersionOnlyWhenNoFileHasTheirName) {
    apptest::application();
    apptest::PrivateRegistry registry;
    const struct {
        const char* name;
        QStringList arguments;
        bool fileOfThatName;
        const char* printed; // empty: the window is shown
    } cases[] = {
        {"Version", {QStringLiteral("--version")}, false, "Plotwell " PLOTWELL_VERSION "\n"},
        {"Help", {QStringLiteral("--help")}, false, "usage: plotwell [FILE]\n"},
        {"VersionFile", {QStringLiteral("--version")}, true, ""},
        {"HelpFile", {QStringLiteral("--help")}, true, ""},
        {"TwoArguments", {QStringLiteral("--version"), QStringLiteral("x")}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramCopy copy;
        QTemporaryDir workingFolder;
        if (c.fileOfThatName)
            apptest::writeFile(workingFolder.filePath(c.arguments.first()), "T1\n");
        QProcess program;
        program.setWorkingDirectory(workingFolder.path());
        program.start(copy.program(), c.arguments);
        if (*c.printed != '\0') {
            ASSERT_TRUE(program.waitForFinished(30000));
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(program.exitCode(), 0);
            EXPECT_TRUE(program.readAllStandardOutput().startsWith(c.printed));
            EXPECT_FALSE(QFile::exists(copy.settings())) << "a window was made";
        } else {
            // A file without a known ending: the program asks for its type, which is all that
            // matters here.
            ASSERT_TRUE(program.waitForStarted());
            EXPECT_TRUE(windowShown(program, copy.settings()));
            program.kill();
            ASSERT_TRUE(program.waitForFinished(30000));
            EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
        }
    }
}

// Before the fix the toolkit took "-platform nonexistent" for itself and ended the program at
// once; the program has no options, so it must start (with a file of that name, which does not
// exist) and end normally on a termination request.
TEST(ProgramArguments, ToolkitOptionsAreNoOptionsOfTheProgram) {
    apptest::application();
    apptest::PrivateRegistry registry;
    const ProgramCopy copy;
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(copy.program(), {QStringLiteral("-platform"), QStringLiteral("nonexistent")});
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_TRUE(windowShown(program, copy.settings()))
        << "the program ended or never showed its window";
    if (program.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
