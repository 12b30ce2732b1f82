#include "privateprofile.h"

#include "atomicfile.h"
#include "filepath.h"
#include "folderlock.h"
#include "profiletext.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

namespace {

// Copies `text` up to its first NUL, at most bufferSize - 1 bytes, and a terminating NUL.
std::size_t deliver(std::string_view text, char* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) {
        return 0;
    }
    text = text.substr(0, text.find('\0'));
    const std::size_t count = std::min(text.size(), bufferSize - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
    return count;
}

bool hasName(std::string_view name) {
    return name.find_first_not_of(" \t") != std::string_view::npos;
}

} // namespace

std::size_t getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, char* buffer,
                                    std::size_t bufferSize, const std::string& file) {
    if (!hasName(section) || !hasName(key)) {
        return deliver(defaultValue, buffer, bufferSize);
    }
    try {
        std::string bytes;
        if (readWholeFile(file, bytes) != FileReadStatus::Ok) {
            return deliver(defaultValue, buffer, bufferSize);
        }
        const auto value = ProfileText(bytes).value(section, key);
        return deliver(value ? *value : defaultValue, buffer, bufferSize);
    } catch (const std::bad_alloc&) {
        return deliver(defaultValue, buffer, bufferSize);
    } catch (const std::length_error&) {
        return deliver(defaultValue, buffer, bufferSize);
    }
}

bool writePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file) {
    if (!ProfileText::canStore(section, key, value)) {
        errno = EINVAL;
        return false;
    }
    const std::string target = linkTarget(file);
    if (target.empty()) {
        errno = ELOOP;
        return false;
    }
    // Another writer that read the file before this one replaces it would lose this key.
    const FolderLock lock(folderOf(target));
    try {
        std::string bytes;
        // Only a missing file may be created afresh; one that exists but cannot be read must not
        // be replaced by a file holding just this key.
        if (readWholeFile(target, bytes) == FileReadStatus::Failed) {
            return false;
        }
        return replaceFileAtomically(target, ProfileText(bytes).withValue(section, key, value));
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return false;
    } catch (const std::length_error&) {
        errno = ENOMEM;
        return false;
    }
}
