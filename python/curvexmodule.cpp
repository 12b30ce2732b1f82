#include "chartstate.h"
#include "chartview.h"
#include "curvexids.h"
#include "loadeddata.h"
#include "machiningtime.h"
#include "series.h"
#include "shownpeaks.h"
#include "shownrecords.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>

// The module `curvex`: the data core for Python. Every answer comes from the functions that the
// `curvex` tool calls, so that both give the same numbers.

namespace py = pybind11;

namespace {

// The row of `curvex stats --csv` for one tool or the total.
py::dict statsRow(py::object tool, const MachiningTimes& t) {
    py::dict row;
    row["tool"] = std::move(tool);
    row["records"] = t.records;
    row["cut_mm"] = t.cutLength;
    row["rapid_mm"] = t.rapidLength;
    row["programmed_s"] = t.programmed;
    row["optimised_s"] = t.optimised;
    row["saved_s"] = t.saved;
    row["saved_percent"] = t.savedPercent ? py::cast(*t.savedPercent) : py::none();
    row["no_feed_programmed"] = t.noFeedProgrammed;
    row["no_feed_optimised"] = t.noFeedOptimised;
    row["air_mm"] = t.airLength;
    row["air_programmed_s"] = t.airProgrammed;
    row["air_optimised_s"] = t.airOptimised;
    return row;
}

py::array_t<float> series(const LoadedData& loaded, int mode, float g00) {
    ChartViewOf(mode, 0, std::nullopt, g00);
    const CutDataSet& data = loaded.data();
    py::array_t<float> values(data.count);
    float* out = values.mutable_data();
    {
        py::gil_scoped_release unlocked;
        for (std::uint32_t i = 0; i < data.count; ++i)
            out[i] = seriesValue(data, i, static_cast<std::uint8_t>(mode), g00);
    }
    return values;
}

py::list stats(const LoadedData& loaded, float g00, const PercentRange& range, int dist) {
    const ChartState view = ChartViewOf(0, dist, range, g00);
    const CutDataSet& data = loaded.data();
    std::vector<ToolTimes> tools;
    MachiningTimes total;
    {
        py::gil_scoped_release unlocked;
        if (range) {
            const RecordRange shown = ShownRecords(data, view.distanceMode, view.shown);
            tools = ToolTimesOf(data, shown, view.g00Feed);
            total = ShownTimesOf(data, view.distanceMode, view.shown, view.g00Feed);
        } else {
            tools = ToolTimesOf(data, view.g00Feed);
            total = TotalTimesOf(data, view.g00Feed);
        }
    }
    py::list rows;
    for (const ToolTimes& tool : tools)
        rows.append(statsRow(py::int_(tool.toolNo), tool.times));
    rows.append(statsRow(py::str("total"), total));
    return rows;
}

py::list peaks(const LoadedData& loaded, std::uint32_t top, std::uint32_t gap, int func, int dist,
               const PercentRange& range, float g00, const std::optional<std::string>& compare) {
    ChartState view = ChartViewOf(func, dist, range, g00);
    view.compareMode = CompareModeOf(compare);
    if (gap < 1)
        throw py::value_error("gap must be 1 or more");
    const CutDataSet& data = loaded.data();
    std::vector<Peak> found;
    {
        py::gil_scoped_release unlocked;
        found = ShownPeaks(data, view, top, gap);
    }
    py::list rows;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const CutRecord& r = data.records[found[k].index];
        py::dict row;
        row["rank"] = k + 1;
        row["index"] = found[k].index;
        row["blockNo"] = r.blockNo;
        row["toolNo"] = r.toolNo;
        row["value"] = found[k].value;
        row["orgFeed"] = r.orgFeed;
        row["optFeed"] = r.optFeed;
        row["removal"] = r.removal;
        rows.append(row);
    }
    return rows;
}

} // namespace

PYBIND11_MODULE(curvex, module) {
    module.doc() =
        "The monitoring data of Plotwell: loads, arrays, series, machining times, peaks.";
    const float g00 = curvex::kDefaultG00Feed;
    py::class_<LoadedData>(module, "Data",
                           "A loaded data set. Its arrays are read-only views of its memory.")
        .def_property_readonly("records", &LoadedData::records)
        .def_property_readonly("total_distance", &LoadedData::totalDistance)
        .def_property_readonly("cut_distance", &LoadedData::cutDistance)
        .def_property_readonly("block_numbers", &LoadedData::blockNumbers)
        .def_property_readonly("maxima", &LoadedData::maxima)
        .def("__len__", [](const LoadedData& loaded) { return loaded.data().count; });
    module.def("load", &LoadedData::load, py::arg("path"), py::arg("format") = py::none(),
               py::arg("threads") = 0u,
               "Loads a text or binary file of monitoring data as the chart loads it.");
    module.def("series", &series, py::arg("data"), py::arg("mode"), py::arg("g00") = g00,
               "The plotted series `mode` (0 removal, 1 and 2 removal per second with the "
               "programmed and the optimised feed) of every record.");
    module.def("stats", &stats, py::arg("data"), py::arg("g00") = g00,
               py::arg("range") = py::none(), py::arg("dist") = 0,
               "The machining times per tool and in total, as `curvex stats --csv` gives them.");
    module.def("peaks", &peaks, py::arg("data"), py::arg("top") = kDefaultPeakCount,
               py::arg("gap") = kDefaultPeakGap, py::arg("func") = 0, py::arg("dist") = 0,
               py::arg("range") = py::none(), py::arg("g00") = g00, py::arg("compare") = py::none(),
               "The highest peaks of what the chart shows, as `curvex peaks --csv` gives them.");
    module.def(
        "render",
        [](py::args arguments, const py::kwargs& options) {
            return py::module_::import("_curvexrender").attr("render")(*arguments, **options);
        },
        "render(data, path, size=(1000, 600), func=0, dist=0, range=None, g00=5000.0, "
        "compare=None, colour_by=None, legend=False, fit_height=False, ini=None): draws the "
        "chart into `path` (.png, .svg or .pdf) as `curvex render` does with the options of the "
        "same names. Starts an offscreen Qt application when the process has none; raises "
        "RuntimeError when another Qt application runs in it.");
}
