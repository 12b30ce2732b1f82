#include "extratext.h"

#include "varnutl.h"

namespace {

QString textOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString ExtraText(ExtraTexts::Key key) {
    const QString section = QStringLiteral("Extra Text");
    const QString name = textOf(ExtraTexts::keyName(key));
    const QString stored = ReadIniWithDefault(section, name, textOf(ExtraTexts::defaultText(key)));
    const QString current = textOf(ExtraTexts::current(key, stored.toStdString()));
    if (current != stored)
        WriteIniValue(section, name, current);
    return current;
}
