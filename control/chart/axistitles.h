#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The axis titles read from the settings file: 16 horizontal slots indexed by distance mode and
// 16 vertical slots indexed by the primary draw mode.
class AxisTitles {
public:
    static constexpr std::size_t kSlots = 16;
    static constexpr std::size_t kStorage = 1024; // bytes per path and per title, NUL included

    using Table = std::array<std::string, kSlots>;

    // Remembers the settings file, reads every title key and writes back the defaults of slots 0
    // to 2 where they are missing. A path of kStorage characters or more, or one holding a NUL
    // byte, is rejected (false) and nothing changes.
    bool SetIniFileName(std::string_view path);

    // Empty for a missing table, a slot out of range or an empty slot.
    std::string horizontalTitle(int distanceMode) const;
    std::string verticalTitle(int primaryDrawMode) const;

    // The titles that SetIniFileName writes into a file that lacks them: those of slots 0 to 2,
    // empty for any other slot.
    static std::string defaultHorizontalTitle(int distanceMode);
    static std::string defaultVerticalTitle(int primaryDrawMode);

    const std::string& iniFileName() const { return iniFileName_; }

    // 0 when the last SetIniFileName wrote back every missing default (or none was missing), else
    // the errno of the first write that failed (ENOENT for a file in a missing folder).
    int defaultsWriteError() const { return defaultsWriteError_; }

    // Back to the state before the first SetIniFileName.
    void reset();

private:
    std::string readTitle(const std::string& key) const;
    // Puts the default into an empty slot and writes it to the file; the title is in memory
    // either way, a failed write is kept in defaultsWriteError_.
    void fillDefault(std::string& slot, const std::string& key, std::string_view defaultTitle);

    std::string iniFileName_;
    std::unique_ptr<Table> horizontal_;
    std::unique_ptr<Table> vertical_;
    int defaultsWriteError_ = 0;
};
