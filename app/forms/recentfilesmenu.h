#pragma once

#include "recentfilelist.h"

#include <QObject>

#include <array>

class QAction;
class QMainWindow;
class QMenu;

// The recent files in the File menu, before Exit, with Ctrl+1..Ctrl+8. Choosing a file that
// has gone (or is no longer a regular file) removes it from the list and says why in the status
// bar; a name longer than the system takes is refused as "name too long" and stays listed; any
// other choice asks for the file to be opened.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    RecentFilesMenu(QMenu& fileMenu, QAction& before, QMainWindow& window);

    // Reads the list from the settings file in use.
    void load();
    // The window shows `path` now (empty: nothing); a shown file goes first in the list.
    void fileShown(const QString& path);

    const QStringList& files() const { return mList.files(); }
    QAction& item(int index) const { return *mItems.at(index); }

    void mnuRecent_Click(int index);

signals:
    void openRequested(const QString& path);

private:
    void rebuild();

    QMainWindow& mWindow;
    RecentFileList mList;
    std::array<QAction*, RecentFileList::kCapacity> mItems{};
    QAction* mLeadingSeparator = nullptr;
    QAction* mSeparator = nullptr;
};
