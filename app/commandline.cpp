#include "commandline.h"

namespace {

bool isSeparator(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool escapableInDoubleQuotes(QChar c) {
    return c == u'$' || c == u'`' || c == u'"' || c == u'\\' || c == u'\n';
}

// The character a backslash escaped; an escaped newline continues the line and disappears.
void appendEscaped(QString& word, QChar c) {
    if (c != u'\n')
        word += c;
}

} // namespace

std::optional<QStringList> splitCommandLine(const QString& commandLine) {
    QStringList words;
    QString word;
    bool inWord = false;
    const qsizetype n = commandLine.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = commandLine.at(i);
        if (isSeparator(c)) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'\'') {
            const qsizetype end = commandLine.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            word += commandLine.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'"') {
            ++i;
            while (i < n && commandLine.at(i) != u'"') {
                if (commandLine.at(i) == u'\\' && i + 1 < n &&
                    escapableInDoubleQuotes(commandLine.at(i + 1)))
                    appendEscaped(word, commandLine.at(++i));
                else
                    word += commandLine.at(i);
                ++i;
            }
            if (i >= n)
                return std::nullopt;
        } else if (c == u'\\') {
            if (i + 1 < n)
                appendEscaped(word, commandLine.at(++i));
        } else {
            word += c;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}
