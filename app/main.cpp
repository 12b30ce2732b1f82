#include "derirariva.h"
#include "filenametext.h"
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

// The program's arguments joined by single blanks, as file names that keep every byte.
QString commandLineOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(fileNameFromBytes(QByteArray(argv[i])));
    return arguments.join(u' ');
}

} // namespace

int main(int argc, char* argv[]) {
    // The program has no options of its own: the toolkit sees only the program name, so that an
    // argument such as "-stylesheet=x" or "-platform" stays part of the file name.
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    const TerminationSignals termination;
    closeOnTermination(termination);
    const StartupOutcome outcome = Main(commandLineOf(argc, argv));
    int exitCode = outcome == StartupOutcome::Failed ? 1 : 0;
    if (outcome == StartupOutcome::Running && !termination.requested())
        exitCode = QApplication::exec();
    unloadMainWindow();
    return exitCode;
}
