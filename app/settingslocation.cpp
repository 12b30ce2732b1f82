#include "settingslocation.h"

#include "componentregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

const char* const kSettingsFile = "Plotwell.ini";

bool inGroup(gid_t group) {
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    const int filled = ::getgroups(count, groups.data());
    return filled > 0 &&
           std::find(groups.begin(), groups.begin() + filled, group) != groups.begin() + filled;
}

// The write bit of `status` that applies to the process: owner, group (any of its groups) or
// others.
bool permitsWrite(const struct stat& status) {
    if (status.st_uid == ::geteuid())
        return (status.st_mode & S_IWUSR) != 0;
    if (inGroup(status.st_gid))
        return (status.st_mode & S_IWGRP) != 0;
    return (status.st_mode & S_IWOTH) != 0;
}

// The site file becomes the user's first settings file; the copy is the user's to change.
void copySiteFile(const QString& siteFile, const QString& userFile) {
    if (!QFile::exists(siteFile) || !QFile::copy(siteFile, userFile))
        return;
    QFile::setPermissions(userFile, QFile::permissions(userFile) | QFileDevice::ReadOwner |
                                        QFileDevice::WriteOwner);
}

// The site file of an installed program: the first of the configuration folders that holds one,
// else the one beside the program.
QString installedSiteFile(const QString& programFolder) {
    QString folders = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (folders.isEmpty())
        folders = QStringLiteral("/etc/xdg");
    for (const QString& folder : folders.split(u':', Qt::SkipEmptyParts)) {
        const QString file = folder + QStringLiteral("/Plotwell/") + kSettingsFile;
        if (QDir::isAbsolutePath(folder) && QFileInfo(file).isFile())
            return file;
    }
    return programFolder + kSettingsFile;
}

// Without a settings home the settings live in a private folder for this run only.
QString fileForThisRunOnly(const QString& siteFile) {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/Plotwell-XXXXXX"));
    static bool told = false;
    if (!told) {
        std::fputs("Plotwell: HOME and XDG_CONFIG_HOME are not set: the settings are kept for this "
                   "run only\n",
                   stderr);
        told = true;
    }
    if (!folder.isValid())
        return {};
    const QString file = folder.filePath(QLatin1String(kSettingsFile));
    if (!QFile::exists(file))
        copySiteFile(siteFile, file);
    return file;
}

} // namespace

bool isInstalled(const QString& programFolder) {
    return QFileInfo(programFolder + QLatin1String(kInstalledMarker)).isFile();
}

QString defaultOpenFolder(const QString& programFolder) {
    if (!isInstalled(programFolder))
        return programFolder;
    const QString home = QDir::homePath();
    return home.endsWith(u'/') ? home : home + u'/';
}

bool isWritableFolder(const QString& folder) {
    const QByteArray name = QFile::encodeName(folder);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    if (::access(name.constData(), W_OK | X_OK) != 0)
        return false;
    return ::geteuid() != 0 || permitsWrite(status);
}

QString settingsFileFor(const QString& programFolder) {
    const bool installed = isInstalled(programFolder);
    if (!installed && isWritableFolder(programFolder))
        return programFolder + kSettingsFile;
    const QString siteFile =
        installed ? installedSiteFile(programFolder) : programFolder + kSettingsFile;
    const QString userFolder = component::ComponentRegistry::userFolder();
    if (userFolder.isEmpty())
        return fileForThisRunOnly(siteFile);
    const QString userFile = userFolder + u'/' + kSettingsFile;
    if (!QFile::exists(userFile) && QDir().mkpath(userFolder))
        copySiteFile(siteFile, userFile);
    return userFile;
}
