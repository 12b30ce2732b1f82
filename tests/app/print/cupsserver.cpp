#include "cupsserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <unistd.h>

namespace {

const char* const kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const char* const kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
// cups-pdf reads the settings of queue NAME from this folder as "cups-pdf-NAME.conf".
const char* const kCupsPdfConfigFolder = "/etc/cups";

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

QString runTool(const QString& program, const QStringList& arguments, int* exitCode) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        *exitCode = -1;
        return QStringLiteral("%1 did not finish").arg(program);
    }
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

} // namespace

CupsServer::~CupsServer() {
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000)) {
            daemon_.kill();
            daemon_.waitForFinished();
        }
    }
    if (!queueConfig_.isEmpty()) {
        QFile::remove(queueConfig_);
    }
}

QString CupsServer::path(const QString& name) const {
    return QDir(folder_.path()).filePath(name);
}

QString CupsServer::outputFolder() const {
    return path(QStringLiteral("out"));
}

bool CupsServer::start(QString* why) {
    const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
    const QString lpadmin = QStringLiteral("/usr/sbin/lpadmin");
    for (const QString& needed :
         {cupsd, lpadmin, QString::fromLatin1(kCupsPdfPpd), QString::fromLatin1(kCupsPdfBackend)}) {
        if (!QFileInfo::exists(needed)) {
            *why = QStringLiteral("%1 is missing (Debian packages cups, cups-bsd and "
                                  "printer-driver-cups-pdf)")
                       .arg(needed);
            return false;
        }
    }
    if (::geteuid() != 0) {
        *why = QStringLiteral("the cups-pdf backend runs only for a server started as root");
        return false;
    }
    if (!folder_.isValid()) {
        *why = QStringLiteral("no temporary folder");
        return false;
    }
    // Filters run as an unprivileged user and must reach the spool.
    QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                              QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
    QDir root(folder_.path());
    for (const char* sub : {"conf", "spool/tmp", "cache", "state", "log", "out"}) {
        root.mkpath(QLatin1String(sub));
    }
    const QString socket = path(QStringLiteral("cups.sock"));
    const QString cupsdConf = QStringLiteral("Listen %1\n"
                                             "LogLevel warn\n"
                                             "WebInterface No\n"
                                             "Browsing No\n"
                                             "DefaultAuthType None\n"
                                             "<Location />\n  Order allow,deny\n  Allow all\n"
                                             "</Location>\n"
                                             "<Location /admin>\n  Order allow,deny\n  Allow all\n"
                                             "</Location>\n"
                                             "<Policy default>\n  <Limit All>\n"
                                             "    Order deny,allow\n  </Limit>\n</Policy>\n")
                                  .arg(socket);
    const QString filesConf =
        QStringLiteral("ServerRoot %1\nRequestRoot %2\nTempDir %3\n"
                       "CacheDir %4\nStateDir %5\nAccessLog %6\n"
                       "ErrorLog %7\nPageLog %8\n")
            .arg(path("conf"), path("spool"), path("spool/tmp"), path("cache"), path("state"),
                 path("log/access_log"), path("log/error_log"), path("log/page_log"));
    if (!writeFile(path("conf/cupsd.conf"), cupsdConf) ||
        !writeFile(path("conf/cups-files.conf"), filesConf)) {
        *why = QStringLiteral("cannot write the server configuration");
        return false;
    }
    queue_ = QStringLiteral("PlotwellTest%1").arg(QCoreApplication::applicationPid());
    const QString queueConfig =
        QStringLiteral("%1/cups-pdf-%2.conf").arg(QLatin1String(kCupsPdfConfigFolder), queue_);
    if (!writeFile(queueConfig, QStringLiteral("Out %1\n").arg(outputFolder()))) {
        *why = QStringLiteral("cannot write %1 for the cups-pdf output folder").arg(queueConfig);
        return false;
    }
    queueConfig_ = queueConfig;

    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    daemon_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), path("conf/cupsd.conf"),
                          QStringLiteral("-s"), path("conf/cups-files.conf")});
    if (!daemon_.waitForStarted(5000)) {
        *why = QStringLiteral("cupsd does not start: %1").arg(daemon_.errorString());
        return false;
    }
    const QDeadlineTimer ready(10000);
    while (!QFileInfo::exists(socket) && !ready.hasExpired() &&
           daemon_.state() == QProcess::Running) {
        QThread::msleep(50);
    }
    if (!QFileInfo::exists(socket)) {
        *why = QStringLiteral("cupsd did not open its socket: %1")
                   .arg(QString::fromLocal8Bit(daemon_.readAll()));
        return false;
    }
    int exitCode = 0;
    const QString output = runTool(lpadmin,
                                   {QStringLiteral("-p"), queue_, QStringLiteral("-v"),
                                    QStringLiteral("cups-pdf:/") + queue_, QStringLiteral("-E"),
                                    QStringLiteral("-P"), QString::fromLatin1(kCupsPdfPpd)},
                                   &exitCode);
    if (exitCode != 0) {
        *why = QStringLiteral("lpadmin cannot make the queue: %1").arg(output);
        return false;
    }
    return true;
}

QString CupsServer::lpstat(const QStringList& arguments) const {
    int exitCode = 0;
    return runTool(QStringLiteral("lpstat"), arguments, &exitCode);
}

int CupsServer::jobCount() const {
    const QString all =
        lpstat({QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), queue_});
    return static_cast<int>(all.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

QStringList CupsServer::waitForPdfFiles(int count, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const bool pending = !lpstat({QStringLiteral("-o"), queue_}).trimmed().isEmpty();
        const QFileInfoList files =
            QDir(outputFolder())
                .entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        if (!pending && files.size() >= count) {
            QStringList paths;
            for (const QFileInfo& file : files) {
                paths << file.absoluteFilePath();
            }
            return paths;
        }
        QThread::msleep(200);
    }
    return {};
}
