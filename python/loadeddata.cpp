#include "loadeddata.h"

#include "cutloader.h"
#include "recordsdtype.h"

#include <cerrno>
#include <new>

namespace py = pybind11;

namespace {

py::dtype recordsDtype() {
    py::list names;
    py::list formats;
    py::list offsets;
    for (const RecordField& field : kRecordFields) {
        names.append(field.name);
        formats.append(field.format);
        offsets.append(field.offset);
    }
    py::dict description;
    description["names"] = names;
    description["formats"] = formats;
    description["offsets"] = offsets;
    description["itemsize"] = sizeof(CutRecord);
    return py::dtype::from_args(description);
}

// A read-only one-dimensional view of `count` elements at `first`, owned by `owner`.
py::array readOnlyView(const py::dtype& type, const void* first, std::size_t count,
                       const py::object& owner) {
    py::array view(type, {count}, {type.itemsize()}, first, owner);
    view.attr("setflags")(py::arg("write") = false);
    return view;
}

template <typename T>
py::array readOnlyView(const T* first, std::size_t count, const py::object& owner) {
    return readOnlyView(py::dtype::of<T>(), first, count, owner);
}

const CutDataSet& dataOf(const py::object& self) {
    return self.cast<const LoadedData&>().data();
}

CutFormat formatOf(const std::string& path, const std::optional<std::string>& format) {
    if (!format) {
        if (const std::optional<CutFormat> named = CutFormatOfName(path))
            return *named;
        throw py::value_error("cannot tell the format of " + path +
                              " from its ending; give format='text' or format='binary'");
    }
    if (*format == "text")
        return CutFormat::Text;
    if (*format == "binary")
        return CutFormat::Binary;
    throw py::value_error("format must be 'text' or 'binary', not '" + *format + "'");
}

// Raises the Python exception for a failed load of `path`.
[[noreturn]] void raiseLoadError(const std::string& path, const LoadResult& result) {
    const std::string reason = "cannot load " + path + ": " + result.reason();
    switch (result.error) {
    case LoadError::CannotOpen:
    case LoadError::NotRegular:
    case LoadError::Unreadable:
    case LoadError::Changed: {
        // OSError(errno, text, filename) becomes FileNotFoundError and the like by its errno.
        const py::object error = result.systemError
                                     ? py::handle(PyExc_OSError)(result.systemError, reason, path)
                                     : py::handle(PyExc_OSError)(reason);
        PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
        throw py::error_already_set();
    }
    case LoadError::OutOfMemory:
        throw std::bad_alloc();
    case LoadError::Cancelled:
        throw std::runtime_error(reason);
    default:
        throw py::value_error(reason);
    }
}

} // namespace

LoadedData LoadedData::load(const std::string& path, const std::optional<std::string>& format,
                            unsigned threads) {
    const CutFormat chosen = formatOf(path, format);
    LoadedData loaded;
    LoadResult result;
    {
        py::gil_scoped_release unlocked;
        LoadOptions options;
        options.threads = threads;
        result = LoadCutFile(path, chosen, loaded.data_, options);
    }
    if (!result.ok())
        raiseLoadError(path, result);
    loaded.path_ = path;
    return loaded;
}

py::array LoadedData::records(py::object self) {
    const CutDataSet& data = dataOf(self);
    return readOnlyView(recordsDtype(), data.records.data(), data.count, self);
}

py::array LoadedData::totalDistance(py::object self) {
    const CutDataSet& data = dataOf(self);
    return readOnlyView(data.totalDistance.data(), data.count, self);
}

py::array LoadedData::cutDistance(py::object self) {
    const CutDataSet& data = dataOf(self);
    return readOnlyView(data.cutDistance.data(), data.count, self);
}

py::array LoadedData::blockNumbers(py::object self) {
    const CutDataSet& data = dataOf(self);
    return readOnlyView(data.blockNos.data(), data.count, self);
}

py::array LoadedData::maxima(py::object self) {
    const CutDataSet& data = dataOf(self);
    return readOnlyView(data.maxima.data(), data.maxima.size(), self);
}
