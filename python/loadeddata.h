#pragma once

#include "cutdataset.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>
#include <string>

// A data set loaded for Python. Its arrays are views of the data set's own memory: read-only,
// and each keeps the LoadedData that owns the memory alive for as long as it lives.
class LoadedData {
public:
    // Loads `path` as `curvex` does: `format` "text" or "binary", or none for the file's ending.
    // Raises OSError, ValueError or MemoryError with the loader's reason.
    static LoadedData load(const std::string& path, const std::optional<std::string>& format,
                           unsigned threads);

    const CutDataSet& data() const { return data_; }
    // The file it was loaded from, as given.
    const std::string& path() const { return path_; }

    // The views; `self` is the Python object of this LoadedData.
    static pybind11::array records(pybind11::object self);
    static pybind11::array totalDistance(pybind11::object self);
    static pybind11::array cutDistance(pybind11::object self);
    static pybind11::array blockNumbers(pybind11::object self);
    static pybind11::array maxima(pybind11::object self);

private:
    CutDataSet data_;
    std::string path_;
};
