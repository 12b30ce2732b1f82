#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes to the system and need not be UTF-8. As text the program keeps each byte
// that is no part of valid UTF-8 as one of the lone low surrogates U+DC80..U+DCFF, so that a
// name from the command line or the settings file opens the same file byte for byte; the rest
// is read as UTF-8. Such a byte shows as a replacement character.

// The name `bytes` as text, without loss.
QString fileNameFromBytes(const QByteArray& bytes);

// The bytes of `name`: UTF-8, and each byte kept as a lone surrogate as that byte.
QByteArray fileNameBytes(const QString& name);

// The form of the name `bytes` in the settings file, whose values must read back byte for byte:
// UTF-8 as it is, a byte that is no part of UTF-8 as "%XX" (upper-case hex, 80 to FF), and "%"
// as "%25" only where the two bytes after it would read as such an escape or as "25".
QByteArray fileNameSettingsForm(const QByteArray& bytes);

// The name that fileNameSettingsForm wrote as `value`. "%25" and "%80" to "%FF" (either case)
// are escapes; any other byte, "%" included, stands for itself, so a value written without
// escapes reads as its bytes.
QByteArray fileNameOfSettingsForm(const QByteArray& value);
