#include "apptestsupport.h"

#include "componentregistry.h"
#include "curvexids.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (condition())
            return true;
        QTest::qWait(50);
    }
    return condition();
}

// The processes running the program file `program`, found by their executable.
QList<qint64> processesOf(const QString& program) {
    QList<qint64> found;
    const QString target = QFileInfo(program).canonicalFilePath();
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (numeric && QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() == target)
            found.append(pid);
    }
    return found;
}

QStringList argumentsOf(qint64 pid) {
    const QByteArray raw = apptest::readFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
    QStringList arguments;
    for (const QByteArray& part : raw.split('\0'))
        arguments.append(QString::fromLocal8Bit(part));
    if (!arguments.isEmpty() && arguments.constLast().isEmpty())
        arguments.removeLast();
    return arguments;
}

// A program folder with copies of the program, the tool, the component library and the control
// at `controlPath`.
void placeProgram(const QTemporaryDir& folder, const QString& controlPath) {
    for (const char* name : {"Plotwell", "PWRegOcx", "libPlotwellComponent.so"})
        ASSERT_TRUE(QFile::copy(apptest::binFile(QString::fromLatin1(name)),
                                folder.filePath(QString::fromLatin1(name))))
            << name;
    ASSERT_TRUE(QFile::copy(controlPath, folder.filePath(QStringLiteral("Curvex.ocx"))));
}

void stopAll(const QString& program) {
    for (const qint64 pid : processesOf(program))
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(waitFor([&] { return processesOf(program).isEmpty(); }, 10000));
}

// The control of version 1.20 beside the program and an empty registry: the real tool judges
// the version that the control reports to the program, refuses to register it, and the one run
// shows its message (it waits in the message box) instead of starting itself again.
TEST(Registration, TheToolRefusesAControlThatTheProgramWouldRefuse) {
    apptest::application();
    apptest::PrivateRegistry registry;
    QTemporaryDir folder;
    placeProgram(folder, QStringLiteral(PLOTWELL_OLD_CONTROL));
    const QString program = folder.filePath(QStringLiteral("Plotwell"));
    const QString output = folder.filePath(QStringLiteral("output.txt"));
    QProcess run;
    run.setStandardOutputFile(output);
    run.setStandardErrorFile(output, QIODevice::Append);
    run.start(program, {});
    ASSERT_TRUE(run.waitForStarted());

    EXPECT_TRUE(waitFor([&] { return apptest::readFile(output).contains("PWRegOcx: "); }, 30000));
    const QByteArray toolOutput = apptest::readFile(output);
    EXPECT_TRUE(toolOutput.contains("does not fit the required version"))
        << toolOutput.toStdString();
    EXPECT_FALSE(toolOutput.contains("registration done")) << toolOutput.toStdString();
    EXPECT_EQ(processesOf(program), QList<qint64>({run.processId()}));
    EXPECT_EQ(run.state(), QProcess::Running);
    stopAll(program);
    run.waitForFinished(10000);
}

