// The real program with arguments that look like the toolkit's own options.

#include "apptestsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

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
