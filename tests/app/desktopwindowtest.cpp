#include "startupfixture.h"

#include "filenametext.h"
#include "forms/filereloader.h"
#include "forms/recentfilesmenu.h"
#include "varnutl.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

using apptest::StartupRun;

constexpr int kReloadWaitMs = 10000;

// The program started in-process with the real main window and control; files are made in its
// folder.
class DesktopWindow : public ::testing::Test {
protected:
    void start() {
        ASSERT_EQ(Main(QString()), StartupOutcome::Running);
        window = &StartupRun::window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        recent = window->findChild<RecentFilesMenu*>();
        reloader = window->findChild<FileReloader*>();
        ASSERT_NE(recent, nullptr);
        ASSERT_NE(reloader, nullptr);
    }
    void restart() {
        unloadMainWindow();
        start();
    }

    QString sample(const QString& name, const char* from = "samples/CUTDATA.txt") const {
        const QString path = run.file(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QString::fromLatin1(from), path));
        return path;
    }
    void open(const QString& path) {
        run.prompts.chosenFiles = {path};
        window->mnuOpen().trigger();
    }
    QString message() const { return window->statusBar()->currentMessage(); }
    QImage chart() const { return window->viewerWidget().grab().toImage(); }
    std::pair<float, float> shownRange() const {
        float lower = -1;
        float upper = -1;
        window->Viewer1().getDistArea(lower, upper);
        return {lower, upper};
    }
    void zoomTo(float lower, float upper) const {
        window->Viewer1().setDistArea(lower, upper);
        window->Viewer1().setViewRenewal(true);
        window->Viewer1().refresh();
    }
    bool waitForMessage(const QString& start, int timeoutMs = kReloadWaitMs) const {
        return QTest::qWaitFor([&] { return message().startsWith(start); }, timeoutMs);
    }
    // Runs the calls queued so far, such as the work a render left for later.
    static void runQueuedCalls() {
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        ASSERT_TRUE(QTest::qWaitFor([&ran] { return ran; }));
    }

    StartupRun run;
    FrmMain* window = nullptr;
    RecentFilesMenu* recent = nullptr;
    FileReloader* reloader = nullptr;
};

// The first half of the sample's lines: a shorter file of the same format.
QByteArray firstHalfOfSample() {
    const QByteArray text = apptest::readFile(QStringLiteral("samples/CUTDATA.txt"));
    return text.left(text.indexOf('\n', text.size() / 2) + 1);
}

// Replaces the file at `path` by one with `content`, written beside it and renamed over it, as
// soon as a reader that opened it closes it again: right after the program's load has read it.
class ReplaceAfterRead {
public:
    ReplaceAfterRead(const QString& path, const QByteArray& content)
        : path_(QFile::encodeName(path).toStdString()), content_(content.toStdString()),
          inotify_(::inotify_init1(IN_CLOEXEC)) {
        EXPECT_GE(::inotify_add_watch(inotify_, path_.c_str(), IN_CLOSE_NOWRITE), 0);
        thread_ = std::thread([this] { replaceWhenRead(); });
    }
    ~ReplaceAfterRead() {
        thread_.join();
        ::close(inotify_);
    }
    ReplaceAfterRead(const ReplaceAfterRead&) = delete;
    ReplaceAfterRead& operator=(const ReplaceAfterRead&) = delete;

    bool replaced() const { return replaced_; }

private:
    void replaceWhenRead() {
        pollfd closed{inotify_, POLLIN, 0};
        if (::poll(&closed, 1, kReloadWaitMs) != 1)
            return;
        const std::string next = path_ + ".new";
        std::ofstream(next, std::ios::binary) << content_;
        replaced_ = std::rename(next.c_str(), path_.c_str()) == 0;
    }

    std::string path_;
    std::string content_;
    int inotify_;
    std::atomic<bool> replaced_{false};
    std::thread thread_;
};

