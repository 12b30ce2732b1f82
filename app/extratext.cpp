#include "extratext.h"

#include "varnutl.h"

QString ExtraText(ExtraTexts::Key key) {
    const std::string_view name = ExtraTexts::keyName(key);
    const std::string_view value = ExtraTexts::defaultText(key);
    return ReadIniWithDefault(
        QStringLiteral("Extra Text"),
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}
