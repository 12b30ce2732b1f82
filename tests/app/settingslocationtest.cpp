#include "startupfixture.h"

#include "componentregistry.h"
#include "forms/helpmenu.h"
#include "settingslocation.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <vector>

namespace {

using apptest::StartupRun;

// The program folder without write permission for the life of the object.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path) {
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                         QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    }
    ~ReadOnlyFolder() {
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);
    }

private:
    QString path_;
};

QString userFileOf(const StartupRun& run) {
    return run.registry.path() + QStringLiteral("/Plotwell/Plotwell.ini");
}

// An environment variable set to `value` (unset when null) for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : name_(name), saved_(qgetenv(name)), wasSet_(qEnvironmentVariableIsSet(name)) {
        if (value == nullptr)
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable() {
        if (wasSet_)
            qputenv(name_, saved_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray saved_;
    bool wasSet_;
};

void markInstalled(const StartupRun& run) {
    apptest::writeFile(run.file(QLatin1String(kInstalledMarker)), "installed\n");
}

struct LocationCase {
    const char* name;
    bool installed;
    bool writableFolder;
    QByteArray siteFile;  // beside the program; empty: none
    QByteArray userFile;  // in the user's settings home; empty: none
    bool usesUserFile;    // else the file beside the program
    const char* caption;  // the window title's first part
    QByteArray userStart; // what the user's file starts with afterwards; empty: no file
};

void PrintTo(const LocationCase& c, std::ostream* out) {
    *out << c.name;
}

class SettingsLocation : public ::testing::TestWithParam<LocationCase> {};

// The settings file in use, the texts that come from it, the control's axis titles written into
// the same file, and the About box naming it.
TEST_P(SettingsLocation, FileInUse) {
    const LocationCase& c = GetParam();
    StartupRun run;
    // No configuration folder holds a site file.
    const QTemporaryDir configDirs;
    const ScopedVariable dirs("XDG_CONFIG_DIRS", configDirs.path().toUtf8().constData());
    if (c.installed)
        markInstalled(run);
    if (!c.siteFile.isEmpty())
        run.writeIni(c.siteFile);
    if (!c.userFile.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(run.registry.path() + QStringLiteral("/Plotwell")));
        apptest::writeFile(userFileOf(run), c.userFile);
    }
    std::optional<ReadOnlyFolder> readOnly;
    if (!c.writableFolder)
        readOnly.emplace(run.folder.path());
    ASSERT_EQ(isWritableFolder(run.folder.path()), c.writableFolder);

    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    const QString expected = c.usesUserFile ? userFileOf(run) : run.iniPath();
    EXPECT_EQ(gIniFile, expected);
    EXPECT_TRUE(StartupRun::window().windowTitle().startsWith(QString::fromUtf8(c.caption)));

    auto* help = StartupRun::window().menuBar()->findChild<HelpMenu*>();
    ASSERT_NE(help, nullptr);
    help->mnuAbout().trigger();
    ASSERT_FALSE(run.prompts.messages.empty());
    EXPECT_EQ(run.prompts.messages.back().title, QStringLiteral("About Plotwell"));
    EXPECT_TRUE(run.prompts.messages.back().text.contains(expected));
    unloadMainWindow();

    const QByteArray used = apptest::readFile(expected);
    EXPECT_TRUE(used.contains("\nTavixAxisX1=")) << used.toStdString();
    EXPECT_TRUE(used.contains("\nForm Top=")) << used.toStdString();
    if (c.userStart.isEmpty()) {
        EXPECT_FALSE(QFile::exists(userFileOf(run)));
    } else {
        EXPECT_TRUE(apptest::readFile(userFileOf(run)).startsWith(c.userStart));
    }
    if (c.usesUserFile) {
        EXPECT_EQ(run.ini(), c.siteFile);
    }
}

const QByteArray kSite = "[Text]\nfrmCaption=Site caption\n";
const QByteArray kUser = "[Text]\nfrmCaption=User caption\n";

