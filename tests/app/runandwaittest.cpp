#include "apptestsupport.h"

#include "varnutl.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class RunAndWaitTest : public ::testing::Test {
protected:
    void SetUp() override { apptest::application(); }

    // The id of a program that wrote it to `pidFile` ($$ of a shell that then exec'ed).
    static pid_t pidFrom(const QString& pidFile) {
        QByteArray text;
        for (int i = 0; i < 200 && text.isEmpty(); ++i) {
            text = apptest::readFile(pidFile).trimmed();
            if (text.isEmpty())
                QTest::qWait(10);
        }
        return static_cast<pid_t>(text.toInt());
    }

    QTemporaryDir dir;
};

TEST_F(RunAndWaitTest, ReturnsTheRealExitCode) {
    struct Case {
        const char* command;
        int exitCode;
    };
    const Case cases[] = {
        {"/bin/sh -c 'exit 2'", 2},
        {"/bin/sh -c 'exit 0'", 0},
        {"/bin/sh -c 'exit 3'", 3},
        {"\"/bin/sh\" \"-c\" \"exit 7\"", 7},
        {"/bin/sh -c 'sleep 0.2; exit 1'", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunAndWait(QString::fromLatin1(c.command), 0, 3000), c.exitCode) << c.command;
}

TEST_F(RunAndWaitTest, AProgramThatCannotStartGives4) {
    for (const QString& command :
         {dir.filePath(QStringLiteral("no-such-program")), QString(), QStringLiteral("   "),
          QStringLiteral("\"/bin/sh -c 'exit 0'"), dir.path()})
        EXPECT_EQ(RunAndWait(command, 0, 3000), 4) << command.toStdString();
}

TEST_F(RunAndWaitTest, AProgramKilledByASignalHasNoExitCode) {
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/sh -c 'kill -9 $$'"), 0, 3000), -1);
}

TEST_F(RunAndWaitTest, TimesOutWith5AndLeavesTheProgramRunning) {
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    const QString command =
        QStringLiteral("/bin/sh -c 'echo $$ > \"%1\"; exec sleep 30'").arg(pidFile);
    for (const int timeoutMs : {300, 0}) {
        QFile::remove(pidFile);
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(RunAndWait(command, 0, timeoutMs), 5) << timeoutMs;
        // floor(timeout / 100) + 1 passes: at most that many waits of 100 ms, and one more.
        EXPECT_GE(timer.elapsed(), (timeoutMs / 100 + 1) * 100) << timeoutMs;
        const pid_t pid = pidFrom(pidFile);
        ASSERT_GT(pid, 0);
        EXPECT_EQ(::kill(pid, 0), 0) << "the program was ended";
        ::kill(pid, SIGTERM);
    }
}

TEST_F(RunAndWaitTest, KeepsProcessingEventsWhileWaiting) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    EXPECT_EQ(RunAndWait(QStringLiteral("/bin/sh -c 'sleep 0.5; exit 6'"), 0, 3000), 6);
    EXPECT_GE(ticks, 2);
}

} // namespace
