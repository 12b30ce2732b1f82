#include "recentfilelist.h"

#include "appstate.h"
#include "filenametext.h"
#include "privateprofile.h"

#include <QFile>

#include <unistd.h>

#include <string>
#include <vector>

namespace {

const char* const kSection = "Recent Files";
// Paths can be longer than the 254 bytes of the other settings, and longer than the system
// takes, which the menu then refuses by name; escapes take three bytes for one.
constexpr std::size_t kPathBufferSize = 65536;

std::string keyOf(int index) {
    return "File" + std::to_string(index + 1);
}

std::string settingsFile() {
    return QFile::encodeName(gIniFile).toStdString();
}

// `path` from the root: a relative one is taken from the current folder, as the load took it.
QString absolutePath(const QString& path) {
    if (path.startsWith(u'/'))
        return path;
    std::vector<char> folder(kPathBufferSize);
    if (::getcwd(folder.data(), folder.size()) == nullptr)
        return path;
    const QString base = fileNameFromBytes(QByteArray(folder.data()));
    return base.endsWith(u'/') ? base + path : base + u'/' + path;
}

} // namespace

void RecentFileList::load() {
    mFiles.clear();
    std::vector<char> buffer(kPathBufferSize);
    for (int i = 0; i < kCapacity; ++i) {
        getPrivateProfileString(kSection, keyOf(i), "", buffer.data(), buffer.size(),
                                settingsFile());
        mStored[i] = QByteArray(buffer.data());
        const QString path = fileNameFromBytes(fileNameOfSettingsForm(mStored[i]));
        if (!path.isEmpty() && !mFiles.contains(path))
            mFiles.append(path);
    }
}

void RecentFileList::add(const QString& path) {
    const QString absolute = absolutePath(path);
    mFiles.removeAll(absolute);
    mFiles.prepend(absolute);
    while (mFiles.size() > kCapacity)
        mFiles.removeLast();
    save();
}

void RecentFileList::remove(const QString& path) {
    mFiles.removeAll(path);
    save();
}

// A slot without a file is written empty, which reads as absent.
void RecentFileList::save() const {
    for (int i = 0; i < kCapacity; ++i) {
        const QByteArray path =
            i < mFiles.size() ? fileNameSettingsForm(fileNameBytes(mFiles.at(i))) : QByteArray();
        if (path == mStored[i])
            continue;
        if (writePrivateProfileString(kSection, keyOf(i), path.toStdString(), settingsFile()))
            mStored[i] = path;
    }
}
