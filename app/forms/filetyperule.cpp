#include "filetyperule.h"

#include "numerictext.h"

namespace {

bool endingIs(const QString& ending, const QString& suffix) {
    return !suffix.isEmpty() && ending.toUpper() == suffix.toUpper();
}

} // namespace

FileTypeRule fileTypeByEnding(const QString& fileName, const QString& binSuffix,
                              const QString& textSuffix) {
    const QString ending = trimBlanks(fileName).right(4);
    if (endingIs(ending, QStringLiteral(".TXT"))) {
        return FileTypeRule::Text;
    }
    if (endingIs(ending, QStringLiteral(".BIN"))) {
        return FileTypeRule::Binary;
    }
    if (endingIs(ending, binSuffix)) {
        return FileTypeRule::Binary;
    }
    if (endingIs(ending, textSuffix)) {
        return FileTypeRule::Text;
    }
    return FileTypeRule::Ask;
}