TEST_F(DesktopWindow, RecentFilesKeepTheLastEightNewestFirstAcrossStarts) {
    start();
    QStringList opened;
    for (int i = 0; i < 9; ++i) {
        opened.prepend(sample(QStringLiteral("run %1 &.txt").arg(i)));
        open(opened.front());
    }
    open(opened.at(3)); // an entry already listed moves to the front
    const QStringList expected = {opened.at(3), opened.at(0), opened.at(1), opened.at(2),
                                  opened.at(4), opened.at(5), opened.at(6), opened.at(7)};
    EXPECT_EQ(recent->files(), expected);
    EXPECT_EQ(ReadIniValue(QStringLiteral("Recent Files"), QStringLiteral("File1")), opened.at(3));
    EXPECT_EQ(ReadIniValue(QStringLiteral("Recent Files"), QStringLiteral("File8")), opened.at(7));
    EXPECT_EQ(recent->item(0).text(),
              QStringLiteral("&1 ") + QString(opened.at(3)).replace(u'&', QStringLiteral("&&")));

    restart();
    run.prompts.fileRequests.clear();
    EXPECT_EQ(recent->files(), expected);
    for (int i = 0; i < RecentFileList::kCapacity; ++i) {
        EXPECT_TRUE(recent->item(i).isVisible());
        EXPECT_EQ(recent->item(i).shortcut(),
                  QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
    }
    // Ctrl+3 opens the third file without the dialog and puts it first.
    QTest::keyClick(window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(window->fileName(), expected.at(2));
    EXPECT_TRUE(run.prompts.fileRequests.empty());
    EXPECT_EQ(recent->files().front(), expected.at(2));
}

// A hand-edited list that names a file twice and leaves a slot empty shows each file once, in the
// order of its first slot.
TEST_F(DesktopWindow, AHandEditedRecentListNamesEachFileOnce) {
    const QString a = sample(QStringLiteral("a.txt"));
    const QString b = sample(QStringLiteral("b.txt"));
    run.writeIni((QStringLiteral("[Recent Files]\nFile1=%1\nFile2=%2\nFile3=\nFile4=%1\nFile5=%2\n"
                                 "File6=%1\n")
                      .arg(a, b)
                      .toUtf8()));
    start();
    EXPECT_EQ(recent->files(), (QStringList{a, b}));
    EXPECT_TRUE(recent->item(1).isVisible());
    EXPECT_FALSE(recent->item(2).isVisible());
}

// A file that was removed, or replaced by a folder, leaves the list when chosen.
TEST_F(DesktopWindow, ChosenRecentFileThatHasGoneIsRemovedWithTheReason) {
    const struct {
        bool replaceByFolder;
        const char* reason;
    } cases[] = {{false, "No such file or directory"}, {true, "not a regular file"}};
    start();
    const QString kept = sample(QStringLiteral("kept.txt"));
    for (const auto& [replaceByFolder, reason] : cases) {
        const QString gone = sample(QStringLiteral("gone.txt"));
        open(kept);
        open(gone);
        const QString title = window->windowTitle();
        const QImage before = chart();
        ASSERT_TRUE(QFile::remove(gone));
        if (replaceByFolder) {
            ASSERT_TRUE(QDir().mkdir(gone));
        }
        recent->item(0).trigger();
        EXPECT_EQ(recent->files(), QStringList{kept});
        EXPECT_TRUE(message().startsWith(gone + QStringLiteral(": ") + reason))
            << message().toStdString();
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(chart(), before);
        EXPECT_TRUE(
            ReadIniValue(QStringLiteral("Recent Files"), QStringLiteral("File2")).isEmpty());
        EXPECT_FALSE(recent->item(1).isVisible());
        QDir().rmdir(gone);
    }
}

// A file dragged from a file manager onto any part of the window opens; other drops do not.
// The current folder for as long as it lives.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : mOld(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(mOld); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString mOld;
};

// The value of `key` in section "Recent Files" as the settings file holds it.
QByteArray storedRecentFile(const QByteArray& ini, const QByteArray& key) {
    const qsizetype start = ini.indexOf("\n" + key + "=");
    if (start < 0)
        return {};
    const qsizetype valueStart = start + key.size() + 2;
    return ini.mid(valueStart, ini.indexOf('\n', valueStart) - valueStart);
}

// A name given relative to the current folder is listed from the root, while the title keeps it
// as given; a name that is no UTF-8 (and one with "%") opens, is listed and comes back after a
// restart byte for byte.
TEST_F(DesktopWindow, RecentFilesAreAbsoluteAndKeepEveryByteOfTheName) {
    start();
    sample(QStringLiteral("rel.txt"));
    {
        const CurrentFolder current(run.folder.path());
        open(QStringLiteral("rel.txt"));
    }
    EXPECT_EQ(window->fileName(), QStringLiteral("rel.txt"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("    rel.txt")));
    EXPECT_EQ(recent->files().front(), run.file(QStringLiteral("rel.txt")));

    const QByteArray folderBytes = QFile::encodeName(run.folder.path());
    const QByteArray bytes = folderBytes + "/caf\xE9 100%E9.txt";
    {
        const QByteArray text = apptest::readFile(QStringLiteral("samples/CUTDATA.txt"));
        FILE* file = std::fopen(bytes.constData(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), file);
        std::fclose(file);
    }
    const QString name = fileNameFromBytes(bytes);
    open(name);
    EXPECT_EQ(window->fileName(), name);
    EXPECT_EQ(recent->files().front(), name);
    EXPECT_EQ(storedRecentFile(run.ini(), "File1"), folderBytes + "/caf%E9 100%25E9.txt");

    restart();
    ASSERT_EQ(recent->files().size(), 2);
    EXPECT_EQ(recent->files().front(), name);
    open(run.file(QStringLiteral("rel.txt")));
    recent->item(1).trigger();
    EXPECT_EQ(window->fileName(), name) << window->statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(window->windowTitle().endsWith(name));
}

// An entry longer than the system takes stays listed whole and is refused by name; entries written
// before names were escaped read as they were.
TEST_F(DesktopWindow, ARecentNameLongerThanTheSystemTakesIsRefusedAndKept) {
    const QByteArray tooLong = "/" + QByteArray(5000, 'a') + "/cut.txt";
    const QByteArray old = "/old/a%41 100%.txt";
    run.writeIni("[Recent Files]\nFile1=" + tooLong + "\nFile2=" + old + "\n");
    start();
    EXPECT_EQ(recent->files(),
              QStringList({QString::fromLatin1(tooLong), QString::fromLatin1(old)}));
    const QString title = window->windowTitle();
    recent->item(0).trigger();
    EXPECT_TRUE(message().contains(QStringLiteral(": name too long")))
        << message().left(200).toStdString();
    EXPECT_EQ(recent->files().size(), 2);
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(storedRecentFile(run.ini(), "File1"), tooLong);
    EXPECT_EQ(storedRecentFile(run.ini(), "File2"), old);
}

TEST_F(DesktopWindow, FileDroppedOnTheWindowOutsideTheChartOpens) {
    start();
    const QString path = sample(QStringLiteral("dropped ファイル.txt"));
    const struct {
        QList<QUrl> urls;
        bool accepted;
    } drops[] = {
        {{QUrl(QStringLiteral("https://example.org/a.txt"))}, false},
        {{QUrl(QStringLiteral("https://example.org/a.txt")), QUrl::fromLocalFile(path)}, true}};
    for (const auto& [urls, accepted] : drops) {
        QMimeData data;
        data.setUrls(urls);
        auto* target = const_cast<QPushButton*>(&window->Command1());
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_EQ(enter.isAccepted(), accepted);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_EQ(window->fileName(), accepted ? path : QString());
    }
    EXPECT_TRUE(run.prompts.fileRequests.empty());
}

// Rewritten with the same total length, the file reloads and keeps the shown part; a shorter
// file shows its whole range.
TEST_F(DesktopWindow, RewrittenFileReloadsKeepingTheShownPartWhenTheLengthIsTheSame) {
    start();
    const QString path = sample(QStringLiteral("watched.txt"));
    open(path);
    zoomTo(20, 40);
    QTest::qWait(50); // a new modification time
    apptest::writeFile(path, apptest::readFile(QStringLiteral("samples/CUTDATA.txt")));
    ASSERT_TRUE(waitForMessage(QStringLiteral("Reloaded "))) << message().toStdString();
    runQueuedCalls();
    EXPECT_EQ(shownRange(), std::make_pair(20.0f, 40.0f));

    window->statusBar()->clearMessage();
    const QImage before = chart();
    apptest::writeFile(path, firstHalfOfSample());
    ASSERT_TRUE(waitForMessage(QStringLiteral("Reloaded "))) << message().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownRange() == std::make_pair(0.0f, 100.0f); }));
    EXPECT_NE(chart(), before);
    EXPECT_EQ(window->fileName(), path);
}

