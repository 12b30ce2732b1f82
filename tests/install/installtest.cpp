#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>

namespace {

// The files that ship, as they lie in lib/plotwell of the installed tree and in the build's bin.
const QStringList kShippedFiles = {QStringLiteral("Plotwell"), QStringLiteral("PWRegOcx"),
                                   QStringLiteral("curvex"), QStringLiteral("Curvex.ocx"),
                                   QStringLiteral("libPlotwellComponent.so")};

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "test_install";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* const app = new QCoreApplication(argc, argv);
    return *app;
}

struct ProcessResult {
    int exitCode = -1;
    QByteArray output;
};

ProcessResult run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {-1, "did not end: " + program.toUtf8()};
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, process.readAll()};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

// The entries of every RUNPATH and RPATH tag of an ELF file, as readelf shows them.
QStringList runPathsOf(const QString& file) {
    const ProcessResult dump = run(QStringLiteral("readelf"), {QStringLiteral("-d"), file});
    EXPECT_EQ(dump.exitCode, 0) << dump.output.toStdString();
    QStringList paths;
    for (const QByteArray& line : dump.output.split('\n')) {
        if (!line.contains("(RUNPATH)") && !line.contains("(RPATH)"))
            continue;
        const qsizetype open = line.indexOf('[');
        const qsizetype close = line.lastIndexOf(']');
        paths += QString::fromUtf8(line.mid(open + 1, close - open - 1)).split(u':');
    }
    return paths;
}

// Only the file's own folder, or a folder below it, may be searched for libraries.
bool isOriginRelative(const QString& path) {
    return path == QLatin1String("$ORIGIN") || path.startsWith(QLatin1String("$ORIGIN/"));
}

void expectOnlyOriginRunPaths(const QString& folder) {
    for (const QString& name : kShippedFiles) {
        const QString file = folder + u'/' + name;
        ASSERT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
        for (const QString& path : runPathsOf(file))
            EXPECT_TRUE(isOriginRelative(path)) << file.toStdString() << ": " << path.toStdString();
    }
}

class InstalledTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        application();
        prefix_ = std::make_unique<QTemporaryDir>();
        install_ = run(QStringLiteral(PLOTWELL_CMAKE),
                       {QStringLiteral("--install"), QStringLiteral(PLOTWELL_BUILD_DIR),
                        QStringLiteral("--prefix"), prefix_->path()});
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override { ASSERT_EQ(install_.exitCode, 0) << install_.output.toStdString(); }

    static QString path(const QString& relative) { return prefix_->filePath(relative); }
    static QString programFolder() { return path(QStringLiteral("lib/plotwell")); }

    static std::unique_ptr<QTemporaryDir> prefix_;
    static ProcessResult install_;
};

std::unique_ptr<QTemporaryDir> InstalledTree::prefix_;
ProcessResult InstalledTree::install_;

TEST(ShippedFiles, BuildFolderCarriesOnlyOriginRunPaths) {
    expectOnlyOriginRunPaths(QStringLiteral(PLOTWELL_BUILD_DIR "/bin"));
}

TEST_F(InstalledTree, ProgramsLieTogetherWithOnlyOriginRunPaths) {
    expectOnlyOriginRunPaths(programFolder());
}

// The commands in bin/ are relative links, so the tree can move as a whole.
TEST_F(InstalledTree, CommandsAreRelativeLinksIntoTheProgramFolder) {
    const struct {
        const char* link;
        const char* target;
    } links[] = {{"bin/plotwell", "lib/plotwell/Plotwell"}, {"bin/curvex", "lib/plotwell/curvex"}};
    for (const auto& [link, target] : links) {
        const QString linkPath = path(QString::fromLatin1(link));
        std::array<char, 4096> text{};
        const ssize_t length =
            ::readlink(QFile::encodeName(linkPath).constData(), text.data(), text.size() - 1);
        ASSERT_GT(length, 0) << link << " is not a link";
        EXPECT_TRUE(QDir::isRelativePath(QString::fromLocal8Bit(text.data(), length))) << link;
        EXPECT_EQ(QFileInfo(linkPath).canonicalFilePath(),
                  QFileInfo(path(QString::fromLatin1(target))).canonicalFilePath())
            << link;
    }
}

TEST_F(InstalledTree, CurvexRunsThroughItsLink) {
    const ProcessResult info = run(path(QStringLiteral("bin/curvex")),
                                   {QStringLiteral("info"), QStringLiteral(PLOTWELL_SAMPLE)});
    EXPECT_EQ(info.exitCode, 0) << info.output.toStdString();
    EXPECT_TRUE(info.output.startsWith("records: 3000\n")) << info.output.toStdString();
}

