#include "chartview.h"

#include <pybind11/pybind11.h>

#include <cmath>

namespace py = pybind11;

ChartState ChartViewOf(int func, int dist, const PercentRange& range, float g00) {
    if (func < 0 || func > 2)
        throw py::value_error("func must be 0, 1 or 2, not " + std::to_string(func));
    if (dist < 0 || dist > 2)
        throw py::value_error("dist must be 0, 1 or 2, not " + std::to_string(dist));
    if (!(g00 > 0.0f) || !std::isfinite(g00))
        throw py::value_error("g00 must be a feed above 0 mm/min");
    ChartState view;
    view.drawMode = static_cast<std::uint8_t>(func);
    view.distanceMode = dist;
    view.g00Feed = g00;
    if (range) {
        if (!(range->first < range->second))
            throw py::value_error("range needs its low end below its high end");
        view.shown = {range->first, range->second};
    }
    return view;
}

CompareMode CompareModeOf(const std::optional<std::string>& compare) {
    if (!compare)
        return CompareMode::None;
    if (*compare == "rates")
        return CompareMode::Rates;
    if (*compare == "feeds")
        return CompareMode::Feeds;
    if (*compare == "change")
        return CompareMode::FeedChange;
    throw py::value_error("compare must be 'rates', 'feeds' or 'change', not '" + *compare + "'");
}
