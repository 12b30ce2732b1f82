// The real program with arguments that look like the toolkit's own options.

#include "apptestsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

namespace {

// A copy of the program in a folder of its own, which keeps its settings beside it.
class ProgramFolder {
public:
    ProgramFolder() {
        for (const char* name : {"Plotwell", "Curvex.ocx", "libPlotwellComponent.so"})
            copied = copied && QFile::copy(apptest::binFile(QString::fromLatin1(name)),
                                           folder.filePath(QString::fromLatin1(name)));
    }
    QString file(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    // Waits until the window has read its last setting, the text ending; false when the program
    // ended or took a minute.
    bool waitForWindow(QProcess& program) const {
        for (int waited = 0; program.state() == QProcess::Running && waited < 60000; waited += 50) {
            QTest::qWait(50);
            if (apptest::readFile(file("Plotwell.ini")).contains("Text Suffix="))
                return true;
        }
        return false;
    }

    QTemporaryDir folder;
    bool copied = true;
};

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
        ProgramFolder copy;
        ASSERT_TRUE(copy.copied);
        QTemporaryDir workingFolder;
        if (c.fileOfThatName)
            apptest::writeFile(workingFolder.filePath(c.arguments.first()), "T1\n");
        QProcess program;
        program.setWorkingDirectory(workingFolder.path());
        program.start(copy.file("Plotwell"), c.arguments);
        if (*c.printed != '\0') {
            ASSERT_TRUE(program.waitForFinished(30000));
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(program.exitCode(), 0);
            EXPECT_TRUE(program.readAllStandardOutput().startsWith(c.printed));
            EXPECT_FALSE(QFile::exists(copy.file("Plotwell.ini"))) << "a window was made";
        } else {
            // A file without a known ending: the program asks for its type, which is all that
            // matters here.
            ASSERT_TRUE(program.waitForStarted());
            EXPECT_TRUE(copy.waitForWindow(program));
            program.kill();
            ASSERT_TRUE(program.waitForFinished(30000));
            EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
        }
    }
}

// A file whose ending tells neither text nor binary makes the start ask; one termination request
// while the question is open ends the program, its settings saved.
TEST(ProgramArguments, ATerminationRequestDuringTheStartQuestionEndsTheProgram) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ProgramFolder copy;
    ASSERT_TRUE(copy.copied);
    apptest::writeFile(copy.file("cut.dat"), "N1)G01X10F600(A1)F600\n");
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(copy.file("Plotwell"), {copy.file("cut.dat")});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(copy.waitForWindow(program)) << "the program ended or never asked";
    QTest::qWait(500);
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    const bool ended = program.waitForFinished(15000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "still running after one termination request";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(apptest::readFile(copy.file("Plotwell.ini")).contains("Form Top="));
}

// A name from the command line that is no UTF-8 and relative to the current folder opens that
// file byte for byte and is listed in the recent files from the root, in its escaped form.
TEST(ProgramArguments, ANameThatIsNoUtf8OpensAndIsListedFromTheRoot) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ProgramFolder copy;
    ASSERT_TRUE(copy.copied);
    ASSERT_TRUE(QDir(copy.folder.path()).mkdir(QStringLiteral("r")));
    const QByteArray folderBytes = QFile::encodeName(copy.folder.path());
    const QByteArray data = folderBytes + "/r/caf\xE9.txt";
    FILE* file = std::fopen(data.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("N1)G01X10F600(A1)F600\nN2)G01X20F600(A2)F600\n", file);
    std::fclose(file);
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setWorkingDirectory(copy.folder.path());
    program.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec ./Plotwell \"$(printf 'r/caf\\351.txt')\"")});
    ASSERT_TRUE(program.waitForStarted());
    const QByteArray entry = "File1=" + folderBytes + "/r/caf%E9.txt\n";
    bool listed = false;
    for (int waited = 0; !listed && program.state() == QProcess::Running && waited < 20000;
         waited += 50) {
        QTest::qWait(50);
        listed = apptest::readFile(copy.file("Plotwell.ini")).contains(entry);
    }
    if (program.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    EXPECT_TRUE(program.waitForFinished(30000));
    EXPECT_TRUE(listed) << apptest::readFile(copy.file("Plotwell.ini")).toStdString();
}

// Before the fix the toolkit took "-platform nonexistent" for itself and ended the program at
// once; the program has no options, so it must start (with a file of that name, which does not
// exist) and end normally on a termination request.
TEST(ProgramArguments, ToolkitOptionsAreNoOptionsOfTheProgram) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ProgramFolder copy;
    ASSERT_TRUE(copy.copied);
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(copy.file("Plotwell"),
                  {QStringLiteral("-platform"), QStringLiteral("nonexistent")});
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_TRUE(copy.waitForWindow(program)) << "the program ended or never showed its window";
    if (program.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
