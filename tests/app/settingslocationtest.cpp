#include "startupfixture.h"

#include "forms/helpmenu.h"
#include "settingslocation.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>

#include <gtest/gtest.h>

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

struct LocationCase {
    const char* name;
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
        LocationCase{"PortableFolder", true, kSite, kUser, false, "Site caption", kUser},
        LocationCase{"PortableFirstStart", true, {}, {}, false, "Monitoring Data Viewer", {}},
        LocationCase{"SiteFileCopied", false, kSite, {}, true, "Site caption", kSite},
        LocationCase{"FirstStartWithoutSiteFile",
                     false,
                     {},
                     {},
                     true,
                     "Monitoring Data Viewer",
                     "[Text]\nFileCaption=Monitoring Data File\n"},
        LocationCase{"UserFileKept", false, kSite, kUser, true, "User caption", kUser}),
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

} // namespace