INSTANTIATE_TEST_SUITE_P(
    Rule, SettingsLocation,
    ::testing::Values(
        LocationCase{"PortableFolder", false, true, kSite, kUser, false, "Site caption", kUser},
        LocationCase{
            "PortableFirstStart", false, true, {}, {}, false, "Monitoring Data Viewer", {}},
        LocationCase{"SiteFileCopied", false, false, kSite, {}, true, "Site caption", kSite},
        LocationCase{"FirstStartWithoutSiteFile",
                     false,
                     false,
                     {},
                     {},
                     true,
                     "Monitoring Data Viewer",
                     "[Text]\nFileCaption=Monitoring Data File\n"},
        LocationCase{"UserFileKept", false, false, kSite, kUser, true, "User caption", kUser},
        // An installed program's folder that the user may write (the superuser's, as a rule)
        // still keeps its settings in the user's file and leaves the site file as it is.
        LocationCase{
            "InstalledInAWritableFolder", true, true, kSite, {}, true, "Site caption", kSite},
        LocationCase{"InstalledUserFileKept", true, true, kSite, kUser, true, "User caption",
                     kUser},
        LocationCase{"InstalledReadOnly", true, false, kSite, {}, true, "Site caption", kSite}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a site file the user's first file holds what a first start writes beside the program.
TEST(SettingsLocationFirstStart, UserFileHoldsEveryDefault) {
    StartupRun run;
    const ReadOnlyFolder readOnly(run.folder.path());
    ASSERT_EQ(Main(QString()), StartupOutcome::Running);
    unloadMainWindow();
    QByteArray expected = apptest::readFile(QStringLiteral(PLOTWELL_TEST_DATA "/firststart.ini"));
    expected.replace("@APPFOLDER@", (run.folder.path() + u'/').toUtf8());
    EXPECT_EQ(apptest::readFile(userFileOf(run)).toStdString(), expected.toStdString());
}

// $XDG_CONFIG_HOME unset, empty or relative: ~/.config.
TEST(SettingsLocationFirstStart, ConfigHomeDefaultsToDotConfig) {
    StartupRun run;
    const ReadOnlyFolder readOnly(run.folder.path());
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    for (const char* configHome : {"", "relative/config"}) {
        qputenv("XDG_CONFIG_HOME", configHome);
        qputenv("HOME", home.path().toUtf8());
        EXPECT_EQ(settingsFileFor(run.folder.path() + u'/'),
                  home.path() + QStringLiteral("/.config/Plotwell/Plotwell.ini"))
            << configHome;
    }
    qputenv("HOME", savedHome);
}

// The process runs as another user with other groups for the life of the object; the superuser's
// saved user id brings it back.
class ProcessIdentity {
public:
    ProcessIdentity(uid_t user, gid_t group, const std::vector<gid_t>& groups) {
        ::getresgid(&gids_[0], &gids_[1], &gids_[2]);
        saved_.resize(static_cast<std::size_t>(::getgroups(0, nullptr)));
        saved_.resize(
            static_cast<std::size_t>(::getgroups(static_cast<int>(saved_.size()), saved_.data())));
        ok_ = ::setgroups(groups.size(), groups.data()) == 0 &&
              ::setresgid(group, group, gids_[2]) == 0 && ::setresuid(user, user, 0) == 0;
    }
    ~ProcessIdentity() {
        ::setresuid(0, 0, 0);
        ::setresgid(gids_[0], gids_[1], gids_[2]);
        ::setgroups(saved_.size(), saved_.data());
    }
    bool ok() const { return ok_; }

private:
    gid_t gids_[3] = {};
    std::vector<gid_t> saved_;
    bool ok_ = false;
};

// A program folder owned by another user that only its group may write: its members may keep the
// settings beside the program, whether the group is the process's own or one of its others, and
// nobody else may, the superuser included.
TEST(SettingsLocationGroupFolder, WritableForTheMembersOfItsGroupOnly) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a folder to another user";
    constexpr uid_t kOwner = 40001;
    constexpr uid_t kUser = 40002;
    constexpr gid_t kGroup = 40010;
    constexpr gid_t kOtherGroup = 40011;
    const struct {
        const char* name;
        uid_t user;
        gid_t group;
        std::vector<gid_t> groups;
        bool writable;
    } cases[] = {
        {"superuser in the folder's group", 0, kGroup, {}, true},
        {"superuser with the folder's group as its one other", 0, 0, {kGroup}, true},
        {"superuser with the folder's group among its others", 0, 0, {kOtherGroup, kGroup}, true},
        {"superuser outside the group", 0, 0, {kOtherGroup}, false},
        {"user in the folder's group", kUser, kGroup, {}, true},
        {"user with the folder's group among its others",
         kUser,
         kUser,
         {kOtherGroup, kGroup},
         true},
        {"user outside the group", kUser, kUser, {kOtherGroup}, false},
    };
    QTemporaryDir parent;
    ASSERT_TRUE(QFile::setPermissions(
        parent.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                           QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QString folder = parent.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QByteArray name = QFile::encodeName(folder);
    ASSERT_EQ(::chown(name.constData(), kOwner, kGroup), 0);
    ASSERT_EQ(::chmod(name.constData(), 0575), 0);
    for (const auto& c : cases) {
        const ProcessIdentity identity(c.user, c.group, c.groups);
        ASSERT_TRUE(identity.ok()) << c.name;
        EXPECT_EQ(isWritableFolder(folder), c.writable) << c.name;
    }
}

// An installed program's first user file copies the first configuration folder that holds a site
// file, before the one beside the program; folders that are relative or lack the file are passed.
TEST(SettingsLocationInstalled, SiteFileComesFromTheConfigurationFoldersFirst) {
    const QByteArray beside = "[Text]\nfrmCaption=Beside\n";
    const QByteArray first = "[Text]\nfrmCaption=First\n";
    const QByteArray second = "[Text]\nfrmCaption=Second\n";
    const struct {
        const char* name;
        std::vector<QByteArray> folders; // empty entry: a folder without a site file
        QByteArray expected;
    } cases[] = {
        {"FirstHolder", {{}, first, second}, first},
        {"OnlyTheLast", {{}, {}, second}, second},
        {"NoneBesideIsUsed", {{}, {}}, beside},
    };
    for (const auto& c : cases) {
        StartupRun run;
        markInstalled(run);
        run.writeIni(beside);
        const QTemporaryDir configDirs;
        QStringList list{QStringLiteral("relative/xdg")};
        for (std::size_t i = 0; i < c.folders.size(); ++i) {
            const QString folder = configDirs.filePath(QString::number(i));
            ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Plotwell")));
            if (!c.folders[i].isEmpty())
                apptest::writeFile(folder + QStringLiteral("/Plotwell/Plotwell.ini"), c.folders[i]);
            list.append(folder);
        }
        const ScopedVariable dirs("XDG_CONFIG_DIRS", list.join(u':').toUtf8().constData());
        EXPECT_EQ(settingsFileFor(run.folder.path() + u'/'), userFileOf(run)) << c.name;
        EXPECT_EQ(apptest::readFile(userFileOf(run)), c.expected) << c.name;
        EXPECT_EQ(run.ini(), beside) << c.name;
    }
}

// With no folder remembered, an installed program's open dialog starts in the user's home (its own
// folder holds no data); one that is not installed starts in its own folder. A remembered folder
// is used by both.
TEST(SettingsLocationInstalled, OpenDialogStartsInTheHomeFolder) {
    QTemporaryDir home;
    QTemporaryDir remembered;
    const ScopedVariable homeVariable("HOME", home.path().toUtf8().constData());
    const struct {
        const char* name;
        bool installed;
        bool remembers;
    } cases[] = {{"Installed", true, false},
                 {"NotInstalled", false, false},
                 {"InstalledRemembers", true, true}};
    for (const auto& c : cases) {
        StartupRun run;
        if (c.installed)
            markInstalled(run);
        if (c.remembers)
            run.writeIni("[Reference]\nInit Directry=" + remembered.path().toUtf8() + "/\n");
        ASSERT_EQ(Main(QString()), StartupOutcome::Running) << c.name;
        QString expected = run.folder.path() + u'/';
        if (c.remembers)
            expected = remembered.path() + u'/';
        else if (c.installed)
            expected = home.path() + u'/';
        EXPECT_EQ(gInitDirectory, expected) << c.name;
        unloadMainWindow();
    }
}

// Without $HOME and $XDG_CONFIG_HOME nothing is written at the file system's root: the settings
// live for the run only, starting from the site file, and standard error says so once.
TEST(SettingsLocationWithoutHome, SettingsAreKeptForTheRunOnly) {
    const struct {
        const char* name;
        bool installed;
        bool writableFolder;
    } cases[] = {{"Installed", true, true}, {"ReadOnlyFolder", false, false}};
    const QByteArray site = "[Text]\nfrmCaption=Site caption\n";
    for (const auto& c : cases) {
        StartupRun run;
        if (c.installed)
            markInstalled(run);
        run.writeIni(site);
        std::optional<ReadOnlyFolder> readOnly;
        if (!c.writableFolder)
            readOnly.emplace(run.folder.path());
        const ScopedVariable home("HOME", nullptr);
        const ScopedVariable configHome("XDG_CONFIG_HOME", nullptr);
        ::testing::internal::CaptureStderr();
        const QString first = settingsFileFor(run.folder.path() + u'/');
        const QString again = settingsFileFor(run.folder.path() + u'/');
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(first, again) << c.name;
        EXPECT_FALSE(first.startsWith(QStringLiteral("/.config"))) << first.toStdString();
        EXPECT_FALSE(first.startsWith(run.folder.path())) << first.toStdString();
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/.config/Plotwell"))) << c.name;
        EXPECT_TRUE(apptest::readFile(first).startsWith(site)) << c.name;
        EXPECT_TRUE(component::ComponentRegistry::filePath().isEmpty()) << c.name;
        // Said once per process: the first case says it, the second finds it said.
        const bool firstCase = &c == &cases[0];
        EXPECT_EQ(said.find("settings are kept for this run only") != std::string::npos, firstCase)
            << c.name << ": " << said;
    }
}

} // namespace
