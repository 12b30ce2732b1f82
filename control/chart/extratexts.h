#pragma once

#include "curvexids.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The texts of the compare charts, the legend, the machining-time panel and their menu items, kept
// in the settings file's section "Extra Text". Every key missing there gets its default, which is
// written back, so that a user finds every text to translate in the file.
class ExtraTexts {
public:
    enum Key : std::size_t {
        RatesComparedTitle,
        FeedsComparedTitle,
        ProgrammedCaption,
        RatesComparedItem,
        FeedsComparedItem,
        ColourByToolItem,
        LegendItem,
        FitHeightItem,
        MachiningTimeItem,
        MachiningTimeTitle,
        MachiningToolColumn,
        MachiningRecordsColumn,
        MachiningCutColumn,
        MachiningRapidColumn,
        MachiningProgrammedColumn,
        MachiningOptimisedColumn,
        MachiningSavedColumn,
        MachiningSavedPercentColumn,
        MachiningNoFeedColumn,
        MachiningAirColumn,
        MachiningAirProgrammedColumn,
        MachiningAirOptimisedColumn,
        MachiningTotalRow,
        MachiningShownRow,
        // The status line's totals: %1 programmed, %2 optimised, %3 the saved percent.
        MachiningTotals,
        // The read-out's elapsed machining times: %1 programmed, %2 optimised.
        ElapsedTimes,
        // Added to the vertical title of a compare chart without a legend, when it fits.
        GreyNote,
        FeedChangeTitle,
        FeedChangeItem,
        // The horizontal titles of the time axes and their items in the window's menu.
        TimeAxisProgrammedTitle,
        TimeAxisOptimisedTitle,
        TimeAxisProgrammedItem,
        TimeAxisOptimisedItem,
        KeyCount,
    };

    // Reads every text from the file; with writeDefaults, writes back the defaults of those
    // missing.
    void SetIniFileName(std::string_view path, bool writeDefaults = true);

    // The text as read, or its default before any file was set.
    const std::string& text(Key key) const { return texts_[key]; }
    // The vertical title of a compare mode (rates, feeds or feed change), empty for any other.
    std::string compareTitle(curvex::CompareMode compareMode) const;
    // The horizontal title of a time axis, empty for Off.
    std::string timeAxisTitle(curvex::TimeAxisMode mode) const;

    // 0 when every missing default was written back, else the errno of the first failed write.
    int defaultsWriteError() const { return defaultsWriteError_; }

    static std::string_view keyName(Key key);
    static std::string_view defaultText(Key key);
    // The text a stored value is taken as: the default in place of an earlier default of the key,
    // the value itself otherwise.
    static std::string_view current(Key key, std::string_view stored);

private:
    std::array<std::string, KeyCount> texts_ = defaults();
    int defaultsWriteError_ = 0;

    static std::array<std::string, KeyCount> defaults();
};
