#include "helpmenu.h"

#include "appstate.h"
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
    return QStringLiteral("Plotwell Ver%1\n\nSettings file:\n%2")
        .arg(QString::fromLatin1(kRequiredOcxVersion), QDir::toNativeSeparators(gIniFile));
}

void HelpMenu::mnuAbout_Click() {
    prompts().messageBox(aboutText(), UserPrompts::Buttons::Ok, UserPrompts::Icon::Information,
                         QStringLiteral("About Plotwell"));
}
