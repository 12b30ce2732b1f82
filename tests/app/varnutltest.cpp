#include "apptestsupport.h"

#include "appstate.h"
#include "varnutl.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SplitFirstToken, TakesTheFirstTokenAndLeavesTheTrimmedRest) {
    struct Case {
        const char* text;
        const char* delimiter;
        const char* token;
        const char* rest;
    };
    const Case cases[] = {
        {"  a b c  ", " ", "a", "b c"},
        {"*.txt;*.bin", " ", "*.txt;*.bin", "*.txt;*.bin"},
        {"*.txt;*.bin", ";", "*.txt", "*.bin"},
        {" x ,  y ", ",", "x", "y"},
        {"abc", "B", "abc", "abc"},
        {"", " ", "", ""},
        {"abc", "", "abc", "abc"},
    };
    for (const Case& c : cases) {
        QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(SplitFirstToken(text, QString::fromLatin1(c.delimiter)),
                  QString::fromLatin1(c.token))
            << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.rest)) << c.text;
    }
}

TEST(FolderOfPath, KeepsTheFolderWithItsSeparator) {
    EXPECT_EQ(FolderOfPath(QStringLiteral("/home/u/data/CUTDATA.txt")),
              QStringLiteral("/home/u/data/"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("/CUTDATA.txt")), QStringLiteral("/"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("/home/u/")), QStringLiteral("/home/u/"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("CUTDATA.txt")), QString());
}

class SettingsRoutines : public ::testing::Test {
protected:
    void SetUp() override { SetIniFile(dir.filePath(QStringLiteral("Plotwell.ini"))); }
    QByteArray file() const { return apptest::readFile(gIniFile); }

    QTemporaryDir dir;
};

TEST_F(SettingsRoutines, ReadIniValueReadsWithoutWriting) {
    EXPECT_EQ(ReadIniValue(QStringLiteral("DEBUG"), QStringLiteral("RUN_DEBUG")), QString());
    EXPECT_FALSE(QFile::exists(gIniFile));
    apptest::writeFile(gIniFile, "[DEBUG]\nRUN_DEBUG=TRUE\n");
    EXPECT_EQ(ReadIniValue(QStringLiteral("debug"), QStringLiteral("run_debug")),
              QStringLiteral("TRUE"));
    EXPECT_EQ(file(), QByteArray("[DEBUG]\nRUN_DEBUG=TRUE\n"));
}

TEST_F(SettingsRoutines, ReadIniWithDefaultWritesMissingAndEmptyValues) {
    apptest::writeFile(gIniFile, "[Property]\nDraw Mode=\nDist Mode=2\n");
    EXPECT_EQ(ReadIniWithDefault(QStringLiteral("Property"), QStringLiteral("G00 Feed"),
                                 QStringLiteral("5000")),
              QStringLiteral("5000"));
    EXPECT_EQ(ReadIniWithDefault(QStringLiteral("Property"), QStringLiteral("Draw Mode"),
                                 QStringLiteral("1")),
              QStringLiteral("1"));
    EXPECT_EQ(ReadIniWithDefault(QStringLiteral("Property"), QStringLiteral("Dist Mode"),
                                 QStringLiteral("0")),
              QStringLiteral("2"));
    EXPECT_EQ(file(), QByteArray("[Property]\nDraw Mode=1\nDist Mode=2\nG00 Feed=5000\n"));
}

TEST_F(SettingsRoutines, LongValuesAreWrittenWholeAndReadUpTo254Bytes) {
    const QString longValue(300, u'x');
    EXPECT_NE(WriteIniValue(QStringLiteral("Text"), QStringLiteral("frmCaption"), longValue), 0);
    EXPECT_TRUE(file().contains(longValue.toLatin1()));
    EXPECT_EQ(ReadIniValue(QStringLiteral("Text"), QStringLiteral("frmCaption")),
              QString(254, u'x'));
    EXPECT_EQ(ReadIniWithDefault(QStringLiteral("Text"), QStringLiteral("frmCaption"),
                                 QStringLiteral("d")),
              QString(254, u'x'));
}

TEST_F(SettingsRoutines, AValueCutInsideACharacterLosesTheBrokenCharacter) {
    // 253 ASCII bytes, then a three-byte character that the 254-byte limit cuts.
    const QString value = QString(253, u'a') + QStringLiteral("ファ");
    WriteIniValue(QStringLiteral("Text"), QStringLiteral("FileCaption"), value);
    EXPECT_EQ(ReadIniValue(QStringLiteral("Text"), QStringLiteral("FileCaption")),
              QString(253, u'a'));
}

