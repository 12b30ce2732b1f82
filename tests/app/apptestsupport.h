#pragma once

// Scripted stand-ins for the program's dialogs and programs, a temporary program folder and a
// per-user component registry of its own, for tests that drive the program in-process.

#include "componentexports.h"
#include "programrunner.h"
#include "userprompts.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

#include <deque>
#include <ostream>
#include <utility>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace apptest {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "apptest";
    static char* argv[] = {name, nullptr};
    // Never destroyed: input devices that mouse events created must not outlive it at exit.
    static QApplication* const app = new QApplication(argc, argv);
    return *app;
}

inline QString binFile(const QString& name) {
    return qEnvironmentVariable("PLOTWELL_BIN") + u'/' + name;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

struct ShownMessage {
    QString text;
    UserPrompts::Buttons buttons;
    UserPrompts::Icon icon;
    QString title;
};

// Records every message box and answers it from a script (Cancel when the script is empty).
class ScriptedPrompts : public UserPrompts {
public:
    ScriptedPrompts() { setPrompts(this); }
    ~ScriptedPrompts() override { setPrompts(nullptr); }

    int messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        messages.push_back({text, buttons, icon, title});
        return next<int>(answers, buttons == Buttons::Ok ? AnswerOk : AnswerCancel);
    }
    QString inputBox(const QString& prompt, const QString& defaultText) override {
        inputPrompts.push_back(prompt);
        inputDefaults.push_back(defaultText);
        return next(inputs, defaultText);
    }
    QString openFile(const FileOpenRequest& request) override {
        fileRequests.push_back(request);
        return next(chosenFiles, QString());
    }
    QString saveFile(const FileSaveRequest& request) override {
        saveRequests.push_back(request);
        return next(savedFiles, QString());
    }
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override {
        colorPresets.push_back(initial);
        return next(chosenColors, std::optional<std::uint32_t>());
    }
    bool printSetup(QPrinter&, QWidget*) override { return false; }
    std::optional<ChartSaveChoice> saveChart(const ChartSaveRequest& request) override {
        chartRequests.push_back(request);
        return next(chartChoices, std::optional<ChartSaveChoice>());
    }
    std::optional<ReportSaveChoice> saveReport(const ReportSaveRequest& request) override {
        reportRequests.push_back(request);
        return next(reportChoices, std::optional<ReportSaveChoice>());
    }
    void beep() override { ++beeps; }

    std::deque<int> answers;
    std::deque<QString> inputs;
    std::deque<QString> chosenFiles;
    std::deque<std::optional<std::uint32_t>> chosenColors;
    std::vector<ShownMessage> messages;
    std::vector<QString> inputPrompts;
    std::vector<QString> inputDefaults;
    std::vector<std::uint32_t> colorPresets;
    std::vector<FileOpenRequest> fileRequests;
    std::deque<QString> savedFiles;
    std::vector<FileSaveRequest> saveRequests;
    std::deque<std::optional<ChartSaveChoice>> chartChoices;
    std::vector<ChartSaveRequest> chartRequests;
    std::deque<std::optional<ReportSaveChoice>> reportChoices;
    std::vector<ReportSaveRequest> reportRequests;
    int beeps = 0;

private:
    template <class T> static T next(std::deque<T>& script, T otherwise) {
        if (script.empty())
            return otherwise;
        // Swapped out, not copied: GCC 12 takes a copy of an optional QString pair for a read of
        // uninitialised memory.
        std::swap(otherwise, script.front());
        script.pop_front();
        return otherwise;
    }
};

// Records the programs start-up would run and answers with a fixed exit code.
class ScriptedRunner : public ProgramRunner {
public:
    explicit ScriptedRunner(int exitCode) : exitCode_(exitCode) { setProgramRunner(this); }
    ~ScriptedRunner() override { setProgramRunner(nullptr); }

    int runAndWait(const QString& commandLine, int windowStyle, int timeoutMs) override {
        waited.push_back({commandLine, windowStyle, timeoutMs});
        return exitCode_;
    }
    bool startDetached(const QString& commandLine, const QStringList& environment) override {
        detached.push_back(commandLine);
        detachedEnvironments.push_back(environment);
        return true;
    }

    struct Run {
        QString commandLine;
        int windowStyle;
        int timeoutMs;
    };
    std::vector<Run> waited;
    std::vector<QString> detached;
    std::vector<QStringList> detachedEnvironments;

private:
    int exitCode_;
};

// A per-user component registry in a temporary XDG_CONFIG_HOME for the life of the object.
class PrivateRegistry {
public:
    PrivateRegistry() : saved_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    }
    ~PrivateRegistry() { qputenv("XDG_CONFIG_HOME", saved_); }

    QString path() const { return dir_.path(); }

    // Registers the control library at `libraryPath` as its own registration code does.
    static bool registerControl(const QString& libraryPath) {
        QLibrary library(libraryPath);
        const auto registerServer = reinterpret_cast<component::DllRegisterServerFn>(
            library.resolve(component::kDllRegisterServer));
        return registerServer != nullptr && registerServer() == component::kOk;
    }

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

} // namespace apptest
