#include "componentregistry.h"

#include "guid.h"
#include "privateprofile.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <initializer_list>
#include <span>
#include <utility>

namespace component {

namespace {

using KeyValue = std::pair<const char*, QString>;

// Writes the non-empty values; the folder of the registry is created when missing.
bool writeValues(const QString& section, std::initializer_list<KeyValue> values) {
    const QString file = ComponentRegistry::filePath();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    const std::string path = QFile::encodeName(file).toStdString();
    const std::string sectionName = section.toStdString();
    for (const auto& [key, value] : values) {
        if (value.isEmpty())
            continue;
        if (!writePrivateProfileString(sectionName, key, value.toStdString(), path))
            return false;
    }
    return true;
}

// Empties the keys that hold a value; keys already absent need no write.
bool clearValues(const QString& section, std::span<const char* const> keys) {
    const std::string path = QFile::encodeName(ComponentRegistry::filePath()).toStdString();
    const std::string sectionName = section.toStdString();
    for (const char* key : keys) {
        if (ComponentRegistry::value(section, QString::fromLatin1(key)).isEmpty())
            continue;
        if (!writePrivateProfileString(sectionName, key, "", path))
            return false;
    }
    return true;
}

constexpr std::array kClassKeys = {"InprocServer32", "ProgID",  "TypeName", "ThreadingModel",
                                   "MiscStatus",     "TypeLib", "Version",  "ToolboxBitmap32"};
constexpr std::array kTypeLibKeys = {"Version", "Path", "HelpFile"};
constexpr std::array kProgIdKeys = {"CLSID"};

} // namespace

QString ComponentRegistry::configHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        return {};
    return QDir(QDir::cleanPath(home)).filePath(QStringLiteral(".config"));
}

QString ComponentRegistry::userFolder() {
    const QString home = configHome();
    return home.isEmpty() ? QString() : home + QStringLiteral("/Plotwell");
}

QString ComponentRegistry::filePath() {
    const QString folder = userFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/components.ini");
}

QString ComponentRegistry::classSection(const QString& clsid) {
    return QStringLiteral("CLSID\\") + canonicalGuid(clsid);
}

QString ComponentRegistry::typeLibSection(const QString& libid) {
    return QStringLiteral("TypeLib\\") + canonicalGuid(libid);
}

bool ComponentRegistry::registerClass(const ClassRegistration& entry) {
    if (canonicalGuid(entry.clsid).isEmpty())
        return false;
    const QString status = entry.miscStatus ? QString::number(entry.miscStatus) : QString();
    const QString bitmap = entry.toolboxBitmap.isEmpty()
                               ? QString()
                               : entry.libraryPath + QStringLiteral(", ") + entry.toolboxBitmap;
    const bool classWritten =
        writeValues(classSection(entry.clsid), {{"InprocServer32", entry.libraryPath},
                                                {"ProgID", entry.progId},
                                                {"TypeName", entry.typeName},
                                                {"ThreadingModel", entry.threadingModel},
                                                {"MiscStatus", status},
                                                {"TypeLib", canonicalGuid(entry.typeLib)},
                                                {"Version", entry.typeLibVersion},
                                                {"ToolboxBitmap32", bitmap}});
    if (!classWritten)
        return false;
    return entry.progId.isEmpty() ||
           writeValues(entry.progId, {{"CLSID", canonicalGuid(entry.clsid)}});
}

bool ComponentRegistry::unregisterClass(const QString& clsid, const QString& progId) {
    if (canonicalGuid(clsid).isEmpty())
        return false;
    return clearValues(classSection(clsid), kClassKeys) &&
           (progId.isEmpty() || clearValues(progId, kProgIdKeys));
}

bool ComponentRegistry::registerTypeLib(const QString& libid, const QString& version,
                                        const QString& libraryPath, const QString& helpFile) {
    if (canonicalGuid(libid).isEmpty())
        return false;
    return writeValues(typeLibSection(libid),
                       {{"Version", version}, {"Path", libraryPath}, {"HelpFile", helpFile}});
}

bool ComponentRegistry::unregisterTypeLib(const QString& libid) {
    if (canonicalGuid(libid).isEmpty())
        return false;
    return clearValues(typeLibSection(libid), kTypeLibKeys);
}

QString ComponentRegistry::value(const QString& section, const QString& key) {
    constexpr std::size_t kBufferSize = 4096;
    std::array<char, kBufferSize> buffer{};
    const std::size_t length =
        getPrivateProfileString(section.toStdString(), key.toStdString(), "", buffer.data(),
                                buffer.size(), QFile::encodeName(filePath()).toStdString());
    return QString::fromUtf8(buffer.data(), static_cast<qsizetype>(length));
}

QString ComponentRegistry::libraryForClass(const QString& clsid) {
    if (canonicalGuid(clsid).isEmpty())
        return {};
    return value(classSection(clsid), QStringLiteral("InprocServer32"));
}

} // namespace component
