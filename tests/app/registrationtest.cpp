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

// A copy of the program, the tool, the component library and the control at `controlPath` in a
// temporary folder, run with its output in a file there: a run that the first one starts
// inherits the file and must be able to write after the first run has ended.
class ProgramCopy {
public:
    explicit ProgramCopy(const QString& controlPath) {
        for (const char* name : {"Plotwell", "PWRegOcx", "libPlotwellComponent.so"})
            EXPECT_TRUE(QFile::copy(apptest::binFile(QString::fromLatin1(name)),
                                    file(QString::fromLatin1(name))))
                << name;
        EXPECT_TRUE(QFile::copy(controlPath, file(QStringLiteral("Curvex.ocx"))));
    }

    QString file(const QString& name) const { return folder_.filePath(name); }
    QString program() const { return file(QStringLiteral("Plotwell")); }
    QByteArray output() const { return apptest::readFile(file(QStringLiteral("output.txt"))); }
    QList<qint64> processes() const { return processesOf(program()); }

    void start(const QStringList& arguments) {
        run.setStandardOutputFile(file(QStringLiteral("output.txt")));
        run.setStandardErrorFile(file(QStringLiteral("output.txt")), QIODevice::Append);
        run.start(program(), arguments);
    }

    // The runs of the copy once there is one (none after 10 s).
    QList<qint64> waitForRuns() const {
        QList<qint64> runs;
        EXPECT_TRUE(waitFor(
            [&] {
                runs = processes();
                return !runs.isEmpty();
            },
            10000));
        return runs;
    }

    // Ends every run of the copy that is still there.
    void stopAll() {
        for (const qint64 pid : processes())
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        EXPECT_TRUE(waitFor([&] { return processes().isEmpty(); }, 10000));
        run.waitForFinished(10000);
    }

    QProcess run;

private:
    QTemporaryDir folder_;
};

// The control of version 1.20 beside the program and an empty registry: the real tool judges
// the version that the control reports to the program, refuses to register it, and the one run
// shows its message (it waits in the message box) instead of starting itself again.
TEST(Registration, TheToolRefusesAControlThatTheProgramWouldRefuse) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ProgramCopy copy(QStringLiteral(PLOTWELL_OLD_CONTROL));
    copy.start({});
    ASSERT_TRUE(copy.run.waitForStarted());

    EXPECT_TRUE(waitFor([&] { return copy.output().contains("PWRegOcx: "); }, 30000));
    const QByteArray toolOutput = copy.output();
    EXPECT_TRUE(toolOutput.contains("does not fit the required version"))
        << toolOutput.toStdString();
    EXPECT_FALSE(toolOutput.contains("registration done")) << toolOutput.toStdString();
    EXPECT_EQ(copy.processes(), QList<qint64>({copy.run.processId()}));
    EXPECT_EQ(copy.run.state(), QProcess::Running);
    copy.stopAll();
}

// A tool that reports success without changing anything: the run that the registration started
// finds the same control, shows the version message and stays alone; the tool ran once.
TEST(Registration, ARestartedRunNeverRestartsAgain) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ProgramCopy copy(QStringLiteral(PLOTWELL_OLD_CONTROL));
    const QString tool = copy.file(QStringLiteral("PWRegOcx"));
    const QString toolLog = copy.file(QStringLiteral("tool.log"));
    ASSERT_TRUE(QFile::remove(tool));
    apptest::writeFile(tool, "#!/bin/sh\necho \"$*\" >> \"$(dirname \"$0\")/tool.log\"\n");
    ASSERT_TRUE(
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    copy.start({});
    ASSERT_TRUE(copy.run.waitForFinished(60000)) << "the first run did not end";
    EXPECT_EQ(copy.run.exitCode(), 0);
    const QList<qint64> secondRuns = copy.waitForRuns();
    // A run that restarted again would have run the tool a second time by now.
    EXPECT_FALSE(waitFor([&] { return apptest::readFile(toolLog).count('\n') > 1; }, 4000));
    EXPECT_EQ(apptest::readFile(toolLog).count('\n'), 1);
    EXPECT_EQ(copy.processes(), secondRuns) << copy.output().toStdString();
    copy.stopAll();
}

// Plotwell finds a control of version 1.20 registered, runs the real PWRegOcx on the Curvex.ocx
// beside it, starts itself again with the file and ends; the new run loads the right control,
// passes the check and unregisters it. Neither run shows a message box.
TEST(Registration, AWrongControlIsReplacedAndTheProgramStartsAgain) {
    apptest::application();
    apptest::PrivateRegistry registry;
    ASSERT_TRUE(apptest::PrivateRegistry::registerControl(QStringLiteral(PLOTWELL_OLD_CONTROL)));
    const QString clsid = QString::fromLatin1(curvex::kControlClsid);

    ProgramCopy copy(apptest::binFile(QStringLiteral("Curvex.ocx")));
    const QString program = copy.program();
    const QString dataFile = copy.file(QStringLiteral("run data/CUT DATA.txt"));
    QDir().mkpath(copy.file(QStringLiteral("run data")));
    ASSERT_TRUE(QFile::copy(QStringLiteral("samples/CUTDATA.txt"), dataFile));

    copy.start({dataFile});
    ASSERT_TRUE(copy.run.waitForFinished(60000)) << "the first run did not end";
    EXPECT_EQ(copy.run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.run.exitCode(), 0);
    const QByteArray toolOutput = copy.output();
    EXPECT_TRUE(
        toolOutput.contains("PWRegOcx: " + copy.file(QStringLiteral("Curvex.ocx")).toLocal8Bit()))
        << toolOutput.toStdString();
    // The first run saved its settings when it unloaded its window.
    EXPECT_TRUE(apptest::readFile(copy.file(QStringLiteral("Plotwell.ini"))).contains("Form Top="));

    // The second run unregisters the control once its check has passed.
    EXPECT_TRUE(waitFor(
        [&] { return component::ComponentRegistry::libraryForClass(clsid).isEmpty(); }, 60000));
    const QList<qint64> secondRuns = copy.waitForRuns();
    ASSERT_EQ(secondRuns.size(), 1);
    const qint64 pid = secondRuns.front();
    EXPECT_EQ(argumentsOf(pid), QStringList({program, dataFile}));
    const QByteArray maps = apptest::readFile(QStringLiteral("/proc/%1/maps").arg(pid));
    EXPECT_TRUE(maps.contains(copy.file(QStringLiteral("Curvex.ocx")).toLocal8Bit()));
    EXPECT_FALSE(maps.contains(QByteArray(PLOTWELL_OLD_CONTROL)));

    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(waitFor([&] { return processesOf(program).isEmpty(); }, 10000));
}

} // namespace
