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

std::optional<bool> askTextFile(const QString& fileName) {
    switch (fileTypeByEnding(fileName, gBinSuffix, gTextSuffix)) {
    case FileTypeRule::Text:
        return true;
    case FileTypeRule::Binary:
        return false;
    case FileTypeRule::Ask:
        break;
    }
    const int answer = prompts().messageBox(
        gText("Message1") + QStringLiteral("\r\n") + gText("Message2"),
        UserPrompts::Buttons::YesNoCancel, UserPrompts::Icon::Question, gText("Message3"));
    if (answer == UserPrompts::AnswerYes)
        return true;
    if (answer == UserPrompts::AnswerNo)
        return false;
    return std::nullopt;
}
