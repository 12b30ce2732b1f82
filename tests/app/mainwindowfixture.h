#pragma once

#include "appstate.h"
#include "apptestsupport.h"
#include "derirariva.h"
#include "forms/frmmain.h"
#include "varnutl.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

inline const QString kProperty = QStringLiteral("Property");
inline const QString kFourBlanks = QStringLiteral("    ");

// The main window with the real graph control (the private copy beside the test program), a
// program folder of its own and scripted dialogs.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        appState().reset();
        gAppFolder = folder.path() + u'/';
        SetIniFile(gAppFolder + QStringLiteral("Plotwell.ini"));
        LoadInterfaceTexts();
    }

    // Creates and loads the window; `panel`, when given, is added to its panels first.
    void load(PanelObserver* panel = nullptr) {
        QString error;
        window = FrmMain::create(&error);
        ASSERT_TRUE(window) << error.toStdString();
        window->panels().add(panel);
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        baseCaption = window->windowTitle();
    }

    void unload() {
        window->Form_Unload();
        window.reset();
    }

    // A copy of the sample data (text or binary) in the program folder under `name`.
    QString sample(const QString& name, bool binary) {
        const QString path = gAppFolder + name;
        QFile::remove(path);
        QFile::copy(binary ? QStringLiteral("samples/CUTDATA.bin")
                           : QStringLiteral("samples/CUTDATA.txt"),
                    path);
        return path;
    }

    // Runs the open command from the button with `path` chosen in the open dialog.
    void open(const QString& path) {
        answers.chosenFiles = {path};
        QTest::mouseClick(const_cast<QPushButton*>(&window->Command1()), Qt::LeftButton);
    }

    std::pair<float, float> shownRange() {
        float lower = -1;
        float upper = -1;
        window->Viewer1().getDistArea(lower, upper);
        return {lower, upper};
    }

    // Answers the modal dialog that `trigger` opens with `answer`, once it is showing.
    template <class Dialog, class Answer> void whileModal(QAction& trigger, Answer answer) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                answer(*dialog);
                answered = true;
            }
        });
        trigger.trigger();
        EXPECT_TRUE(answered);
    }

    QApplication& application = apptest::application();
    apptest::PrivateRegistry registry;
    QTemporaryDir folder;
    apptest::ScriptedPrompts answers;
    std::unique_ptr<FrmMain> window;
    QString baseCaption;
};
