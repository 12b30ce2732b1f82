#include "derirariva.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const StartupOutcome outcome = Main(QApplication::arguments().mid(1).join(u' '));
    int exitCode = outcome == StartupOutcome::Failed ? 1 : 0;
    if (outcome == StartupOutcome::Running)
        exitCode = QApplication::exec();
    unloadMainWindow();
    return exitCode;
}
