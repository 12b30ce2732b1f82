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

    bool startDetached(const QString& commandLine) override {
        const auto words = splitCommandLine(commandLine);
        if (!words || words->isEmpty())
            return false;
        return QProcess::startDetached(words->constFirst(), words->mid(1));
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
