#include "programrunner.h"

#include "commandline.h"
#include "varnutl.h"

#include <QProcess>

namespace {

class ProcessRunner : public ProgramRunner {
public:
    int runAndWait(const QString& commandLine, int windowStyle, int timeoutMs) override {
        return RunAndWait(commandLine, static_cast<std::int16_t>(windowStyle), timeoutMs);
    }

    bool startDetached(const QString& commandLine, const QStringList& environment) override {
        const auto words = splitCommandLine(commandLine);
        if (!words || words->isEmpty())
            return false;
        QProcess program;
        program.setProgram(words->constFirst());
        program.setArguments(words->mid(1));
        QProcessEnvironment programEnvironment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment)
            programEnvironment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        program.setProcessEnvironment(programEnvironment);
        return program.startDetached();
    }
};

ProgramRunner* installed = nullptr;

} // namespace

ProgramRunner& programRunner() {
    static ProcessRunner processes;
    return installed != nullptr ? *installed : processes;
}

void setProgramRunner(ProgramRunner* replacement) {
    installed = replacement;
}
