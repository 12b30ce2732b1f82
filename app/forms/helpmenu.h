#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenuBar;

// The Help menu of the main window: "About Plotwell" shows the version and the settings file in
// use.
class HelpMenu : public QObject {
    Q_OBJECT
public:
    explicit HelpMenu(QMenuBar& menuBar);

    QAction& mnuAbout() const { return *mMnuAbout; }

    // The text of the About box.
    static QString aboutText();
    void mnuAbout_Click();

private:
    QAction* mMnuAbout = nullptr;
};
