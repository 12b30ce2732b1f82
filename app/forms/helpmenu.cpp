#include "helpmenu.h"

#include "appstate.h"
#include "curvexids.h"
#include "userprompts.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>

HelpMenu::HelpMenu(QMenuBar& menuBar) : QObject(&menuBar) {
    QMenu* help = menuBar.addMenu(QStringLiteral("Help"));
    mMnuAbout = help->addAction(QStringLiteral("About Plotwell"));
    connect(mMnuAbout, &QAction::triggered, this, &HelpMenu::mnuAbout_Click);
}

QString HelpMenu::aboutText() {
    return QStringLiteral("%1 Ver%2\n\nSettings file:\n%3")
        .arg(QLatin1String(curvex::kProgramTitle), QLatin1String(curvex::kRequiredOcxVersion),
             QDir::toNativeSeparators(gIniFile));
}

void HelpMenu::mnuAbout_Click() {
    prompts().messageBox(aboutText(), UserPrompts::Buttons::Ok, UserPrompts::Icon::Information,
                         QStringLiteral("About Plotwell"));
}
