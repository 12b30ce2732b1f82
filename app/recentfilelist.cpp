#include "recentfilelist.h"

#include "appstate.h"
#include "privateprofile.h"

#include <QFile>

#include <string>

namespace {

const char* const kSection = "Recent Files";
// Paths can be longer than the 254 bytes of the other settings.
constexpr std::size_t kPathBufferSize = 4096;

std::string keyOf(int index) {
    return "File" + std::to_string(index + 1);
}

std::string settingsFile() {
    return QFile::encodeName(gIniFile).toStdString();
}

} // namespace

void RecentFileList::load() {
    mFiles.clear();
    std::array<char, kPathBufferSize> buffer{};
    for (int i = 0; i < kCapacity; ++i) {
        getPrivateProfileString(kSection, keyOf(i), "", buffer.data(), buffer.size(),
                                settingsFile());
        mStored[i] = QByteArray(buffer.data());
        const QString path = QFile::decodeName(mStored[i]);
        if (!path.isEmpty() && !mFiles.contains(path))
            mFiles.append(path);
    }
}

void RecentFileList::add(const QString& path) {
    mFiles.removeAll(path);
    mFiles.prepend(path);
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
        const QByteArray path = i < mFiles.size() ? QFile::encodeName(mFiles.at(i)) : QByteArray();
        if (path == mStored[i])
            continue;
        if (writePrivateProfileString(kSection, keyOf(i), path.toStdString(), settingsFile()))
            mStored[i] = path;
    }
}
