#include "chartpicture.h"
#include "chartsettingsfile.h"
#include "chartview.h"
#include "curvexids.h"
#include "filenametext.h"
#include "loadeddata.h"
#include "samefile.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <optional>
#include <string>
#include <utility>

// The module `_curvexrender`: the chart drawing of `curvex render`, which needs Qt. `curvex.render`
// imports it on its first call, so that `import curvex` loads no Qt.

namespace py = pybind11;

namespace {

using ChartSize = std::pair<int, int>;

// The offscreen application that fonts need, started once and kept for the process; a Qt
// application that the process started otherwise cannot be shared.
void needOffscreenApplication() {
    static QGuiApplication* started = nullptr;
    if (QCoreApplication::instance()) {
        if (QCoreApplication::instance() == started)
            return;
        throw std::runtime_error(
            "curvex.render needs its own offscreen Qt application, and another one runs in this "
            "process; draw with `curvex render` instead");
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static std::array<char, 7> name = {'c', 'u', 'r', 'v', 'e', 'x', '\0'};
    static std::array<char*, 2> argv = {name.data(), nullptr};
    started = new QGuiApplication(argc, argv.data());
}

ChartState chartOf(const ChartSize& size, int func, int dist, const PercentRange& range, float g00,
                   const std::optional<std::string>& compare,
                   const std::optional<std::string>& colourBy, bool legend, bool fitHeight) {
    ChartState chart = ChartViewOf(func, dist, range, g00);
    const auto [width, height] = size;
    if (width < 1 || height < 1 || width > curvex::kMaxChartSide || height > curvex::kMaxChartSide)
        throw py::value_error("size needs sides from 1 to " +
                              std::to_string(curvex::kMaxChartSide) + " pixels");
    chart.width = width;
    chart.height = height;
    chart.compareMode = CompareModeOf(compare);
    if (colourBy && *colourBy != "tool")
        throw py::value_error("colour_by must be 'tool', not '" + *colourBy + "'");
    chart.colourByTool = colourBy.has_value();
    chart.legend = legend;
    chart.fitHeight = fitHeight;
    return chart;
}

[[noreturn]] void cannotWrite(const std::string& path, const std::string& reason) {
    PyErr_SetObject(PyExc_OSError, py::str("cannot write " + path + ": " + reason).ptr());
    throw py::error_already_set();
}

void render(const LoadedData& loaded, const std::string& path, const ChartSize& size, int func,
            int dist, const PercentRange& range, float g00,
            const std::optional<std::string>& compare, const std::optional<std::string>& colourBy,
            bool legend, bool fitHeight, const std::optional<std::string>& ini) {
    ChartState chart = chartOf(size, func, dist, range, g00, compare, colourBy, legend, fitHeight);
    if (!ChartFormatOf(fileNameFromBytes(QByteArray::fromStdString(path))))
        throw py::value_error("the name of the picture must end in .png, .svg or .pdf: " + path);
    const std::string iniFile = ini.value_or(std::string());
    for (const std::string& input : {loaded.path(), iniFile})
        if (isSameFile(path, input))
            cannotWrite(path, "it is the input " + input);
    needOffscreenApplication();
    ChartSettingsFile settings;
    if (const auto failure = settings.read(iniFile); failure != ChartSettingsFile::Failure::None) {
        if (failure == ChartSettingsFile::Failure::CannotUse)
            throw py::value_error(settings.reason());
        PyErr_SetObject(PyExc_OSError, py::str(settings.reason()).ptr());
        throw py::error_already_set();
    }
    settings.apply(chart);
    PictureWriter picture = ChartPicture(chart, loaded.data());
    const QString reason = picture.writeFile(fileNameFromBytes(QByteArray::fromStdString(path)));
    if (!reason.isEmpty())
        cannotWrite(path, reason.toStdString());
}

} // namespace

PYBIND11_MODULE(_curvexrender, module) {
    module.doc() = "The chart drawing of the module curvex, which needs Qt.";
    py::module_::import("curvex");
    module.def("render", &render, py::arg("data"), py::arg("path"), py::kw_only(),
               py::arg("size") = ChartSize(1000, 600), py::arg("func") = 0, py::arg("dist") = 0,
               py::arg("range") = py::none(), py::arg("g00") = curvex::kDefaultG00Feed,
               py::arg("compare") = py::none(), py::arg("colour_by") = py::none(),
               py::arg("legend") = false, py::arg("fit_height") = false,
               py::arg("ini") = py::none(),
               "Draws the chart into `path` as `curvex render` does with the options of the same "
               "names.");
}