// Values that are no UTF-8 come from a site's Windows code page and read as CP932; a cut inside
// a double-byte character loses that character too.
TEST_F(SettingsRoutines, ValuesThatAreNoUtf8ReadAsCp932) {
    const QByteArray kako = "\x89\xC1\x8D\x48"; // 加工
    const struct {
        QByteArray stored;
        QString expected;
    } cases[] = {
        {kako + ".txt", QStringLiteral("加工.txt")},
        {"\x81\x60", QStringLiteral("\uFF5E")}, // the code page's own wave dash
        {QByteArray(253, 'a') + kako, QString(253, u'a')},
        {QByteArray(252, 'a') + kako, QString(252, u'a') + QStringLiteral("加")},
    };
    for (const auto& c : cases) {
        apptest::writeFile(gIniFile, "[Text]\nFileCaption=" + c.stored + "\n");
        EXPECT_EQ(ReadIniValue(QStringLiteral("Text"), QStringLiteral("FileCaption")), c.expected)
            << c.stored.toHex().toStdString();
    }
}

// A value that reads as the text to write is left as it is: no write at all.
TEST_F(SettingsRoutines, WriteIniValueLeavesAValueOfTheSameTextAlone) {
    const QByteArray before = "[Text]\nA=\x89\xC1.txt\nB=  'quoted'  \nC=plain\n";
    apptest::writeFile(gIniFile, before);
    EXPECT_NE(WriteIniValue(QStringLiteral("Text"), QStringLiteral("A"), QStringLiteral("加.txt")),
              0);
    EXPECT_NE(WriteIniValue(QStringLiteral("Text"), QStringLiteral("B"), QStringLiteral("quoted")),
              0);
    EXPECT_EQ(file(), before);
    EXPECT_NE(WriteIniValue(QStringLiteral("Text"), QStringLiteral("C"), QStringLiteral("new")), 0);
    EXPECT_EQ(file(), QByteArray("[Text]\nA=\x89\xC1.txt\nB=  'quoted'  \nC=new\n"));
}

TEST_F(SettingsRoutines, WriteIniValueReportsAFailedWrite) {
    SetIniFile(dir.filePath(QStringLiteral("missing/folder/Plotwell.ini")));
    EXPECT_EQ(
        WriteIniValue(QStringLiteral("Property"), QStringLiteral("Dist Mode"), QStringLiteral("1")),
        0);
    EXPECT_EQ(ReadIniWithDefault(QStringLiteral("Property"), QStringLiteral("Dist Mode"),
                                 QStringLiteral("0")),
              QStringLiteral("0"));
}

class FileOpenDialog : public ::testing::Test {
protected:
    void SetUp() override {
        gInitFile = QStringLiteral("CUTDATA.txt");
        gInitDirectory = QStringLiteral("/data/");
    }
    apptest::ScriptedPrompts prompts;
};

TEST_F(FileOpenDialog, AskedWithTheProgramsTitleFilterAndRememberedFile) {
    prompts.chosenFiles.push_back(QStringLiteral("/work/runs/RUN7.TXT"));
    EXPECT_EQ(ShowFileOpenDialog(gInitFile, gInitDirectory, QStringLiteral("Monitoring Data File"),
                                 QStringLiteral("*.txt;*.bin")),
              QStringLiteral("/work/runs/RUN7.TXT"));
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    const UserPrompts::FileOpenRequest& request = prompts.fileRequests.front();
    EXPECT_EQ(request.title, QStringLiteral("ファイル選択"));
    EXPECT_EQ(request.filters,
              QStringList({QStringLiteral("Monitoring Data File(*.txt;*.bin) (**.txt *.bin)"),
                           QStringLiteral("すべてのファイル (*.*)")}));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral(".txt"));
    EXPECT_EQ(request.folder, QStringLiteral("/data/"));
    EXPECT_EQ(request.fileName, QStringLiteral("CUTDATA.txt"));
    EXPECT_EQ(gInitFile, QStringLiteral("RUN7.TXT"));
    EXPECT_EQ(gInitDirectory, QStringLiteral("/work/runs/"));
}

TEST_F(FileOpenDialog, CancelAndEmptySuffixChangeNothing) {
    EXPECT_EQ(
        ShowFileOpenDialog(gInitFile, gInitDirectory, QStringLiteral("D"), QStringLiteral("*.txt")),
        QString());
    EXPECT_EQ(prompts.fileRequests.size(), 1u);
    prompts.chosenFiles.push_back(QStringLiteral("/x/y.txt"));
    EXPECT_EQ(ShowFileOpenDialog(gInitFile, gInitDirectory, QStringLiteral("D"), QString()),
              QString());
    EXPECT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(gInitFile, QStringLiteral("CUTDATA.txt"));
    EXPECT_EQ(gInitDirectory, QStringLiteral("/data/"));
}

TEST_F(FileOpenDialog, ASuffixWithBlanksGivesTheFirstPatternAsDefaultAndKeepsAllInTheFilter) {
    ShowFileOpenDialog(gInitFile, gInitDirectory, QStringLiteral("D"),
                       QStringLiteral("*.dat *.txt"));
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests.front().defaultSuffix, QStringLiteral(".dat"));
    EXPECT_EQ(prompts.fileRequests.front().filters.front(),
              QStringLiteral("D(*.dat *.txt) (**.dat *.txt)"));
}

} // namespace
