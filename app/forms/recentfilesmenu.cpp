#include "recentfilesmenu.h"

#include "filenametext.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

constexpr int kMessageMs = 10000;

// Why `path` cannot be opened now, or empty when it is a regular file. A name longer than the
// system takes says so, and nothing is known of the file.
struct Refusal {
    QString reason;
    bool nameTooLong = false;
};

Refusal whyRefused(const QString& path) {
    struct stat status {};
    if (::stat(fileNameBytes(path).constData(), &status) != 0) {
        if (errno == ENAMETOOLONG)
            return {QStringLiteral("name too long"), true};
        return {QString::fromLocal8Bit(std::strerror(errno))};
    }
    return {S_ISREG(status.st_mode) ? QString() : QStringLiteral("not a regular file")};
}

// A menu text shows "&" only doubled.
QString itemText(int index, const QString& path) {
    return QStringLiteral("&%1 %2").arg(index + 1).arg(QString(path).replace(u'&', "&&"));
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& fileMenu, QAction& before, QMainWindow& window)
    : QObject(&window), mWindow(window) {
    mLeadingSeparator = fileMenu.insertSeparator(&before);
    for (int i = 0; i < RecentFileList::kCapacity; ++i) {
        mItems[i] = new QAction(&fileMenu);
        mItems[i]->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        fileMenu.insertAction(&before, mItems[i]);
        connect(mItems[i], &QAction::triggered, this, [this, i] { mnuRecent_Click(i); });
    }
    mSeparator = fileMenu.insertSeparator(&before);
    rebuild();
}

void RecentFilesMenu::load() {
    mList.load();
    rebuild();
}

void RecentFilesMenu::fileShown(const QString& path) {
    if (path.isEmpty())
        return;
    mList.add(path);
    rebuild();
}

void RecentFilesMenu::mnuRecent_Click(int index) {
    if (index >= mList.files().size())
        return;
    const QString path = mList.files().at(index);
    const Refusal refusal = whyRefused(path);
    if (refusal.reason.isEmpty()) {
        emit openRequested(path);
        return;
    }
    if (refusal.nameTooLong) {
        mWindow.statusBar()->showMessage(
            QStringLiteral("%1: %2 (the system takes at most %3 bytes)")
                .arg(path, refusal.reason)
                .arg(PATH_MAX - 1),
            kMessageMs);
        return;
    }
    mList.remove(path);
    rebuild();
    mWindow.statusBar()->showMessage(
        QStringLiteral("%1: %2 (removed from the recent files)").arg(path, refusal.reason),
        kMessageMs);
}

// Unused items stay in the menu hidden, so that their shortcuts keep their numbers.
void RecentFilesMenu::rebuild() {
    const QStringList& files = mList.files();
    for (int i = 0; i < RecentFileList::kCapacity; ++i) {
        const bool used = i < files.size();
        mItems[i]->setVisible(used);
        mItems[i]->setEnabled(used);
        mItems[i]->setText(used ? itemText(i, files.at(i)) : QString());
    }
    mLeadingSeparator->setVisible(!files.isEmpty());
    mSeparator->setVisible(!files.isEmpty());
}