// A tool that reports success without changing anything: the run that the registration started
// finds the same control, shows the version message and stays alone; the tool ran once.
TEST(Registration, ARestartedRunNeverRestartsAgain) {
    apptest::application();
    apptest::PrivateRegistry registry;
    QTemporaryDir folder;
    placeProgram(folder, QStringLiteral(PLOTWELL_OLD_CONTROL));
    const QString tool = folder.filePath(QStringLiteral("PWRegOcx"));
    const QString toolLog = folder.filePath(QStringLiteral("tool.log"));
    ASSERT_TRUE(QFile::remove(tool));
    apptest::writeFile(tool, "#!/bin/sh\necho \"$*\" >> \"$(dirname \"$0\")/tool.log\"\n");
    ASSERT_TRUE(
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString program = folder.filePath(QStringLiteral("Plotwell"));

    const QString output = folder.filePath(QStringLiteral("output.txt"));
    QProcess firstRun;
    firstRun.setStandardOutputFile(output);
    firstRun.setStandardErrorFile(output, QIODevice::Append);
    firstRun.start(program, {});
    ASSERT_TRUE(firstRun.waitForFinished(60000)) << "the first run did not end";
    EXPECT_EQ(firstRun.exitCode(), 0);
    QList<qint64> secondRuns;
    EXPECT_TRUE(waitFor(
        [&] {
            secondRuns = processesOf(program);
            return !secondRuns.isEmpty();
        },
        10000));
    // A run that restarted again would have run the tool a second time by now.
    EXPECT_FALSE(waitFor([&] { return apptest::readFile(toolLog).count('\n') > 1; }, 4000));
    EXPECT_EQ(apptest::readFile(toolLog).count('\n'), 1);
    EXPECT_EQ(processesOf(program), secondRuns) << apptest::readFile(output).toStdString();
    stopAll(program);
}

// Plotwell finds a control of version 1.20 registered, runs the real PWRegOcx on the Curvex.ocx
// beside it, starts itself again with the file and ends; the new run loads the right control,
// passes the check and unregisters it. Neither run shows a message box.
TEST(Registration, AWrongControlIsReplacedAndTheProgramStartsAgain) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ASSERT_TRUE(apptest::PrivateRegistry::registerControl(QStringLiteral(PLOTWELL_OLD_CONTROL)));
    const QString clsid = QString::fromLatin1(curvex::kControlClsid);

    QTemporaryDir programFolder;
    for (const char* name : {"Plotwell", "PWRegOcx", "Curvex.ocx", "libPlotwellComponent.so"})
        ASSERT_TRUE(QFile::copy(apptest::binFile(QString::fromLatin1(name)),
                                programFolder.filePath(QString::fromLatin1(name))))
            << name;
    const QString program = programFolder.filePath(QStringLiteral("Plotwell"));
    const QString dataFile = programFolder.filePath(QStringLiteral("run data/CUT DATA.txt"));
    QDir(programFolder.path()).mkpath(QStringLiteral("run data"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("samples/CUTDATA.txt"), dataFile));

    // The output goes to a file: the second run inherits it and must be able to write after the
    // first run has ended.
    const QString output = programFolder.filePath(QStringLiteral("output.txt"));
    QProcess firstRun;
    firstRun.setStandardOutputFile(output);
    firstRun.setStandardErrorFile(output, QIODevice::Append);
    firstRun.start(program, {dataFile});
    ASSERT_TRUE(firstRun.waitForFinished(60000)) << "the first run did not end";
    EXPECT_EQ(firstRun.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(firstRun.exitCode(), 0);
    const QByteArray toolOutput = apptest::readFile(output);
    EXPECT_TRUE(toolOutput.contains(
        "PWRegOcx: " + programFolder.filePath(QStringLiteral("Curvex.ocx")).toLocal8Bit()))
        << toolOutput.toStdString();
    // The first run saved its settings when it unloaded its window.
    EXPECT_TRUE(apptest::readFile(programFolder.filePath(QStringLiteral("Plotwell.ini")))
                    .contains("Form Top="));

    // The second run unregisters the control once its check has passed.
    EXPECT_TRUE(waitFor(
        [&] { return component::ComponentRegistry::libraryForClass(clsid).isEmpty(); }, 60000));
    QList<qint64> secondRuns;
    EXPECT_TRUE(waitFor(
        [&] {
            secondRuns = processesOf(program);
            return !secondRuns.isEmpty();
        },
        10000));
    ASSERT_EQ(secondRuns.size(), 1);
    const qint64 pid = secondRuns.front();
    EXPECT_EQ(argumentsOf(pid), QStringList({program, dataFile}));
    const QByteArray maps = apptest::readFile(QStringLiteral("/proc/%1/maps").arg(pid));
    EXPECT_TRUE(maps.contains(programFolder.filePath(QStringLiteral("Curvex.ocx")).toLocal8Bit()));
    EXPECT_FALSE(maps.contains(QByteArray(PLOTWELL_OLD_CONTROL)));

    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(waitFor([&] { return processesOf(program).isEmpty(); }, 10000));
}

} // namespace
