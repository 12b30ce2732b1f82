#include "guid.h"

#include <QUuid>

namespace component {

QString canonicalGuid(const QString& text) {
    const QUuid uuid = QUuid::fromString(text.trimmed());
    if (uuid.isNull())
        return {};
    return uuid.toString(QUuid::WithBraces).toUpper();
}

} // namespace component