// Debian's python3 finds the installed module under lib/python3/dist-packages, as in /usr, and
// with it the chart drawing that its render imports.
TEST_F(InstalledTree, PythonFindsTheInstalledModule) {
    const ProcessResult python = run(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import site, sys; site.addsitedir(sys.argv[1]); import curvex; "
                        "data = curvex.load(sys.argv[2]); print(len(data)); "
                        "curvex.render(data, sys.argv[3]); print(open(sys.argv[3], 'rb').read(4))"),
         path(QStringLiteral("lib/python3/dist-packages")), QStringLiteral(PLOTWELL_SAMPLE),
         path(QStringLiteral("chart.png"))});
    EXPECT_EQ(python.exitCode, 0) << python.output.toStdString();
    // Qt may warn on the way (no runtime folder, say); the printed lines come first and last.
    EXPECT_TRUE(python.output.startsWith("3000\n")) << python.output.toStdString();
    EXPECT_TRUE(python.output.endsWith("b'\\x89PNG'\n")) << python.output.toStdString();
}

// The desktop entry offers the program for both formats, which have no signature of their own,
// without claiming their endings; the validators accept every file under share/.
TEST_F(InstalledTree, DesktopFilesPassTheirValidators) {
    const QString entry = path(QStringLiteral("share/applications/org.plotwell.Plotwell.desktop"));
    const QString metainfo =
        path(QStringLiteral("share/metainfo/org.plotwell.Plotwell.metainfo.xml"));
    EXPECT_TRUE(QFileInfo::exists(
        path(QStringLiteral("share/icons/hicolor/scalable/apps/org.plotwell.Plotwell.svg"))));
    const ProcessResult desktop = run(QStringLiteral("desktop-file-validate"), {entry});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output.toStdString();
    EXPECT_TRUE(desktop.output.isEmpty()) << desktop.output.toStdString();
    const ProcessResult appstream =
        run(QStringLiteral("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    EXPECT_EQ(appstream.exitCode, 0) << appstream.output.toStdString();
    const QByteArray text = readFile(entry);
    EXPECT_TRUE(text.contains("\nMimeType=text/plain;application/octet-stream;\n"));
    EXPECT_TRUE(text.contains("\nExec=plotwell %f\n"));
}

// What a Debian user expects beside the programs: the licence in the machine-readable copyright
// format, the changelog of this very version, the two manual pages, compressed and free of
// formatter warnings, and the sample data.
TEST_F(InstalledTree, DocumentationAndSamplesAreInstalled) {
    const ProcessResult copyright =
        run(QStringLiteral("head"), {QStringLiteral("-n1"), path("share/doc/plotwell/copyright")});
    EXPECT_EQ(copyright.output,
              "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n");
    EXPECT_TRUE(readFile(path("share/doc/plotwell/copyright")).contains("\nLicense: Expat\n"));
    const ProcessResult changelog =
        run(QStringLiteral("zcat"), {path("share/doc/plotwell/changelog.Debian.gz")});
    EXPECT_EQ(changelog.exitCode, 0) << changelog.output.toStdString();
    EXPECT_TRUE(changelog.output.startsWith("plotwell (" PLOTWELL_PACKAGE_VERSION ") "))
        << changelog.output.toStdString();
    for (const char* page : {"share/man/man1/plotwell.1.gz", "share/man/man1/curvex.1.gz"}) {
        QProcess man;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        man.setProcessEnvironment(environment);
        man.start(QStringLiteral("man"),
                  {QStringLiteral("--warnings"), QStringLiteral("-l"), path(page)});
        ASSERT_TRUE(man.waitForFinished(60000)) << page;
        EXPECT_EQ(man.exitCode(), 0) << page;
        EXPECT_EQ(man.readAllStandardError(), "") << page;
        EXPECT_TRUE(man.readAllStandardOutput().contains("SYNOPSIS")) << page;
    }
    for (const char* sample : {"CUTDATA.txt", "CUTDATA.bin", "PARTDATA.txt", "PARTDATA.nc"}) {
        const QByteArray installed =
            readFile(path(QStringLiteral("share/plotwell/samples/") + QLatin1String(sample)));
        EXPECT_FALSE(installed.isEmpty()) << sample;
        EXPECT_EQ(installed, readFile(QStringLiteral(PLOTWELL_SAMPLES "/") + QLatin1String(sample)))
            << sample;
    }
}

// Makes a tree read-only for the life of the object (for every user: the program does not count
// the superuser's exemption) and writable again afterwards, so that it can be removed.
class ReadOnlyTree {
public:
    explicit ReadOnlyTree(const QString& root) : root_(root) { chmod(QStringLiteral("a-w")); }
    ~ReadOnlyTree() { chmod(QStringLiteral("u+w")); }

private:
    void chmod(const QString& mode) const {
        EXPECT_EQ(run(QStringLiteral("chmod"), {QStringLiteral("-R"), mode, root_}).exitCode, 0);
    }
    QString root_;
};

// An administrator's site file lies beside the installed program. A user's first start copies
// it into a settings home of the user's own; closing the window saves the settings there, and
// the installed tree stays exactly as it was, also when the user may write it (the superuser
// runs the installed program). The file comes as one argument, as the desktop entry's %f passes
// it, with blanks and non-ASCII characters in its name; once shown it heads the recent files.
TEST_F(InstalledTree, ProgramKeepsItsSettingsInTheUsersHome) {
    const QString siteFile = programFolder() + QStringLiteral("/Plotwell.ini");
    const QByteArray site = "[Text]\nfrmCaption=Site caption\n[Property]\nDist Mode=7\n";
    {
        QFile file(siteFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(site);
    }
    const QStringList installed = QDir(programFolder()).entryList(QDir::AllEntries);
    for (const bool readOnlyTree : {true, false}) {
        SCOPED_TRACE(readOnlyTree ? "read-only tree" : "writable tree");
        std::optional<ReadOnlyTree> readOnly;
        if (readOnlyTree)
            readOnly.emplace(prefix_->path());
        QTemporaryDir home;
        const QString dataFile = home.filePath(QStringLiteral("run data/加工 データ.txt"));
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("run data")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(PLOTWELL_SAMPLE), dataFile));
        const QString configHome = home.filePath(QStringLiteral("config"));
        const QString userFile = configHome + QStringLiteral("/Plotwell/Plotwell.ini");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), home.filePath(QStringLiteral("xdg")));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(path(QStringLiteral("bin/plotwell")), {dataFile});
        ASSERT_TRUE(program.waitForStarted());

        // The last setting the window reads at start is the text ending; then the window is up.
        EXPECT_TRUE(waitFor([&] { return readFile(userFile).contains("Text Suffix="); }, 60000))
            << readFile(userFile).toStdString();
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << program.readAll().toStdString();
        EXPECT_EQ(program.exitCode(), 0);

        const QByteArray settings = readFile(userFile);
        EXPECT_TRUE(settings.startsWith("[Text]\nfrmCaption=Site caption\n"))
            << settings.toStdString();
        // The site's "Dist Mode" is outside the menu; the close saved the mode in use.
        EXPECT_TRUE(settings.contains("\nDist Mode=0\n")) << settings.toStdString();
        EXPECT_TRUE(settings.contains("\nForm Top=")) << settings.toStdString();
        EXPECT_TRUE(settings.contains("\n[Recent Files]\nFile1=" + dataFile.toUtf8() + '\n'))
            << settings.toStdString();
        EXPECT_EQ(readFile(siteFile), site);
        EXPECT_EQ(QDir(programFolder()).entryList(QDir::AllEntries), installed);
    }
}

