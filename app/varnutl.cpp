#include "varnutl.h"

#include "appstate.h"
#include "commandline.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "numerictext.h"
#include "privateprofile.h"
#include "settingstext.h"
#include "userprompts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <vector>

namespace {

// The read buffer of the settings routines: 255 bytes including the terminating NUL.
constexpr std::size_t kReadBufferSize = 255;
constexpr int kWaitStepMs = 100;
constexpr int kCannotStart = static_cast<int>(curvex::RegOcxExit::FileNotFound);
constexpr int kTimedOut = static_cast<int>(curvex::RegOcxExit::TimedOut);
// A program ended by a signal has no exit code; it counts as an undefined result.
constexpr int kCrashed = -1;

std::string bytes(const QString& text) {
    return text.toUtf8().toStdString();
}

QString readValue(const QString& section, const QString& key, std::size_t& count) {
    char buffer[kReadBufferSize + 1] = {};
    count = getPrivateProfileString(bytes(section), bytes(key), "", buffer, kReadBufferSize,
                                    bytes(gIniFile));
    return settingsText(QByteArray(buffer, static_cast<qsizetype>(count)));
}

// Programs still running after their time-out. They are kept (never destroyed) because
// destroying a QProcess ends its program; the list itself is never destroyed either, so that they
// stay reachable to the end of the process instead of turning into leaks at exit.
std::vector<QProcess*>& abandonedPrograms() {
    static auto* programs = new std::vector<QProcess*>;
    return *programs;
}

} // namespace

void SetIniFile(const QString& path) {
    gIniFile = path;
}

QString ReadIniWithDefault(const QString& section, const QString& key,
                           const QString& defaultValue) {
    std::size_t count = 0;
    const QString value = readValue(section, key, count);
    if (count != 0)
        return value;
    writePrivateProfileString(bytes(section), bytes(key), bytes(defaultValue), bytes(gIniFile));
    return defaultValue;
}

QString ReadIniValue(const QString& section, const QString& key) {
    std::size_t count = 0;
    return readValue(section, key, count);
}

std::int16_t WriteIniValue(const QString& section, const QString& key, const QString& value) {
    // A value that reads as this text already stays as it is, in whatever bytes it was saved.
    std::size_t count = 0;
    if (readValue(section, key, count) == value && count > 0 && count < kReadBufferSize - 1)
        return 1;
    return writePrivateProfileString(bytes(section), bytes(key), bytes(value), bytes(gIniFile)) ? 1
                                                                                                : 0;
}

QString ShowFileOpenDialog(const QString& initialFile, const QString& initialFolder,
                           const QString& description, const QString& suffix) {
    if (suffix.isEmpty())
        return {};
    QString patterns = suffix;
    QString defaultSuffix = SplitFirstToken(patterns, QStringLiteral(" "));
    if (defaultSuffix.startsWith(u'*'))
        defaultSuffix.remove(0, 1);
    defaultSuffix = defaultSuffix.section(u';', 0, 0);

    const QStringList filterPatterns =
        (u'*' + suffix).split(QRegularExpression(QStringLiteral("[; ]")), Qt::SkipEmptyParts);

    UserPrompts::FileOpenRequest request;
    request.title = QStringLiteral("ファイル選択");
    request.filters = {description + u'(' + suffix + QStringLiteral(") (") +
                           filterPatterns.join(u' ') + u')',
                       QStringLiteral("すべてのファイル (*.*)")};
    request.defaultSuffix = defaultSuffix;
    request.folder = initialFolder;
    request.fileName = initialFile;
    const QString chosen = prompts().openFile(request);
    if (chosen.isEmpty())
        return {};
    gInitFile = QFileInfo(chosen).fileName();
    gInitDirectory = FolderOfPath(chosen);
    return chosen;
}

QString SplitFirstToken(QString& text, const QString& delimiter) {
    text = trimBlanks(text);
    const qsizetype at = delimiter.isEmpty() ? -1 : text.indexOf(delimiter);
    if (at < 0)
        return text;
    const QString first = trimBlanks(text.left(at));
    text = trimBlanks(text.mid(at + 1));
    return first;
}

QString FolderOfPath(const QString& path) {
    const qsizetype last = path.lastIndexOf(u'/');
    return last < 0 ? QString() : path.left(last + 1);
}

int RunAndWait(const QString& commandLine, std::int16_t /*windowStyle*/, std::int32_t timeoutMs) {
    const auto words = splitCommandLine(commandLine);
    if (!words || words->isEmpty())
        return kCannotStart;

    auto* program = new QProcess;
    program->setProgram(words->constFirst());
    program->setArguments(words->mid(1));
    program->setProcessChannelMode(QProcess::ForwardedChannels);
    program->setStandardInputFile(QProcess::nullDevice());
    program->start();
    if (!program->waitForStarted()) {
        delete program;
        return kCannotStart;
    }

    const std::int64_t passes = timeoutMs / kWaitStepMs + 1;
    for (std::int64_t i = 0; program->state() != QProcess::NotRunning && i <= passes; ++i) {
        QCoreApplication::processEvents();
        program->waitForFinished(kWaitStepMs);
    }
    if (program->state() != QProcess::NotRunning) {
        abandonedPrograms().push_back(program);
        return kTimedOut;
    }
    const int exitCode =
        program->exitStatus() == QProcess::NormalExit ? program->exitCode() : kCrashed;
    delete program;
    return exitCode;
}

void OutputGraphToPrinter(CurvexProxy& viewer, std::int32_t hdc, std::int32_t width,
                          std::int32_t height) {
    viewer.outputPrinter(hdc, width, height);
}
