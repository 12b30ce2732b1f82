#include "filenametext.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // a byte b >= 0x80 is kept as U+DC00 + b
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;
constexpr unsigned char kPercentByte = 0x25;
constexpr unsigned char kFirstEscapedByte = 0x80;

unsigned char byteAt(const QByteArray& bytes, qsizetype i) {
    return static_cast<unsigned char>(bytes.at(i));
}

// The length of the valid UTF-8 sequence at `i` (no overlong forms, surrogates or code points
// beyond U+10FFFF), or 0 when the byte there starts none.
qsizetype utf8LengthAt(const QByteArray& bytes, qsizetype i) {
    const unsigned char lead = byteAt(bytes, i);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        const unsigned char next = byteAt(bytes, i + k);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The byte that the escape "%XX" at `i` stands for, or -1 when there is none.
int escapedByteAt(const QByteArray& value, qsizetype i) {
    if (value.at(i) != '%' || i + 2 >= value.size())
        return -1;
    const int high = hexValue(value.at(i + 1));
    const int low = hexValue(value.at(i + 2));
    if (high < 0 || low < 0)
        return -1;
    const int byte = high * 16 + low;
    return byte == kPercentByte || byte >= kFirstEscapedByte ? byte : -1;
}

void appendHex(QByteArray& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.append('%').append(kDigits[byte >> 4]).append(kDigits[byte & 0x0F]);
}

} // namespace

QString fileNameFromBytes(const QByteArray& bytes) {
    QString name;
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = utf8LengthAt(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + runStart, i - runStart);
        name += QChar(static_cast<char16_t>(kEscapeBase + byteAt(bytes, i)));
        runStart = ++i;
    }
    return name + QString::fromUtf8(bytes.constData() + runStart, bytes.size() - runStart);
}

QByteArray fileNameBytes(const QString& name) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name.at(i).unicode();
        const bool pairedLow = i > 0 && name.at(i - 1).isHighSurrogate();
        if (unit < kFirstEscape || unit > kLastEscape || pairedLow)
            continue;
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(unit - kEscapeBase);
        runStart = i + 1;
    }
    return bytes + QStringView(name).mid(runStart).toUtf8();
}

QByteArray fileNameSettingsForm(const QByteArray& bytes) {
    QByteArray value;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = utf8LengthAt(bytes, i);
        if (length == 0) {
            appendHex(value, byteAt(bytes, i++));
        } else if (escapedByteAt(bytes, i) >= 0) {
            appendHex(value, kPercentByte);
            ++i;
        } else {
            value.append(bytes.constData() + i, length);
            i += length;
        }
    }
    return value;
}

QByteArray fileNameOfSettingsForm(const QByteArray& value) {
    QByteArray bytes;
    qsizetype i = 0;
    while (i < value.size()) {
        const int escaped = escapedByteAt(value, i);
        if (escaped >= 0) {
            bytes.append(static_cast<char>(escaped));
            i += 3;
        } else {
            bytes.append(value.at(i++));
        }
    }
    return bytes;
}
