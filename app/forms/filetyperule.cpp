#include "filetyperule.h"

#include "appstate.h"
#include "numerictext.h"
#include "userprompts.h"
#include "varnutl.h"

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

std::optional<CutFormat> askFileFormat(const QString& fileName) {
    if (const auto byEnding = fileTypeByEnding(fileName, gBinSuffix, gTextSuffix))
        return byEnding;
    const int answer = prompts().messageBox(
        gText("Message1") + QStringLiteral("\r\n") + gText("Message2"),
        UserPrompts::Buttons::YesNoCancel, UserPrompts::Icon::Question, gText("Message3"));
    if (answer == UserPrompts::AnswerYes)
        return CutFormat::Text;
    if (answer == UserPrompts::AnswerNo)
        return CutFormat::Binary;
    return std::nullopt;
}
