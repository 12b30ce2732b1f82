// PWRegOcx "<control path>" <required version>   registers a control whose version fits
// PWRegOcx -u "<control path>"                    removes its registration again
// Both work on the per-user component registry.

#include "regocx.h"

#include <QString>

#include <cstdio>

namespace {

int finish(curvex::RegOcxExit code, const QString& message) {
    std::fprintf(code == curvex::RegOcxExit::Success ? stdout : stderr, "PWRegOcx: %s\n",
                 message.toLocal8Bit().constData());
    return static_cast<int>(code);
}

// The path as given, without one pair of enclosing double quotes.
QString unquoted(QString path) {
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        return path.mid(1, path.size() - 2);
    return path;
}

} // namespace

int main(int argc, char* argv[]) {
    const QString usage = QStringLiteral(
        "usage: PWRegOcx \"<control path>\" <version> | PWRegOcx -u \"<control path>\"");
    if (argc < 3)
        return finish(curvex::RegOcxExit::NoArgument, usage);
    const QString first = QString::fromLocal8Bit(argv[1]);
    const QString second = unquoted(QString::fromLocal8Bit(argv[2]));
    QString message;
    if (first == QLatin1String("-u")) {
        if (second.isEmpty())
            return finish(curvex::RegOcxExit::NoArgument, usage);
        const curvex::RegOcxExit code = UnregisterControl(second, message);
        return finish(code, message);
    }
    const QString path = unquoted(first);
    const auto required = curvex::RequiredVersion::parse(argv[2]);
    if (path.isEmpty() || !required)
        return finish(curvex::RegOcxExit::NoArgument,
                      QStringLiteral("need a control path and a version such as 1.33"));
    const curvex::RegOcxExit code = RegisterControl(path, *required, message);
    return finish(code, message);
}