// A file written beside the shown one changes the watched folder but reloads nothing: the wait
// covers the settling time three times over.
TEST_F(DesktopWindow, AChangeToAnotherFileInTheFolderReloadsNothing) {
    start();
    open(sample(QStringLiteral("shown.txt")));
    zoomTo(20, 40);
    window->statusBar()->clearMessage();
    apptest::writeFile(run.file(QStringLiteral("other.txt")), firstHalfOfSample());
    EXPECT_FALSE(waitForMessage(QStringLiteral("Reload"), FileWatch::kSettleMs * 3))
        << message().toStdString();
    EXPECT_EQ(shownRange(), std::make_pair(20.0f, 40.0f));
}

// The optimiser's way: a new file beside it, then renamed over it. Later rewrites are still seen.
TEST_F(DesktopWindow, DeleteAndRenameReloadsAndTheFileStaysWatched) {
    start();
    const QString path = sample(QStringLiteral("renamed.txt"));
    open(path);
    const QImage whole = chart();
    const QString next = run.file(QStringLiteral(".renamed.txt.new"));
    apptest::writeFile(next, firstHalfOfSample());
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(next, path));
    ASSERT_TRUE(waitForMessage(QStringLiteral("Reloaded "))) << message().toStdString();
    EXPECT_NE(chart(), whole);

    window->statusBar()->clearMessage();
    apptest::writeFile(path, apptest::readFile(QStringLiteral("samples/CUTDATA.txt")));
    ASSERT_TRUE(waitForMessage(QStringLiteral("Reloaded "))) << message().toStdString();
    EXPECT_EQ(chart(), whole);
}

