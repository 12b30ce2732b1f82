#include "surfaceregistry.h"

#include <limits>
#include <unordered_map>

namespace component {

namespace {

struct SurfaceTable {
    std::unordered_map<std::int32_t, QPaintDevice*> devices;
    std::int32_t lastHandle = 0;
};

SurfaceTable& table() {
    static SurfaceTable instance;
    return instance;
}

std::int32_t nextHandle(std::int32_t handle) {
    return handle == std::numeric_limits<std::int32_t>::max() ? 1 : handle + 1;
}

} // namespace

SurfaceRegistry::Entry::Entry(QPaintDevice* device) : handle_(add(device)) {}

SurfaceRegistry::Entry::~Entry() {
    remove(handle_);
}

std::int32_t SurfaceRegistry::add(QPaintDevice* device) {
    SurfaceTable& surfaces = table();
    std::int32_t handle = nextHandle(surfaces.lastHandle);
    while (surfaces.devices.contains(handle))
        handle = nextHandle(handle);
    surfaces.devices.emplace(handle, device);
    surfaces.lastHandle = handle;
    return handle;
}

void SurfaceRegistry::remove(std::int32_t handle) {
    table().devices.erase(handle);
}

QPaintDevice* SurfaceRegistry::find(std::int32_t handle) {
    const auto& devices = table().devices;
    const auto it = devices.find(handle);
    return it == devices.end() ? nullptr : it->second;
}

} // namespace component
