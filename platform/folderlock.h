#pragma once

#include <string>

// An exclusive advisory lock (flock) on a folder, held for the object's lifetime. Writers of
// the files in the folder take it around their read-modify-replace, so that two writers at once
// cannot both start from the same old content and lose one update. Readers need no lock: the
// file they see is always a whole old or a whole new one.
class FolderLock {
public:
    // Waits until the lock on `folder` is free and takes it.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when the folder could not be opened or locked.
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};
