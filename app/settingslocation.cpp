#include "settingslocation.h"

#include "componentregistry.h"

#include <QDir>
#include <QFile>

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

} // namespace

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
    const QString siteFile = programFolder + kSettingsFile;
    if (isWritableFolder(programFolder))
        return siteFile;
    const QString userFolder = component::ComponentRegistry::userFolder();
    const QString userFile = userFolder + u'/' + kSettingsFile;
    if (!QFile::exists(userFile) && QDir().mkpath(userFolder))
        copySiteFile(siteFile, userFile);
    return userFile;
}
