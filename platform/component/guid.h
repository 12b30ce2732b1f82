#pragma once

#include <QString>

namespace component {

// The canonical text of a GUID, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, from any
// spelling QUuid accepts (with or without braces, any case). Empty when `text` is not a GUID.
QString canonicalGuid(const QString& text);

} // namespace component
