#include "labelfit.h"

#include "chartfont.h"
#include "settingstext.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

bool withViews(const ChartState& chart) {
    return chart.compareMode != CompareMode::None || chart.colourByTool || chart.legend ||
           chart.fitHeight;
}

} // namespace

LabelFit::LabelFit(const ChartFrame& frame, const ChartState& chart)
    : frame_(frame), chart_(chart), on_(withViews(chart)) {}

int LabelFit::along(int start, int length, int extent) const {
    if (!on_)
        return start;
    return std::clamp(start, 1, std::max(extent - 1 - length, 1));
}

int LabelFit::length(const std::string& text) const {
    if (!on_ || text.empty())
        return 0;
    const QFontMetricsF metrics(ChartFace::forCellHeight(frame_.fh).font());
    const QString shown =
        settingsText(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    const double advance = metrics.horizontalAdvance(shown);
    return static_cast<int>(std::ceil(std::max(advance, metrics.boundingRect(shown).right()))) + 1;
}

std::string LabelFit::cut(const std::string& text, int extent) const {
    if (!on_)
        return text;
    std::string shown = text;
    while (!shown.empty() && length(shown) > extent - 2)
        shown.pop_back();
    return shown;
}

std::string LabelFit::verticalTitle() const {
    if (ComparesInGrey(chart_.compareMode) && !chart_.legend && !chart_.greyNote.empty()) {
        const std::string noted = chart_.yTitle + ", " + chart_.greyNote;
        if (cut(noted, frame_.height) == noted)
            return noted;
    }
    return cut(chart_.yTitle, frame_.height);
}

std::string LabelFit::horizontalTitle() const {
    return cut(chart_.xTitle, frame_.width);
}
