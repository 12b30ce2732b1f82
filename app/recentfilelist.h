#pragma once

#include <QByteArray>
#include <QStringList>

#include <array>

// The files opened last, newest first, at most eight, kept in section "Recent Files" of the
// settings file as "File1".."File8". Every change is written at once, slot by slot. Paths are
// absolute and keep every byte of the name (see filenametext.h); the settings file holds them in
// the form that reads back byte for byte.
class RecentFileList {
public:
    static constexpr int kCapacity = 8;

    // Reads the list from the settings file in use; empty and repeated entries are dropped.
    void load();
    // Puts `path` first (moving it when it is already there) and drops the oldest beyond eight. A
    // relative path is taken from the current folder.
    void add(const QString& path);
    void remove(const QString& path);

    const QStringList& files() const { return mFiles; }

private:
    void save() const;

    QStringList mFiles;
    // What each slot of the settings file holds, so that only changed slots are written.
    mutable std::array<QByteArray, kCapacity> mStored;
};
