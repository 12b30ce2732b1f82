#pragma once

#include <cstdint>

class QPaintDevice;

namespace component {

// Drawing-surface handles: opaque positive 32-bit numbers that stand for a QPaintDevice, so a
// surface can travel through a late-bound call as a plain long. One table per process, shared by
// the host and every control it loads.
class SurfaceRegistry {
public:
    // Registers `device` for as long as the entry lives; the device is not owned.
    class Entry {
    public:
        explicit Entry(QPaintDevice* device);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

        std::int32_t handle() const { return handle_; }

    private:
        std::int32_t handle_;
    };

    // A new handle (never 0, never one in use) for `device`.
    static std::int32_t add(QPaintDevice* device);
    static void remove(std::int32_t handle);
    // The device of `handle`, or null when the handle is unknown.
    static QPaintDevice* find(std::int32_t handle);
};

} // namespace component
