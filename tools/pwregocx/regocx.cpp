#include "regocx.h"

#include "componentexports.h"

#include <QFileInfo>
#include <QLibrary>

std::optional<RequiredVersion> RequiredVersion::parse(const QString& text) {
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return std::nullopt;
    bool ok = false;
    RequiredVersion version;
    version.major = text.left(dot).toShort(&ok);
    if (!ok)
        return std::nullopt;
    QString minor = text.mid(dot + 1);
    minor.chop(1);
    const int digit = minor.toInt(&ok);
    version.minorDigit = ok ? digit : -1;
    return version;
}

bool RequiredVersion::accepts(std::int32_t versionNumber) const {
    return versionNumber / 65536 == major && (versionNumber & 0x7FFF) / 10 == minorDigit;
}

namespace {

// Loads the library at `path` and finds the exports a registration needs.
struct ControlExports {
    component::DllVersionFn version = nullptr;
    component::DllRegisterServerFn registerServer = nullptr;
    component::DllUnregisterServerFn unregisterServer = nullptr;
};

RegOcxExitCode loadControl(const QString& path, QLibrary& library, ControlExports& exports,
                           QString& message) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        message = QStringLiteral("%1: no such file").arg(path);
        return FILE_NOT_FOUND;
    }
    library.setFileName(file.absoluteFilePath());
    if (!library.load()) {
        message = QStringLiteral("%1: cannot be loaded: %2").arg(path, library.errorString());
        return REG_FAILED;
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
        return REG_FAILED;
    }
    return REG_SUCCESS;
}

RegOcxExitCode serverResult(const QString& path, component::HResult result, const char* done,
                            QString& message) {
    if (result != component::kOk) {
        message = QStringLiteral("%1: %2 failed (0x%3)")
                      .arg(path, QLatin1String(done))
                      .arg(static_cast<std::uint32_t>(result), 8, 16, QLatin1Char('0'));
        return REG_FAILED;
    }
    message = QStringLiteral("%1: %2 done").arg(path, QLatin1String(done));
    return REG_SUCCESS;
}

} // namespace

RegOcxExitCode RegisterControl(const QString& path, const RequiredVersion& required,
                               QString& message) {
    QLibrary library;
    ControlExports exports;
    const RegOcxExitCode loaded = loadControl(path, library, exports, message);
    if (loaded != REG_SUCCESS)
        return loaded;
    const std::int32_t number = exports.version();
    if (!required.accepts(number)) {
        message = QStringLiteral("%1: version %2.%3 does not fit the required version")
                      .arg(path)
                      .arg(number / 65536)
                      .arg(number & 0x7FFF, 2, 10, QLatin1Char('0'));
        return REG_FAILED;
    }
    return serverResult(path, exports.registerServer(), "registration", message);
}

RegOcxExitCode UnregisterControl(const QString& path, QString& message) {
    QLibrary library;
    ControlExports exports;
    const RegOcxExitCode loaded = loadControl(path, library, exports, message);
    if (loaded != REG_SUCCESS)
        return loaded;
    return serverResult(path, exports.unregisterServer(), "unregistration", message);
}
