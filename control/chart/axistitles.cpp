#include "axistitles.h"

#include "privateprofile.h"

#include <cerrno>

namespace {

constexpr std::string_view kSection = "Text";
constexpr std::size_t kSlotsWithDefault = 3;

constexpr std::string_view kHorizontalDefaults[kSlotsWithDefault] = {
    "Cutting Movement Distance [mm]",
    "Cutting Movement Distance [mm]",
    "Seqence Block Number",
};

constexpr std::string_view kVerticalDefaults[kSlotsWithDefault] = {
    "Amount of Cutting Removal [mm3/mm]",
    "Removal per Sec with OrgFeed [mm3/sec]",
    "Removal per Sec with OptFeed [mm3/sec]",
};

// "TavixAxisX1" for the horizontal slot 0, "TavixAxisY16" for the vertical slot 15.
std::string titleKey(char axis, std::size_t slot) {
    return std::string("TavixAxis") + axis + std::to_string(slot + 1);
}

std::string titleOf(const std::unique_ptr<AxisTitles::Table>& table, int slot) {
    if (!table || slot < 0 || static_cast<std::size_t>(slot) >= AxisTitles::kSlots) {
        return {};
    }
    return (*table)[static_cast<std::size_t>(slot)];
}

std::string defaultOf(const std::string_view (&defaults)[kSlotsWithDefault], int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= kSlotsWithDefault)
        return {};
    return std::string(defaults[slot]);
}

} // namespace

bool AxisTitles::SetIniFileName(std::string_view path) {
    if (path.size() >= kStorage || path.find('\0') != std::string_view::npos) {
        return false;
    }
    iniFileName_ = path;
    defaultsWriteError_ = 0;
    horizontal_ = std::make_unique<Table>();
    vertical_ = std::make_unique<Table>();
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        (*horizontal_)[slot] = readTitle(titleKey('X', slot));
        (*vertical_)[slot] = readTitle(titleKey('Y', slot));
    }
    for (std::size_t slot = 0; slot < kSlotsWithDefault; ++slot) {
        fillDefault((*horizontal_)[slot], titleKey('X', slot), kHorizontalDefaults[slot]);
        fillDefault((*vertical_)[slot], titleKey('Y', slot), kVerticalDefaults[slot]);
    }
    return true;
}

std::string AxisTitles::horizontalTitle(int distanceMode) const {
    return titleOf(horizontal_, distanceMode);
}

std::string AxisTitles::verticalTitle(int primaryDrawMode) const {
    return titleOf(vertical_, primaryDrawMode);
}

std::string AxisTitles::defaultHorizontalTitle(int distanceMode) {
    return defaultOf(kHorizontalDefaults, distanceMode);
}

std::string AxisTitles::defaultVerticalTitle(int primaryDrawMode) {
    return defaultOf(kVerticalDefaults, primaryDrawMode);
}

void AxisTitles::reset() {
    iniFileName_.clear();
    horizontal_.reset();
    vertical_.reset();
    defaultsWriteError_ = 0;
}

std::string AxisTitles::readTitle(const std::string& key) const {
    char buffer[kStorage];
    const std::size_t length =
        getPrivateProfileString(kSection, key, "", buffer, sizeof buffer, iniFileName_);
    return std::string(buffer, length);
}

void AxisTitles::fillDefault(std::string& slot, const std::string& key,
                             std::string_view defaultTitle) {
    if (!slot.empty()) {
        return;
    }
    slot = defaultTitle;
    if (!writePrivateProfileString(kSection, key, defaultTitle, iniFileName_) &&
        defaultsWriteError_ == 0) {
        defaultsWriteError_ = errno;
    }
}
