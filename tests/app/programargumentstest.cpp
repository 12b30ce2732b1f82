// The real program with arguments that look like the toolkit's own options.

#include "apptestsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Before the fix the toolkit took "-platform nonexistent" for itself and ended the program at
// once; the program has no options, so it must start (with a file of that name, which does not
// exist) and end normally on a termination request.
TEST(ProgramArguments, ToolkitOptionsAreNoOptionsOfTheProgram) {
    apptest::application();
    apptest::PrivateRegistry registry;
    QTemporaryDir programFolder;
    for (const char* name : {"Plotwell", "Curvex.ocx", "libPlotwellComponent.so"})
        ASSERT_TRUE(QFile::copy(apptest::binFile(QString::fromLatin1(name)),
                                programFolder.filePath(QString::fromLatin1(name))))
            << name;
    const QString settings = programFolder.filePath(QStringLiteral("Plotwell.ini"));
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(programFolder.filePath(QStringLiteral("Plotwell")),
                  {QStringLiteral("-platform"), QStringLiteral("nonexistent")});
    ASSERT_TRUE(program.waitForStarted());
    // The last setting the window reads at start is the text ending; then the window is up.
    bool up = false;
    for (int waited = 0; !up && program.state() == QProcess::Running && waited < 60000;
         waited += 50) {
        QTest::qWait(50);
        up = apptest::readFile(settings).contains("Text Suffix=");
    }
    EXPECT_TRUE(up) << "the program ended or never showed its window";
    if (program.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
