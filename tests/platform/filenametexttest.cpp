#include "filenametext.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Names as bytes, their text and their form in the settings file.
struct NameCase {
    const char* what;
    std::string bytes;
    QString text;
    std::string settingsForm;
};

TEST(FileNameText, NamesKeepEveryByteAsTextAndInTheSettingsFile) {
    const NameCase cases[] = {
        {"plain", "/data/run 1 &.txt", QStringLiteral("/data/run 1 &.txt"), "/data/run 1 &.txt"},
        {"UTF-8", "/d/caf\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80.txt",
         QStringLiteral("/d/caf\u00E9\u65E5") + QString::fromUcs4(U"\U0001F600") + ".txt",
         "/d/caf\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80.txt"},
        {"Latin-1 byte", "r/caf\xE9.txt", QStringLiteral("r/caf") + QChar(0xDCE9) + ".txt",
         "r/caf%E9.txt"},
        {"CP932 bytes", "/d/\x83\x65\x83\x58\x83\x67.txt",
         QStringLiteral("/d/") + QChar(0xDC83) + 'e' + QChar(0xDC83) + 'X' + QChar(0xDC83) + 'g' +
             ".txt",
         "/d/%83e%83X%83g.txt"},
        {"cut sequence at the end", "/d/x\xE6\x97",
         QStringLiteral("/d/x") + QChar(0xDCE6) + QChar(0xDC97), "/d/x%E6%97"},
        {"overlong and surrogate forms", "\xC0\xAF\xED\xA0\x80",
         QString() + QChar(0xDCC0) + QChar(0xDCAF) + QChar(0xDCED) + QChar(0xDCA0) + QChar(0xDC80),
         "%C0%AF%ED%A0%80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80",
         QString() + QChar(0xDCF4) + QChar(0xDC90) + QChar(0xDC80) + QChar(0xDC80), "%F4%90%80%80"},
        {"percent signs", "/d/100%/%41%e9%25%7.txt", QStringLiteral("/d/100%/%41%e9%25%7.txt"),
         "/d/100%/%41%25e9%2525%7.txt"},
        {"percent before an escaped byte", "%\xE9%8\x80",
         QStringLiteral("%") + QChar(0xDCE9) + "%8" + QChar(0xDC80), "%%E9%8%80"},
    };
    for (const NameCase& c : cases) {
        const QByteArray bytes = bytesOf(c.bytes);
        EXPECT_EQ(fileNameFromBytes(bytes), c.text) << c.what;
        EXPECT_EQ(fileNameBytes(c.text), bytes) << c.what;
        EXPECT_EQ(fileNameSettingsForm(bytes), bytesOf(c.settingsForm)) << c.what;
        EXPECT_EQ(fileNameOfSettingsForm(bytesOf(c.settingsForm)), bytes) << c.what;
    }
}

// Values written before there were escapes read as their bytes unless they hold "%25" or "%80"
// to "%FF"; hand-written escapes of either case read too.
TEST(FileNameText, SettingsValuesWithoutEscapesReadAsTheirBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"/data/a%41%2F%7e%", "/data/a%41%2F%7e%"},
        {"/d/raw\xE9\x83.txt", "/d/raw\xE9\x83.txt"},
        {"%e9%C3%a9%25", "\xE9\xC3\xA9%"},
        {"%", "%"},
        {"%E", "%E"},
    };
    for (const auto& [value, bytes] : cases)
        EXPECT_EQ(fileNameOfSettingsForm(bytesOf(value)), bytesOf(bytes)) << value;
}

// Every byte string survives both round trips.
TEST(FileNameText, EveryPairOfBytesRoundTrips) {
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const QByteArray bytes = bytesOf("%"s + char(first) + char(second) + "%");
            ASSERT_EQ(fileNameBytes(fileNameFromBytes(bytes)), bytes) << first << " " << second;
            ASSERT_EQ(fileNameOfSettingsForm(fileNameSettingsForm(bytes)), bytes)
                << first << " " << second;
        }
    }
}

} // namespace
