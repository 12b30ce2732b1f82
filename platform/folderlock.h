#pragma once

#include <string>

// An exclusive advisory lock (flock) on a folder, held for the object's lifetime. Writers of
// the files in the folder take it around their read-modify-replace, so that two writers at once
// cannot both start from the same old content and lose one update. Readers need no lock: the
// file they see is always a whole old or a whole new one. Where the lock cannot be had (a folder
// that cannot be read, a file system without flock) the writer goes on without it, as writers
// did before there was a lock.
class FolderLock {
public:
    // Waits until the lock on `folder` is free and takes it, if the folder allows.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};
