#include "chartsettingsfile.h"

#include "charttitles.h"
#include "drawingcolours.h"

#include <cstring>

ChartSettingsFile::Failure ChartSettingsFile::read(const std::string& iniFile) {
    iniFile_ = iniFile;
    if (iniFile_.empty())
        return Failure::None;
    if (!titles_.SetIniFileName(iniFile_))
        return Failure::CannotUse;
    extra_.SetIniFileName(iniFile_);
    writeError_ = titles_.defaultsWriteError();
    if (writeError_ == 0)
        writeError_ = extra_.defaultsWriteError();
    return writeError_ == 0 ? Failure::None : Failure::CannotWrite;
}

std::string ChartSettingsFile::reason() const {
    if (writeError_ != 0)
        return "cannot write the settings file " + iniFile_ + ": " + std::strerror(writeError_);
    return "cannot use the settings file " + iniFile_;
}

void ChartSettingsFile::apply(ChartState& chart) const {
    FillChartTitles(chart, &titles_, extra_);
    if (!iniFile_.empty())
        readDrawingColours(iniFile_, chart);
}
