#include "regocx.h"

#include "componentexports.h"

#include <QFileInfo>
#include <QLibrary>

namespace {

using curvex::RegOcxExit;

// Loads the library at `path` and finds the exports a registration needs.
struct ControlExports {
    component::DllVersionFn version = nullptr;
    component::DllRegisterServerFn registerServer = nullptr;
    component::DllUnregisterServerFn unregisterServer = nullptr;
};

RegOcxExit loadControl(const QString& path, QLibrary& library, ControlExports& exports,
                       QString& message) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        message = QStringLiteral("%1: no such file").arg(path);
        return RegOcxExit::FileNotFound;
    }
    library.setFileName(file.absoluteFilePath());
    if (!library.load()) {
        message = QStringLiteral("%1: cannot be loaded: %2").arg(path, library.errorString());
        return RegOcxExit::Failed;
    }
    exports.version =
        reinterpret_cast<component::DllVersionFn>(library.resolve(component::kDllVersion));
    exports.registerServer = reinterpret_cast<component::DllRegisterServerFn>(
        library.resolve(component::kDllRegisterServer));
    exports.unregisterServer = reinterpret_cast<component::DllUnregisterServerFn>(
        library.resolve(component::kDllUnregisterServer));
    const char* missing = exports.version == nullptr            ? component::kDllVersion
                          : exports.registerServer == nullptr   ? component::kDllRegisterServer
                          : exports.unregisterServer == nullptr ? component::kDllUnregisterServer
                                                                : nullptr;
    if (missing != nullptr) {
        message =
            QStringLiteral("%1: not a control library (no %2)").arg(path, QLatin1String(missing));
        return RegOcxExit::Failed;
    }
    return RegOcxExit::Success;
}

RegOcxExit serverResult(const QString& path, component::HResult result, const char* done,
                        QString& message) {
    if (result != component::kOk) {
        message = QStringLiteral("%1: %2 failed (0x%3)")
                      .arg(path, QLatin1String(done))
                      .arg(static_cast<std::uint32_t>(result), 8, 16, QLatin1Char('0'));
        return RegOcxExit::Failed;
    }
    message = QStringLiteral("%1: %2 done").arg(path, QLatin1String(done));
    return RegOcxExit::Success;
}

} // namespace

RegOcxExit RegisterControl(const QString& path, const curvex::RequiredVersion& required,
                           QString& message) {
    QLibrary library;
    ControlExports exports;
    const RegOcxExit loaded = loadControl(path, library, exports, message);
    if (loaded != RegOcxExit::Success)
        return loaded;
    const std::int32_t number = exports.version();
    if (!required.accepts(number)) {
        message = QStringLiteral("%1: version %2 does not fit the required version")
                      .arg(path, QString::fromStdString(curvex::ocxVersionText(number)));
        return RegOcxExit::Failed;
    }
    return serverResult(path, exports.registerServer(), "registration", message);
}

RegOcxExit UnregisterControl(const QString& path, QString& message) {
    QLibrary library;
    ControlExports exports;
    const RegOcxExit loaded = loadControl(path, library, exports, message);
    if (loaded != RegOcxExit::Success)
        return loaded;
    return serverResult(path, exports.unregisterServer(), "unregistration", message);
}
