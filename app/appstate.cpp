#include "appstate.h"

#include <QHash>

QString gAppFolder;
QString gIniFile;
bool gDebugMode = false;
QString gPendingFile;
bool gPendingFileValid = false;
bool gSkipOcxUnregister = false;
QString gInitDirectory;
QString gInitFile;
QString gBinSuffix;
QString gTextSuffix;

namespace {

QHash<QString, QString>& texts() {
    static QHash<QString, QString> table;
    return table;
}

} // namespace

QString gText(const QString& key) {
    return texts().value(key);
}

void setText(const QString& key, const QString& value) {
    texts().insert(key, value);
}
