#include "derirariva.h"
#include "filenametext.h"
#include "forms/frmmain.h"
#include "terminationsignals.h"

#include <QApplication>
#include <QStringList>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

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

const char* const kHelp =
    "usage: plotwell [FILE]\n"
    "       plotwell --help | --version\n"
    "\n"
    "Shows the machining monitoring data in FILE (text or binary) as a chart. All arguments\n"
    "together name one file; --help and --version are options only as the one argument and when\n"
    "no file of that name exists. The settings are in $XDG_CONFIG_HOME/Plotwell/Plotwell.ini\n"
    "(~/.config) for an installed program; see plotwell(1).\n";

// The text that the one argument asks for ("--help" or "--version"), or null when the argument is
// a file name: there are more arguments, another one, or a file of that name exists.
const char* optionText(int argc, char* argv[]) {
    struct stat status {};
    if (argc != 2 || ::lstat(argv[1], &status) == 0)
        return nullptr;
    if (std::strcmp(argv[1], "--help") == 0)
        return kHelp;
    if (std::strcmp(argv[1], "--version") == 0)
        return "Plotwell " PLOTWELL_VERSION "\n";
    return nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const char* text = optionText(argc, argv)) {
        std::fputs(text, stdout);
        return 0;
    }
    // Apart from those two the program has no options of its own: the toolkit sees only the
    // program name, so that an argument such as "-stylesheet=x" or "-platform" stays part of the
    // file name.
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
