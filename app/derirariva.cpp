#include "derirariva.h"

#include "appstate.h"
#include "curvexcolor.h"
#include "curvexids.h"
#include "filenametext.h"
#include "forms/frmmain.h"
#include "numerictext.h"
#include "print/mprinterpg.h"
#include "programrunner.h"
#include "settingslocation.h"
#include "userprompts.h"
#include "varnutl.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPushButton>

#include <sys/stat.h>

#include <array>
#include <memory>

namespace {

constexpr std::int32_t kUnregisterThreshold = 65566;
constexpr std::int32_t kRegistrationTimeoutMs = 3000;
constexpr std::int16_t kHiddenWindow = 0;
const char* const kControlFile = "Curvex.ocx";
const char* const kToolFile = "PWRegOcx";
const char* const kProgramFile = "Plotwell";
const char* const kDebugTitle = "Run Debug";

struct InterfaceText {
    const char* key;
    const char* defaultText;
};

constexpr std::array<InterfaceText, 40> kInterfaceTexts{{
    {"FileCaption", "Monitoring Data File"},
    {"FileSuffix", "*.txt;*.bin"},
    {"Message1", "Is the monitering data file a text file?"},
    {"Message2", "   Yes : Text File   No : Binary File  "},
    {"Message3", "Choice File Type"},
    {"Message4", "The version of the Curvex.ocx file doesn't have interchangeability."},
    {"Message5", "Use it after you obtain the latest files."},
    {"Message6", "PWRegOcx.exe is necessary to link OCX."},
    {"Message7", "Execute it after you keep it in the application holder."},
    {"Message21", "PWRegOcx.exe can't be execute!!"},
    {"Message22", "The inconsistency of the version!!"},
    {"Message23", "The failure of the registration!!"},
    {"Message24", "The failure of the registration!!(Time out)"},
    {"Message25", "Something error!!"},
    {"Message26", "PWRegOcx.exe does not exist!!"},
    {"Message27", "Curvex.ocx does not exist!!"},
    {"frmCaption", "Monitoring Data Viewer"},
    {"btnCaption", "File Open"},
    {"mnuConfig", "Config"},
    {"mnuDist0-1", "Distance contains G00"},
    {"mnuDist1-1", "Distance ignoring G00"},
    {"mnuDist2-1", "Seqence Block Number"},
    {"mnuDistMode-1", "Horizontal Axis"},
    {"mnuDrawColor", "Drawing Color"},
    {"mnuExit", "Exit"},
    {"mnuFile", "File"},
    {"mnuFunc0", "Cutting Removal"},
    {"mnuFunc1", "Removal with OrgFeed"},
    {"mnuFunc2", "Removal with OptFeed"},
    {"mnuIndFunc", "Indication function"},
    {"mnuOpen", "Open"},
    {"mnuPrint", "Print"},
    {"mnuG00feed", "G00 Feed"},
    {"dlgBtn1", "Change"},
    {"dlgBtn2", "OK"},
    {"dlgBtn3", "Cancel"},
    {"inpBox1", "Input the feed rate of G00"},
    {"inpBox2", "Input numerical value!!"},
    {"prtMsg1", "Printer Setup"},
    {"prtMsg2", "Specified form size is injustice!!"},
}};

// What went wrong in the check, with the texts of its message.
struct CheckFailure {
    const char* debugText;
    std::array<const char*, 3> messageKeys;
    bool withVersion;
};

const CheckFailure kControlFileMissing{
    "Curvex.ocx unexist", {"Message27", "Message4", "Message5"}, false};
const CheckFailure kToolMissing{
    "PWRegOcx.exe unexist", {"Message26", "Message6", "Message7"}, true};
const CheckFailure kMismatchAfterRestart{
    "Curvex.ocx version mismatch after restart", {"Message22", "Message4", "Message5"}, true};

// Set in the environment of the program that a registration starts again, so that a control
// which still does not fit ends that run instead of registering and restarting once more.
const char* const kRestartMarker = "PLOTWELL_RESTARTED";

bool takeRestartMarker() {
    const bool marked = qEnvironmentVariable(kRestartMarker) == u'1';
    qunsetenv(kRestartMarker);
    return marked;
}

// The debug text of every tool result, and the message of every result but success.
CheckFailure toolResult(int rc) {
    using curvex::RegOcxExit;
    switch (static_cast<RegOcxExit>(rc)) {
    case RegOcxExit::Success:
        return {"PWRegOcx.exe Exit Code   REG_SUCCESS", {}, false};
    case RegOcxExit::NoArgument:
        return {"PWRegOcx.exe Exit Code   NO_ARGMENT", {"Message22", "Message4", "Message5"}, true};
    case RegOcxExit::Failed:
        return {"PWRegOcx.exe Exit Code   REG_FAILED", {"Message23", "Message4", "Message5"}, true};
    case RegOcxExit::FileNotFound:
        return {"PWRegOcx.exe Exit Code   FILE_NOT_FOUND",
                {"Message21", "Message6", "Message7"},
                false};
    case RegOcxExit::TimedOut:
        return {
            "PWRegOcx.exe Exit Code   PROC_TIMEOUT", {"Message24", "Message4", "Message5"}, true};
    default:
        return {"PWRegOcx.exe Exit Code   undefined value",
                {"Message25", "Message4", "Message5"},
                true};
    }
}

QString overriddenProgramFolder;
std::unique_ptr<FrmMain> mainWindow;

// A normal file: a regular file (links followed) whose name does not mark it hidden.
bool isNormalFile(const QString& path) {
    struct stat status {};
    const QByteArray name = fileNameBytes(path);
    return !name.contains('\0') && ::stat(name.constData(), &status) == 0 &&
           S_ISREG(status.st_mode) && !path.section(u'/', -1).startsWith(u'.');
}

QString pendingFileOf(const QString& commandLine) {
    const QString trimmed = trimBlanks(commandLine);
    if (trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
        return trimmed.size() >= 2 ? trimmed.mid(1, trimmed.size() - 2) : QString();
    return trimmed;
}

void debugBox(const QString& text) {
    if (gDebugMode)
        prompts().messageBox(text, UserPrompts::Buttons::Ok, UserPrompts::Icon::Information,
                             kDebugTitle);
}

QString messageOf(const CheckFailure& failure, std::int32_t version) {
    QStringList lines;
    for (const char* key : failure.messageKeys)
        lines.append(gText(key));
    QString message = lines.join(QStringLiteral("\r\n"));
    if (failure.withVersion)
        message += QStringLiteral("(ocx ver:") +
                   QString::fromStdString(curvex::ocxVersionText(version)) + u')';
    return message;
}

StartupOutcome fail(const CheckFailure& failure, std::int32_t version) {
    prompts().messageBox(messageOf(failure, version), UserPrompts::Buttons::Ok,
                         UserPrompts::Icon::Critical, curvex::kProgramTitle);
    unloadMainWindow();
    return StartupOutcome::Failed;
}

// One word of a command line in double quotes. The characters a shell takes specially inside
// double quotes get a backslash, so the word splits back into exactly `text`.
QString commandWord(const QString& text) {
    QString word(1, u'"');
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\' || c == u'$' || c == u'`')
            word += u'\\';
        word += c;
    }
    return word + u'"';
}

void showDebugButtonInfo(const FrmMain& window) {
    if (!gDebugMode)
        return;
    const QPushButton& button = window.Command1();
    debugBox(u'"' + button.text() + u'"');
    const QColor face = button.palette().color(QPalette::Button);
    debugBox(QString::number(curvex::toColorRef(face), 16).toUpper());
}

// Registers the control file beside the program and starts the program again; every failure
// ends in one message.
StartupOutcome registerControl(std::int32_t version) {
    const QString controlPath = gAppFolder + kControlFile;
    if (!isNormalFile(controlPath)) {
        debugBox(kControlFileMissing.debugText);
        return fail(kControlFileMissing, version);
    }
    if (!isNormalFile(gAppFolder + kToolFile)) {
        debugBox(kToolMissing.debugText);
        return fail(kToolMissing, version);
    }
    const QString toolCommand = commandWord(gAppFolder + kToolFile) + u' ' +
                                commandWord(controlPath) + u' ' + curvex::kRequiredOcxVersion;
    const int rc = programRunner().runAndWait(toolCommand, kHiddenWindow, kRegistrationTimeoutMs);
    const CheckFailure result = toolResult(rc);
    debugBox(result.debugText);
    if (rc != static_cast<int>(curvex::RegOcxExit::Success))
        return fail(result, version);

    programRunner().startDetached(commandWord(gAppFolder + kProgramFile) + u' ' +
                                      commandWord(gPendingFile),
                                  {QLatin1String(kRestartMarker) + QStringLiteral("=1")});
    unloadMainWindow();
    return StartupOutcome::Restarted;
}

} // namespace

StartupOutcome Main(const QString& commandLine) {
    const bool restartedRun = takeRestartMarker();
    gPendingFile = pendingFileOf(commandLine);
    gPendingFileValid = !gPendingFile.isEmpty() && isNormalFile(gPendingFile);
    gAppFolder = programFolder();
    if (!gAppFolder.endsWith(u'/'))
        gAppFolder += u'/';
    SetIniFile(settingsFileFor(gAppFolder));
    gDebugMode = ReadIniValue(QStringLiteral("DEBUG"), QStringLiteral("RUN_DEBUG")) ==
                 QStringLiteral("TRUE");
    LoadInterfaceTexts();
    SetPrinterMessage(0, gText(QStringLiteral("prtMsg1")));
    SetPrinterMessage(1, gText(QStringLiteral("prtMsg2")));

    QString error;
    mainWindow = FrmMain::create(&error);
    if (!mainWindow) {
        prompts().messageBox(error, UserPrompts::Buttons::Ok, UserPrompts::Icon::Critical,
                             curvex::kProgramTitle);
        return StartupOutcome::Failed;
    }
    mainWindow->Form_Load();
    mainWindow->show();
    showDebugButtonInfo(*mainWindow);

    const std::int32_t version = mainWindow->Viewer1().getOcxVersion();
    gSkipOcxUnregister = version < kUnregisterThreshold;
    if (!curvex::ocxVersionFits(version) && restartedRun) {
        debugBox(kMismatchAfterRestart.debugText);
        return fail(kMismatchAfterRestart, version);
    }
    if (!curvex::ocxVersionFits(version))
        return registerControl(version);
    if (!gSkipOcxUnregister)
        mainWindow->Viewer1().ocxUnRegist();
    return StartupOutcome::Running;
}

void LoadInterfaceTexts() {
    gInitDirectory = defaultOpenFolder(gAppFolder);
    gInitFile = QStringLiteral("CUTDATA.txt");
    for (const InterfaceText& text : kInterfaceTexts)
        setText(text.key,
                trimBlanks(ReadIniWithDefault(QStringLiteral("Text"), text.key, text.defaultText)));
}

QString programFolder() {
    return overriddenProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : overriddenProgramFolder;
}

void setProgramFolder(const QString& folder) {
    overriddenProgramFolder = folder;
}

void unloadMainWindow() {
    if (!mainWindow)
        return;
    mainWindow->Form_Unload();
    mainWindow.reset();
}
