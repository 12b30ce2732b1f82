#pragma once

// One start of the program in-process: a temporary program folder, a private component registry,
// scripted dialogs and programs. The main window is unloaded when the run ends.

#include "apptestsupport.h"

#include "appstate.h"
#include "derirariva.h"
#include "forms/frmmain.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace apptest {

class StartupRun {
public:
    explicit StartupRun(int toolExitCode = 0) : runner(toolExitCode) {
        application();
        setProgramFolder(folder.path());
    }
    ~StartupRun() {
        unloadMainWindow();
        setProgramFolder(QString());
    }

    QString file(const QString& name) const { return folder.filePath(name); }
    QString iniPath() const { return file(QStringLiteral("Plotwell.ini")); }
    QByteArray ini() const { return readFile(iniPath()); }
    void writeIni(const QByteArray& text) const { writeFile(iniPath(), text); }
    // Empty stand-ins for the control file and the tool beside the program.
    void placeControlAndTool(bool control = true, bool tool = true) const {
        if (control)
            writeFile(file(QStringLiteral("Curvex.ocx")), "");
        if (tool)
            writeFile(file(QStringLiteral("PWRegOcx")), "");
    }
    static void registerOldControl() {
        ASSERT_TRUE(PrivateRegistry::registerControl(QStringLiteral(PLOTWELL_OLD_CONTROL)));
    }
    static FrmMain& window() { return *FrmMain::instance(); }

    QTemporaryDir folder;
    PrivateRegistry registry;
    ScriptedPrompts prompts;
    ScriptedRunner runner;
};

} // namespace apptest
