#include "derirariva.h"
#include "forms/frmmain.h"
#include "terminationsignals.h"

#include <QApplication>
#include <QStringList>

namespace {

// A termination request closes the window as File > Exit does, so its settings are saved.
void closeOnTermination(const TerminationSignals& source) {
    QObject::connect(&source, &TerminationSignals::terminationRequested, [] {
        if (FrmMain* window = FrmMain::instance())
            window->mnuExit_Click();
        else
            QApplication::exit(0);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const TerminationSignals termination;
    closeOnTermination(termination);
    const StartupOutcome outcome = Main(QApplication::arguments().mid(1).join(u' '));
    int exitCode = outcome == StartupOutcome::Failed ? 1 : 0;
    if (outcome == StartupOutcome::Running)
        exitCode = QApplication::exec();
    unloadMainWindow();
    return exitCode;
}
