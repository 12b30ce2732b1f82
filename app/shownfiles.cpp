#include "shownfiles.h"

#include "appstate.h"
#include "filenametext.h"
#include "samefile.h"

#include <QDir>

namespace {

bool isSame(const QString& output, const QString& shown) {
    return isSameFile(fileNameBytes(output).toStdString(), fileNameBytes(shown).toStdString());
}

} // namespace

QString shownFileRefusal(const QString& output) {
    if (isSame(output, appState().shownData))
        return QStringLiteral("it is the open data file %1")
            .arg(QDir::toNativeSeparators(appState().shownData));
    if (isSame(output, appState().shownProgram))
        return QStringLiteral("it is the open NC program %1")
            .arg(QDir::toNativeSeparators(appState().shownProgram));
    return {};
}