// An empty or cut binary file does not load: the chart, the shown part and the title stay, and
// the status bar says why.
TEST_F(DesktopWindow, FailingReloadKeepsTheOldChartAndSaysWhy) {
    const struct {
        const char* name;
        const char* from;
        QByteArray (*content)(const QString& sample);
        const char* reason;
    } cases[] = {
        {"empty.txt", "samples/CUTDATA.txt", [](const QString&) { return QByteArray(); },
         "the file is empty"},
        {"cut.bin", "samples/CUTDATA.bin",
         [](const QString& from) {
             QByteArray bytes = apptest::readFile(from);
             return bytes.left(bytes.size() - 3);
         },
         "truncated entry at byte offset"},
    };
    start();
    for (const auto& c : cases) {
        const QString path = sample(QString::fromLatin1(c.name), c.from);
        open(path);
        zoomTo(10, 30);
        const QImage before = chart();
        const QString title = window->windowTitle();
        window->statusBar()->clearMessage();
        apptest::writeFile(path, c.content(QString::fromLatin1(c.from)));
        ASSERT_TRUE(waitForMessage(QStringLiteral("Reload of ") + path + QStringLiteral(" failed")))
            << c.name << ": " << message().toStdString();
        EXPECT_TRUE(message().contains(QString::fromLatin1(c.reason))) << message().toStdString();
        EXPECT_EQ(shownRange(), std::make_pair(10.0f, 30.0f));
        EXPECT_EQ(window->windowTitle(), title);
        window->Viewer1().setViewRenewal(true);
        window->Viewer1().refresh();
        EXPECT_EQ(chart(), before) << c.name;
    }
}

