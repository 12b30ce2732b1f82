#include "reportcaptions.h"

#include "privateprofile.h"
#include "settingstext.h"

#include <cerrno>

namespace {

constexpr char kSection[] = "Extra Text";

struct Default {
    const char* key;
    const char* text;
};

constexpr Default kDefaults[ReportCaptions::CaptionCount] = {
    {"Report File", "File"},
    {"Report Modified", "Modified"},
    {"Report Written", "Report written"},
    {"Report Records", "Records"},
    {"Report Tools", "Tools"},
    {"Report Machining Time", "Machining time"},
    {"Report Tool", "Tool"},
    {"Report Programmed", "Programmed"},
    {"Report Optimised", "Optimised"},
    {"Report Saved", "Saved"},
    {"Report Saved Percent", "Saved %"},
    {"Report Total", "Total"},
    {"Report Shown Range", "Shown range"},
    {"Report Page", "Page %1 of %2"},
    {"Report Highest Peaks", "Highest peaks"},
    {"Report Rank", "Rank"},
    {"Report Block", "Block"},
    {"Report Value", "Value"},
    {"Report Programmed Feed", "Programmed feed"},
    {"Report Optimised Feed", "Optimised feed"},
    {"Report Program Line", "Program line"},
    {"Report Toolpath", "Toolpath"},
    {"Report Optimisation Acted", "Where the optimisation acted"},
    {"Report Feed Change Toolpath", "Toolpath by feed change"},
    {"Report Slowdowns", "Largest slowdowns"},
    {"Report Speed Ups", "Largest speed-ups"},
    {"Report Blocks", "Blocks"},
    {"Report Length", "Length mm"},
    {"Report Time Lost", "Time lost"},
    {"Report Time Saved", "Time saved"},
    {"Report No Slowdowns", "No slower blocks"},
    {"Report No Speed Ups", "No faster blocks"},
    {"Report Air Cutting", "Air cutting"},
};

} // namespace

ReportCaptions::ReportCaptions() {
    for (int i = 0; i < CaptionCount; ++i)
        texts_[i] = QString::fromUtf8(kDefaults[i].text);
}

int ReportCaptions::read(const std::string& iniFile) {
    int firstError = 0;
    for (int i = 0; i < CaptionCount; ++i) {
        char value[1024];
        const std::size_t length =
            getPrivateProfileString(kSection, kDefaults[i].key, "", value, sizeof value, iniFile);
        if (length > 0) {
            texts_[i] = settingsText(QByteArray(value, static_cast<qsizetype>(length)));
            continue;
        }
        texts_[i] = QString::fromUtf8(kDefaults[i].text);
        if (!writePrivateProfileString(kSection, kDefaults[i].key, kDefaults[i].text, iniFile) &&
            firstError == 0)
            firstError = errno;
    }
    return firstError;
}

QString ReportCaptions::pageText(int page, int pages) const {
    return text(Page).arg(page).arg(pages);
}
