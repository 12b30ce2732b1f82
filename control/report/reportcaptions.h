#pragma once

#include <QString>

#include <string>

// The words of a report, from section "Extra Text" of the settings file so that a site can
// translate them as it does the window's texts. Each key starts with "Report ".
class ReportCaptions {
public:
    enum Caption {
        File,
        Modified,
        Written,
        Records,
        Tools,
        MachiningTime,
        Tool,
        Programmed,
        Optimised,
        Saved,
        SavedPercent,
        Total,
        ShownRange,
        Page, // "%1" the page's number, "%2" the count
        HighestPeaks,
        Rank,
        Block,
        Value,
        ProgrammedFeed,
        OptimisedFeed,
        ProgramLine,
        Toolpath,
        OptimisationActed,
        FeedChangeToolpath,
        Slowdowns,
        SpeedUps,
        Blocks,
        Length,
        TimeLost,
        TimeSaved,
        NoSlowdowns,
        NoSpeedUps,
        AirCutting,
        CaptionCount,
    };

    // The readable defaults, as without a settings file.
    ReportCaptions();

    // Reads every caption from `iniFile`, writing the default of each missing or empty one back
    // into it. 0 when every write succeeded, else the errno of the first that failed (the
    // default is used either way).
    int read(const std::string& iniFile);

    const QString& text(Caption caption) const { return texts_[caption]; }
    QString pageText(int page, int pages) const;

private:
    QString texts_[CaptionCount];
};