// The private folders that programs without a settings home keep their settings in.
QStringList runOnlyFolders() {
    return QDir(QDir::tempPath()).entryList({QStringLiteral("Plotwell-*")}, QDir::Dirs);
}

// Without $HOME and $XDG_CONFIG_HOME the installed program keeps its settings for the run only:
// it says so once, writes nothing at the file system's root nor beside itself, and removes its
// private settings folder when it ends.
TEST_F(InstalledTree, ProgramWithoutAHomeKeepsItsSettingsForTheRunOnly) {
    const QStringList installed = QDir(programFolder()).entryList(QDir::AllEntries);
    const bool rootConfigBefore = QFileInfo::exists(QStringLiteral("/.config/Plotwell"));
    const QStringList foldersBefore = runOnlyFolders();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("HOME"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(path(QStringLiteral("bin/plotwell")), {});
    ASSERT_TRUE(program.waitForStarted());
    // The window is up once the text ending is in the run's settings.
    QString settingsFile;
    EXPECT_TRUE(waitFor(
        [&] {
            for (const QString& folder : runOnlyFolders()) {
                const QString file = QDir::tempPath() + u'/' + folder + "/Plotwell.ini";
                if (!foldersBefore.contains(folder) && readFile(file).contains("Text Suffix="))
                    settingsFile = file;
            }
            return !settingsFile.isEmpty();
        },
        60000));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    const QByteArray said = program.readAllStandardError();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << said.toStdString();
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(said.count("the settings are kept for this run only"), 1) << said.toStdString();
    EXPECT_FALSE(settingsFile.isEmpty() || QFileInfo::exists(settingsFile))
        << settingsFile.toStdString();
    EXPECT_EQ(QFileInfo::exists(QStringLiteral("/.config/Plotwell")), rootConfigBefore);
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::AllEntries), installed);
}

} // namespace
