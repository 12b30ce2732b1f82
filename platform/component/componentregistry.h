#pragma once

#include <QString>

#include <cstdint>

namespace component {

// What registration records for one class.
struct ClassRegistration {
    QString clsid;
    QString progId;
    QString typeName;
    QString libraryPath;
    QString threadingModel;       // empty: not recorded
    std::uint32_t miscStatus = 0; // 0: not recorded
    QString typeLib;              // empty: not recorded
    QString typeLibVersion;
    QString toolboxBitmap; // resource number of the toolbox image; empty: none
};

// The per-user component registry: the INI file "Plotwell/components.ini" under
// $XDG_CONFIG_HOME (~/.config when the variable is unset, empty or not absolute; none when $HOME is
// unset as well, so that nothing is written at the file system's root). Classes live in
// sections "CLSID\{...}", type libraries in "TypeLib\{...}", ProgIDs in sections of their own
// name. An empty value counts as absent, so unregistration empties the keys it owns.
class ComponentRegistry {
public:
    // The user's settings home: $XDG_CONFIG_HOME, else ~/.config; empty without either.
    static QString configHome();
    // The per-user folder "Plotwell" under the settings home, which holds the registry and, for
    // an installed program or one that cannot write its own folder, its settings file. Empty
    // (and so is filePath) without a settings home.
    static QString userFolder();
    static QString filePath();

    // False when the registry file could not be written.
    static bool registerClass(const ClassRegistration& entry);
    static bool unregisterClass(const QString& clsid, const QString& progId);
    static bool registerTypeLib(const QString& libid, const QString& version,
                                const QString& libraryPath, const QString& helpFile);
    static bool unregisterTypeLib(const QString& libid);

    static QString classSection(const QString& clsid);
    static QString typeLibSection(const QString& libid);

    // Empty for a missing file, section or key.
    static QString value(const QString& section, const QString& key);
    // The library registered for `clsid`, empty when none is.
    static QString libraryForClass(const QString& clsid);
};

} // namespace component
