#pragma once

#include <sys/resource.h>

#include <fstream>
#include <string>

// The limit of the process's address space for as long as it lives: `room` bytes beyond what it
// uses now, so that a large allocation fails whatever the system's overcommit rule.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t room) {
        ::getrlimit(RLIMIT_AS, &old_);
        std::ifstream status("/proc/self/status");
        std::string word;
        rlim_t usedKiB = 0;
        while (status >> word)
            if (word == "VmSize:" && status >> usedKiB)
                break;
        const rlimit limit{usedKiB * 1024 + room, old_.rlim_max};
        set_ = ::setrlimit(RLIMIT_AS, &limit) == 0;
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &old_); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    // Whether the limit took effect.
    bool set() const { return set_; }

private:
    rlimit old_{};
    bool set_ = false;
};
