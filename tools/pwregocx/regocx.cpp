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

RegOcxExitCode RegisterControl(const QString& path, const RequiredVersion& required,
                               QString& message) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        message = QStringLiteral("%1: no such file").arg(path);
        return FILE_NOT_FOUND;
    }
    QLibrary library(file.absoluteFilePath());
    if (!library.load()) {
        message = QStringLiteral("%1: cannot be loaded: %2").arg(path, library.errorString());
        return REG_FAILED;
    }
    const auto version =
        reinterpret_cast<component::DllVersionFn>(library.resolve(component::kDllVersion));
    const auto registerServer = reinterpret_cast<component::DllRegisterServerFn>(
        library.resolve(component::kDllRegisterServer));
    if (version == nullptr || registerServer == nullptr) {
        message = QStringLiteral("%1: not a control library (no %2)")
                      .arg(path, QLatin1String(version == nullptr ? component::kDllVersion
                                                                  : component::kDllRegisterServer));
        return REG_FAILED;
    }
    const std::int32_t number = version();
    if (!required.accepts(number)) {
        message = QStringLiteral("%1: version %2.%3 does not fit the required version")
                      .arg(path)
                      .arg(number / 65536)
                      .arg(number & 0x7FFF, 2, 10, QLatin1Char('0'));
        return REG_FAILED;
    }
    const component::HResult result = registerServer();
    if (result != component::kOk) {
        message = QStringLiteral("%1: registration failed (0x%2)")
                      .arg(path)
                      .arg(static_cast<std::uint32_t>(result), 8, 16, QLatin1Char('0'));
        return REG_FAILED;
    }
    message = QStringLiteral("%1: registered").arg(path);
    return REG_SUCCESS;
}
