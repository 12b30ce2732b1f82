#include "settingstext.h"

#include <QStringDecoder>

#include <optional>

namespace {

// `bytes` without a UTF-8 sequence that the end cuts short.
QByteArray withoutCutSequence(QByteArray bytes) {
    qsizetype start = bytes.size();
    while (start > 0 && (static_cast<unsigned char>(bytes.at(start - 1)) & 0xC0) == 0x80)
        --start;
    if (start > 0) {
        const auto lead = static_cast<unsigned char>(bytes.at(start - 1));
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (bytes.size() - (start - 1) < length)
            bytes.truncate(start - 1);
    }
    return bytes;
}

std::optional<QString> utf8Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString settingsText(const QByteArray& bytes) {
    if (const auto text = utf8Text(withoutCutSequence(bytes)))
        return *text;
    // Not flushed, so that a double-byte character cut after its first byte is left out rather
    // than shown as a wrong one.
    QStringDecoder decoder("windows-31j");
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    return decoder(bytes);
}
