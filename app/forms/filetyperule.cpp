#include "filetyperule.h"

#include "numerictext.h"

namespace {

bool endingIs(const QString& ending, const QString& suffix) {
    return !suffix.isEmpty() && ending.toUpper() == suffix.toUpper();
}

} // namespace

std::optional<CutFormat> fileTypeByEnding(const QString& fileName, const QString& binSuffix,
                                          const QString& textSuffix) {
    const QString ending = trimBlanks(fileName).right(4);
    if (endingIs(ending, QStringLiteral(".TXT"))) {
        return CutFormat::Text;
    }
    if (endingIs(ending, QStringLiteral(".BIN"))) {
        return CutFormat::Binary;
    }
    if (endingIs(ending, binSuffix)) {
        return CutFormat::Binary;
    }
    if (endingIs(ending, textSuffix)) {
        return CutFormat::Text;
    }
    return std::nullopt;
}
