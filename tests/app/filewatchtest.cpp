#include "filewatch.h"
#include "apptestsupport.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>
#include <vector>

namespace {

constexpr int kSettleMs = 300;
// A coarse timer may end its wait up to 5 % early.
constexpr qint64 kEarliestEnd = kSettleMs * 95 / 100;

// A file in a folder of its own, watched with a short settling wait, and the reports it gave
// with the time each came.
class FileWatchTest : public ::testing::Test {
protected:
    // The watcher needs the application's event loop from its construction on.
    static void SetUpTestSuite() { apptest::application(); }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        apptest::writeFile(path, "first version\n");
        clock.start();
        QObject::connect(&file, &FileWatch::changed,
                         [this] { changes.push_back(clock.elapsed()); });
        QObject::connect(&file, &FileWatch::gone, [this] { gones.push_back(clock.elapsed()); });
        file.watch(path);
        file.resetTo(FileVersion::of(path));
    }

    // Waits three settling waits, long enough for any report to come.
    static void waitLong() { QTest::qWait(kSettleMs * 3); }
    bool waitForChanges(std::size_t count) {
        return QTest::qWaitFor([&] { return changes.size() >= count; }, kSettleMs * 10);
    }

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("watched.txt"));
    FileWatch file{kSettleMs};
    QElapsedTimer clock;
    std::vector<qint64> changes;
    std::vector<qint64> gones;
};

TEST_F(FileWatchTest, AChangeOfAnotherFileInTheFolderIsIgnored) {
    apptest::writeFile(folder.filePath(QStringLiteral("other.txt")), "beside\n");
    ASSERT_TRUE(QFile::rename(folder.filePath(QStringLiteral("other.txt")),
                              folder.filePath(QStringLiteral("renamed.txt"))));
    waitLong();
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(gones.empty());
}

TEST_F(FileWatchTest, AFileGoneAndBackIsWatchedAgain) {
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gones.empty(); }, kSettleMs * 10));
    EXPECT_TRUE(changes.empty());

    apptest::writeFile(path, "second version\n");
    ASSERT_TRUE(waitForChanges(1));
    file.setRead(FileVersion::of(path));

    // Only the file itself tells of an edit in place: its folder does not change.
    QFile edited(path);
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("appended\n");
    edited.close();
    EXPECT_TRUE(waitForChanges(2));
    EXPECT_EQ(gones.size(), 1u);
}

TEST_F(FileWatchTest, AFileBeingWrittenIsReportedOnceItStayedQuietForTheWholeWait) {
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::Append));
    qint64 lastWrite = 0;
    for (int piece = 0; piece < 10; ++piece) {
        written.write("another line\n");
        written.flush();
        lastWrite = clock.elapsed();
        QTest::qWait(kSettleMs / 8);
    }
    written.close();
    waitLong();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_GE(changes[0], lastWrite + kEarliestEnd);
}

// The same size and modification time with another change time is another version: a rewrite
// whose modification time was set back, or new permissions.
TEST_F(FileWatchTest, AMovedChangeTimeAloneCountsAsAChange) {
    struct Case {
        const char* what;
        std::function<void(const QByteArray&)> change;
    };
    const Case cases[] = {
        {"rewritten, modification time set back",
         [](const QByteArray& name) {
             struct stat before {};
             ASSERT_EQ(::stat(name.constData(), &before), 0);
             apptest::writeFile(QFile::decodeName(name), "other version\n");
             const timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, name.constData(), times, 0), 0);
         }},
        {"permissions changed",
         [](const QByteArray& name) { ASSERT_EQ(::chmod(name.constData(), 0600), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        apptest::writeFile(path, "first version\n");
        file.watch(path);
        file.resetTo(FileVersion::of(path));
        waitLong();
        changes.clear();
        const std::optional<FileVersion> before = FileVersion::of(path);
        QTest::qWait(20); // a later change time
        c.change(QFile::encodeName(path));
        const std::optional<FileVersion> after = FileVersion::of(path);
        ASSERT_TRUE(before && after);
        ASSERT_EQ(after->size, before->size);
        ASSERT_EQ(after->modifiedNs, before->modifiedNs);
        EXPECT_TRUE(waitForChanges(1));
    }
}

TEST_F(FileWatchTest, AHeldWatchReportsNothingUntilItLooksAgain) {
    file.hold(true);
    apptest::writeFile(path, "second version\n");
    waitLong();
    EXPECT_TRUE(changes.empty());

    file.hold(false);
    file.waitIfChangedSinceRead();
    EXPECT_TRUE(waitForChanges(1));
}

} // namespace