// Switched off (and kept so across starts) nothing reloads by itself; F5 still does.
TEST_F(DesktopWindow, SwitchedOffOnlyF5Reloads) {
    start();
    EXPECT_TRUE(reloader->mnuReloadOnChange().isChecked());
    reloader->mnuReloadOnChange().trigger();
    EXPECT_EQ(ReadIniValue(QStringLiteral("Reload"), QStringLiteral("On Change")),
              QStringLiteral("0"));
    restart();
    EXPECT_FALSE(reloader->mnuReloadOnChange().isChecked());

    const QString path = sample(QStringLiteral("manual.txt"));
    open(path);
    const QImage whole = chart();
    apptest::writeFile(path, firstHalfOfSample());
    QTest::qWait(FileWatch::kSettleMs * 3);
    EXPECT_TRUE(message().isEmpty()) << message().toStdString();
    EXPECT_EQ(chart(), whole);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_TRUE(message().startsWith(QStringLiteral("Reloaded "))) << message().toStdString();
    EXPECT_NE(chart(), whole);
}

// A file replaced as soon as its load has read it, before the window shows it: the version
// marked as loaded is the one the load read, so the replacement is loaded once it has settled.
TEST_F(DesktopWindow, FileReplacedRightAfterItsLoadIsLoadedAgain) {
    start();
    const QString half = run.file(QStringLiteral("half.txt"));
    apptest::writeFile(half, firstHalfOfSample());
    open(half);
    const QImage replacement = chart();

    const QString path = sample(QStringLiteral("replaced.txt"));
    {
        const ReplaceAfterRead replace(path, firstHalfOfSample());
        open(path);
        EXPECT_TRUE(QTest::qWaitFor([&] { return replace.replaced(); }, kReloadWaitMs));
    }
    EXPECT_EQ(window->fileName(), path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return chart() == replacement; }, kReloadWaitMs))
        << message().toStdString();
}

// Acts as another user than the superuser, for whom permissions do not count, until destroyed;
// changes nothing for another user.
class ActingAsUser {
public:
    static constexpr uid_t kNobody = 65534;
    ActingAsUser() {
        if (::geteuid() == 0) {
            EXPECT_EQ(::seteuid(kNobody), 0);
        }
    }
    ~ActingAsUser() {
        if (::getuid() == 0) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    ActingAsUser(const ActingAsUser&) = delete;
    ActingAsUser& operator=(const ActingAsUser&) = delete;
};

// A new version that cannot be read yet fails to reload; once its permission is given, it is
// reloaded, though neither its content nor its modification time changed.
TEST_F(DesktopWindow, FileThatBecomesReadableAgainIsReloaded) {
    start();
    const QString path = sample(QStringLiteral("locked.txt"));
    open(path);
    const QImage whole = chart();
    const QByteArray next = QFile::encodeName(run.file(QStringLiteral(".locked.txt.new")));
    apptest::writeFile(QString::fromLocal8Bit(next), firstHalfOfSample());
    ASSERT_EQ(::chmod(next.constData(), 0), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(next.constData(), ActingAsUser::kNobody, ~gid_t{0}), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(run.file(QString())).constData(), 0755), 0);
    }
    window->statusBar()->clearMessage();
    ASSERT_EQ(std::rename(next.constData(), QFile::encodeName(path).constData()), 0);
    const ActingAsUser user;
    ASSERT_TRUE(waitForMessage(QStringLiteral("Reload of ") + path + QStringLiteral(" failed")))
        << message().toStdString();
    EXPECT_TRUE(message().contains(QStringLiteral("Permission denied"))) << message().toStdString();
    EXPECT_EQ(chart(), whole);

    window->statusBar()->clearMessage();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    ASSERT_TRUE(waitForMessage(QStringLiteral("Reloaded "))) << message().toStdString();
    EXPECT_NE(chart(), whole);
}

} // namespace
