#include "extratexts.h"

#include "privateprofile.h"

#include <cerrno>

namespace {

constexpr std::string_view kSection = "Extra Text";
constexpr std::size_t kStorage = 1024;

struct Entry {
    std::string_view key;
    std::string_view text;
    std::string_view earlierText = {}; // the default of earlier versions, when it changed
};

constexpr std::array<Entry, ExtraTexts::KeyCount> kEntries = {{
    {"RatesComparedTitle", "Removal per Sec [mm3/sec]", "Removal per Sec [mm3/sec]: OrgFeed grey"},
    {"FeedsComparedTitle", "Feed [mm/min]", "Feed [mm/min]: OrgFeed grey"},
    {"ProgrammedCaption", "Programmed", "OrgFeed"},
    {"RatesComparedItem", "Rates Compared"},
    {"FeedsComparedItem", "Feeds Compared"},
    {"ColourByToolItem", "Colour by Tool Number"},
    {"LegendItem", "Legend"},
    {"FitHeightItem", "Fit Height to Shown Range"},
    {"MachiningTimeItem", "Machining Time"},
    {"MachiningTimeTitle", "Machining time"},
    {"MachiningToolColumn", "Tool"},
    {"MachiningRecordsColumn", "Records"},
    {"MachiningCutColumn", "Cut mm"},
    {"MachiningRapidColumn", "Rapid mm"},
    {"MachiningProgrammedColumn", "Programmed"},
    {"MachiningOptimisedColumn", "Optimised"},
    {"MachiningSavedColumn", "Saved"},
    {"MachiningSavedPercentColumn", "Saved %"},
    {"MachiningNoFeedColumn", "No feed prog./opt."},
    {"MachiningAirColumn", "Air mm"},
    {"MachiningAirProgrammedColumn", "Air programmed"},
    {"MachiningAirOptimisedColumn", "Air optimised"},
    {"MachiningTotalRow", "Total"},
    {"MachiningShownRow", "Shown range"},
    {"MachiningTotals", "Programmed %1 \u00B7 Optimised %2 \u00B7 Saved %3"},
    {"ElapsedTimes", "programmed %1, optimised %2"},
    {"GreyNote", "grey: programmed"},
    {"FeedChangeTitle", "Feed Change [%]"},
    {"FeedChangeItem", "Feed Change"},
    {"TimeAxisProgrammedTitle", "Machining Time (programmed)"},
    {"TimeAxisOptimisedTitle", "Machining Time (optimised)"},
    {"TimeAxisProgrammedItem", "Machining Time (Programmed)"},
    {"TimeAxisOptimisedItem", "Machining Time (Optimised)"},
}};

} // namespace

std::string_view ExtraTexts::keyName(Key key) {
    return kEntries[key].key;
}

std::string_view ExtraTexts::defaultText(Key key) {
    return kEntries[key].text;
}

std::string_view ExtraTexts::current(Key key, std::string_view stored) {
    const Entry& entry = kEntries[key];
    return !entry.earlierText.empty() && stored == entry.earlierText ? entry.text : stored;
}

std::array<std::string, ExtraTexts::KeyCount> ExtraTexts::defaults() {
    std::array<std::string, KeyCount> texts;
    for (std::size_t k = 0; k < KeyCount; ++k)
        texts[k] = kEntries[k].text;
    return texts;
}

// A missing key gets its default and an earlier default the current one; both are written back.
void ExtraTexts::SetIniFileName(std::string_view path, bool writeDefaults) {
    defaultsWriteError_ = 0;
    const std::string file(path);
    for (std::size_t k = 0; k < KeyCount; ++k) {
        char buffer[kStorage];
        const std::size_t length =
            getPrivateProfileString(kSection, kEntries[k].key, "", buffer, sizeof buffer, file);
        const std::string_view stored(buffer, length);
        texts_[k] = length > 0 ? current(static_cast<Key>(k), stored) : kEntries[k].text;
        if (texts_[k] == stored)
            continue;
        if (writeDefaults &&
            !writePrivateProfileString(kSection, kEntries[k].key, texts_[k], file) &&
            defaultsWriteError_ == 0)
            defaultsWriteError_ = errno;
    }
}

std::string ExtraTexts::compareTitle(curvex::CompareMode compareMode) const {
    if (compareMode == curvex::CompareMode::Rates)
        return texts_[RatesComparedTitle];
    if (compareMode == curvex::CompareMode::Feeds)
        return texts_[FeedsComparedTitle];
    if (compareMode == curvex::CompareMode::FeedChange)
        return texts_[FeedChangeTitle];
    return {};
}

std::string ExtraTexts::timeAxisTitle(curvex::TimeAxisMode mode) const {
    if (mode == curvex::TimeAxisMode::Programmed)
        return texts_[TimeAxisProgrammedTitle];
    if (mode == curvex::TimeAxisMode::Optimised)
        return texts_[TimeAxisOptimisedTitle];
    return {};
}
