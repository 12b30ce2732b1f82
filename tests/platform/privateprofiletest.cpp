#include "privateprofile.h"
#include "atomicfile.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

std::string readValue(const std::string& file, std::string_view section, std::string_view key,
                      std::string_view defaultValue = "DEFAULT", std::size_t size = 256) {
    std::string buffer(size + 1, '#');
    const std::size_t count =
        getPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
    EXPECT_EQ(buffer.find('\0'), count) << "the count must match the delivered text";
    return buffer.substr(0, count);
}

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::string expected;
    std::size_t size = 256;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, DeliversValueOrDefault) {
    const ReadCase& c = GetParam();
    TempFolder folder;
    const std::string file = folder.file("read.ini");
    writeBytes(file, c.content);
    EXPECT_EQ(readValue(file, c.section, c.key, "DEFAULT", c.size), c.expected);
}

const std::string kLongLine(4 * 1024 * 1024, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileRead,
    testing::Values(
        ReadCase{"Plain", "[Text]\nKey=value\n", "Text", "Key", "value"},
        ReadCase{"SectionCase", "[TEXT]\nKey=value\n", "text", "Key", "value"},
        ReadCase{"KeyCase", "[Text]\nkey=value\n", "Text", "KEY", "value"},
        ReadCase{"BlanksAround", "  [ Text ]  \n \t Form Top \t=  12 \t\n", "Text", "Form Top",
                 "12"},
        ReadCase{"InnerBlanksMatter", "[Text]\nFormTop=1\n", "Text", "Form Top", "DEFAULT"},
        ReadCase{"DoubleQuotes", "[Text]\nKey= \"  padded  \" \n", "Text", "Key", "  padded  "},
        ReadCase{"SingleQuotes", "[Text]\nKey='x'\n", "Text", "Key", "x"},
        ReadCase{"UnmatchedQuotes", "[Text]\nKey=\"x'\n", "Text", "Key", "\"x'"},
        ReadCase{"LoneQuote", "[Text]\nKey=\"\n", "Text", "Key", "\""},
        ReadCase{"EmptyValueIsNotMissing", "[Text]\nKey=\n", "Text", "Key", ""},
        ReadCase{"MissingKey", "[Text]\nOther=1\n", "Text", "Key", "DEFAULT"},
        ReadCase{"MissingSection", "[Other]\nKey=1\n", "Text", "Key", "DEFAULT"},
        ReadCase{"KeyOfAnotherSection", "[Text]\nA=1\n[Other]\nKey=1\n", "Text", "Key", "DEFAULT"},
        ReadCase{"KeyBeforeAnySection", "Key=1\n[Text]\n", "Text", "Key", "DEFAULT"},
        ReadCase{"CommentIsNoKey", "[Text]\n;Key=1\n# Key=2\n", "Text", "Key", "DEFAULT"},
        ReadCase{"FirstOfTwo", "[Text]\nKey=1\nKey=2\n", "Text", "Key", "1"},
        ReadCase{"SecondBlockOfSection", "[Text]\nA=1\n[B]\n[text]\nKey=2\n", "Text", "Key", "2"},
        ReadCase{"CrLf", "[Text]\r\nKey=value\r\nNext=1\r\n", "Text", "Key", "value"},
        ReadCase{"NoFinalLineEnd", "[Text]\nKey=value", "Text", "Key", "value"},
        ReadCase{"CutCrLfAtEnd", "[Text]\nKey=value\r", "Text", "Key", "value"},
        ReadCase{"CrOnly", "[Text]\rKey=value\rNext=1\r", "Text", "Key", "value"},
        ReadCase{"CrOnlySectionAfterAnother", "[A]\rKey=1\r[Text]\rKey=2\r", "Text", "Key", "2"},
        ReadCase{"CrOnlyKeyOfAnotherSection", "[Text]\rA=1\r[B]\rKey=2\r", "Text", "Key",
                 "DEFAULT"},
        ReadCase{"LoneCrEndsALine", "[Text]\nA=1\rKey=v\n", "Text", "Key", "v"},
        ReadCase{"LoneCrEndsAValue", "[Text]\r\nKey=v\rw\r\n", "Text", "Key", "v"},
        ReadCase{"CutToBufferSize", "[Text]\nKey=abcdef\n", "Text", "Key", "abc", 4},
        ReadCase{"DefaultCutToBufferSize", "", "Text", "Key", "DEF", 4},
        ReadCase{"NulCutsValue", "[Text]\nKey=ab\0cd\nNext=1\n"s, "Text", "Key", "ab"},
        ReadCase{"BinaryGarbage", "\xff\xfe\x01\x80[\x00]\n\x7f=\x9c\n[Text]\nKey=v\n"s, "Text",
                 "Key", "v"},
        ReadCase{"HugeLineBefore", "[Text]\n" + kLongLine + "\nKey=v\n", "Text", "Key", "v"},
        ReadCase{"HugeValue", "[Text]\nKey=" + kLongLine + "\n", "Text", "Key",
                 std::string(99, 'x'), 100},
        ReadCase{"HeaderWithoutBracket", "[Text]\nA=1\n[Broken\nKey=1\n[Text2]\nKey=2\n", "Broken",
                 "Key", "1"},
        ReadCase{"KeyAfterBrokenHeaderIsNotText", "[Text]\nA=1\n[Broken\nKey=1\n", "Text", "Key",
                 "DEFAULT"},
        ReadCase{"LineWithoutEquals", "[Text]\nno equals here\nKey=v\n", "Text", "Key", "v"},
        ReadCase{"ByteOrderMarkBeforeFirstSection", "\xEF\xBB\xBF[Text]\r\nKey=v\r\n", "Text",
                 "Key", "v"},
        ReadCase{"ByteOrderMarkOnlyAtTheStart", "[A]\n\xEF\xBB\xBF[Text]\nKey=v\n", "Text", "Key",
                 "DEFAULT"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ProfileReadFile, MissingFileOrFolderGivesDefault) {
    TempFolder folder;
    EXPECT_EQ(readValue(folder.file("none.ini"), "Text", "Key"), "DEFAULT");
    EXPECT_EQ(readValue(folder.path(), "Text", "Key"), "DEFAULT");
}

TEST(ProfileReadFile, EmptyNamesAndZeroBuffer) {
    TempFolder folder;
    const std::string file = folder.file("a.ini");
    writeBytes(file, "[Text]\nKey=value\n");
    EXPECT_EQ(readValue(file, "", "Key"), "DEFAULT");
    EXPECT_EQ(readValue(file, "Text", " "), "DEFAULT");
    char untouched = '#';
    EXPECT_EQ(getPrivateProfileString("Text", "Key", "", &untouched, 0, file), 0u);
    EXPECT_EQ(untouched, '#');
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKey) {
    const WriteCase& c = GetParam();
    TempFolder folder;
    const std::string file = folder.file("write.ini");
    writeBytes(file, c.before);
    ASSERT_TRUE(writePrivateProfileString(c.section, c.key, c.value, file));
    EXPECT_EQ(readBytes(file), c.after);
    EXPECT_EQ(readValue(file, c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileWrite,
    testing::Values(
        WriteCase{"ReplaceInPlace", "[A]\nx=1\nKey=old\ny=2\n", "A", "Key", "new",
                  "[A]\nx=1\nKey=new\ny=2\n"},
        WriteCase{"ReplaceKeepsLayoutAndSpelling", "[a]\n  key =  \"old\"  \n", "A", "KEY", "new",
                  "[a]\n  key =  new\n"},
        WriteCase{"ReplaceEmpty", "[A]\nKey=\n", "A", "Key", "v", "[A]\nKey=v\n"},
        WriteCase{"AppendAfterLastKeyLine", "[A]\nx=1\n\n; about B\n[B]\ny=2\n", "A",
                  "Drawing Color 3", "255",
                  "[A]\nx=1\nDrawing Color 3=255\n\n; about B\n[B]\ny=2\n"},
        WriteCase{"AppendToSectionWithoutKeys", "[A]\n; nothing yet\n[B]\n", "a", "Key", "v",
                  "[A]\nKey=v\n; nothing yet\n[B]\n"},
        WriteCase{"AppendToFirstBlockOfSection", "[A]\nx=1\n[B]\n[A]\ny=2\n", "A", "Key", "v",
                  "[A]\nx=1\nKey=v\n[B]\n[A]\ny=2\n"},
        WriteCase{"AppendAfterLineWithoutEnd", "[A]\nx=1", "A", "Key", "v", "[A]\nx=1\nKey=v"},
        WriteCase{"AppendAfterCutCrLf", "[A]\r\nx=1\r", "A", "Key", "v", "[A]\r\nx=1\r\nKey=v"},
        WriteCase{"NewSectionAfterCutCrLf", "x\r", "A", "Key", "v", "x\r\n[A]\nKey=v\n"},
        WriteCase{"AppendAfterHeaderWithoutEnd", "[A]", "A", "Key", "v", "[A]\nKey=v"},
        WriteCase{"NewSectionAtEnd", "[A]\nx=1\n", "Form", "Form Top", "120",
                  "[A]\nx=1\n[Form]\nForm Top=120\n"},
        WriteCase{"CrLfKept", "[A]\r\nx=1\r\n\r\n[B]\r\n", "A", "Key", "v",
                  "[A]\r\nx=1\r\nKey=v\r\n\r\n[B]\r\n"},
        WriteCase{"CrLfNewSection", "[A]\r\nx=1\r\n", "B", "Key", "v",
                  "[A]\r\nx=1\r\n[B]\r\nKey=v\r\n"},
        WriteCase{"CrOnlyReplaceInPlace", "[A]\rx=1\rKey=old\ry=2\r", "A", "Key", "new",
                  "[A]\rx=1\rKey=new\ry=2\r"},
        WriteCase{"CrOnlyAppendAfterLastKeyLine", "[A]\rx=1\r\r[B]\r", "A", "Key", "v",
                  "[A]\rx=1\rKey=v\r\r[B]\r"},
        WriteCase{"CrOnlyNewSection", "[A]\rx=1\r", "B", "Key", "v", "[A]\rx=1\r[B]\rKey=v\r"},
        WriteCase{"CrOnlyAppendAfterLineWithoutEnd", "[A]\rx=1", "A", "Key", "v",
                  "[A]\rx=1\rKey=v"},
        WriteCase{"CrOnlyNewSectionAfterLineWithoutEnd", "[A]\rx=1", "B", "Key", "v",
                  "[A]\rx=1\r[B]\rKey=v\r"},
        WriteCase{"AppendAfterLoneCrInsideTheText", "[A]\nx=1\r;c\n[B]\n", "A", "Key", "v",
                  "[A]\nx=1\rKey=v\n;c\n[B]\n"},
        WriteCase{"GarbageKept", "\xff\0\x01\n[A]\nno equals\n[Broken\n=orphan\nx=1\n"s, "A", "Key",
                  "v", "\xff\0\x01\n[A]\nKey=v\nno equals\n[Broken\n=orphan\nx=1\n"s},
        WriteCase{"WriteIntoBrokenHeader", "[Broken\nx=1\n", "Broken", "y", "2",
                  "[Broken\nx=1\ny=2\n"},
        WriteCase{"ByteOrderMarkKeptAndFirstSectionFound", "\xEF\xBB\xBF[A]\nx=1\n", "A", "Key",
                  "v", "\xEF\xBB\xBF[A]\nx=1\nKey=v\n"},
        WriteCase{"ByteOrderMarkKeptBeforeFirstKey", "\xEF\xBB\xBF[A]\r\nKey=old\r\n", "A", "Key",
                  "new", "\xEF\xBB\xBF[A]\r\nKey=new\r\n"},
        WriteCase{"ByteOrderMarkAloneStaysFirst", "\xEF\xBB\xBF", "A", "Key", "v",
                  "\xEF\xBB\xBF[A]\nKey=v\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(ProfileWriteFile, CreatesMissingFileWithLf) {
    TempFolder folder;
    const std::string file = folder.file("new.ini");
    ASSERT_TRUE(writePrivateProfileString("Text", "Key", "v", file));
    ASSERT_TRUE(writePrivateProfileString("Text", "Other", "w", file));
    EXPECT_EQ(readBytes(file), "[Text]\nKey=v\nOther=w\n");
}

TEST(ProfileWriteFile, CrLfFileFromAnotherProgramKeepsUntouchedLines) {
    const std::string original = "\xEF\xBB\xBF; Settings\r\n"
                                 "[Text]\r\n"
                                 "TavixAxisX1 = Distance  \r\n"
                                 "Caption=\"quoted\"\r\n"
                                 "\r\n"
                                 "[Property]\r\n"
                                 "Form Top=1200\r\n"
                                 "  form left\t=\t300\r\n"
                                 "Unknown line\r\n"
                                 "[Extra]\r\n"
                                 "\x93\x94=\x95\r\n";
    TempFolder folder;
    const std::string file = folder.file("crlf.ini");
    writeBytes(file, original);
    ASSERT_TRUE(writePrivateProfileString("property", "FORM LEFT", "450", file));
    ASSERT_TRUE(writePrivateProfileString("Text", "TavixAxisY1", "Removal", file));
    ASSERT_TRUE(writePrivateProfileString("Relation", "Bin Suffix", "", file));

    std::string expected = original;
    expected.replace(expected.find("300"), 3, "450");
    expected.insert(expected.find("\r\n\r\n[Property]") + 2, "TavixAxisY1=Removal\r\n");
    expected += "[Relation]\r\nBin Suffix=\r\n";
    EXPECT_EQ(readBytes(file), expected);
}

TEST(ProfileWriteFile, KeyDifferingOnlyInCaseIsReplacedNotAdded) {
    TempFolder folder;
    const std::string file = folder.file("case.ini");
    writeBytes(file, "[Property]\nDraw Mode=1\n");
    ASSERT_TRUE(writePrivateProfileString("PROPERTY", "draw mode", "4", file));
    EXPECT_EQ(readBytes(file), "[Property]\nDraw Mode=4\n");
    EXPECT_EQ(readValue(file, "property", "DRAW MODE"), "4");
}

TEST(ProfileWriteFile, RejectsWhatWouldChangeTheFileStructure) {
    TempFolder folder;
    const std::string file = folder.file("bad.ini");
    const std::string before = "[A]\nx=1\n";
    writeBytes(file, before);
    const struct {
        const char* section;
        const char* key;
        std::string value;
    } cases[] = {
        {"", "Key", "v"},     {"A", " ", "v"},       {"A]", "Key", "v"}, {"A\nB", "Key", "v"},
        {"A", "K=ey", "v"},   {"A", "[Key", "v"},    {"A", ";Key", "v"}, {"A", "Key", "a\nb"},
        {"A", "Key", "a\rb"}, {"A", "Key", "a\0b"s},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(writePrivateProfileString(c.section, c.key, c.value, file))
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(readBytes(file), before);
}

TEST(ProfileWriteFile, FailsWithoutTouchingAnything) {
    TempFolder folder;
    writeBytes(folder.file("plain"), "not a folder");
    std::filesystem::create_directory(folder.file("dir.ini"));
    EXPECT_FALSE(writePrivateProfileString("A", "Key", "v", folder.file("none/x.ini")));
    EXPECT_FALSE(writePrivateProfileString("A", "Key", "v", folder.file("plain/x.ini")));
    EXPECT_FALSE(writePrivateProfileString("A", "Key", "v", folder.file("dir.ini")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("none")));
    EXPECT_EQ(readBytes(folder.file("plain")), "not a folder");
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("dir.ini")));
}

TEST(ProfileWriteFile, ReadOnlyFolderOrFileKeepsOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores write permissions; the failing folders above cover it";
    }
    using std::filesystem::perms;
    const struct {
        bool lockFolder;
        perms locked;
    } cases[] = {{true, perms::owner_read | perms::owner_exec}, {false, perms::owner_read}};
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string file = folder.file("settings.ini");
        writeBytes(file, "[A]\nKey=old\n");
        const std::string locked = c.lockFolder ? folder.path() : file;
        std::filesystem::permissions(locked, c.locked);
        EXPECT_FALSE(writePrivateProfileString("A", "Key", "new", file)) << locked;
        std::filesystem::permissions(locked, perms::owner_all);
        EXPECT_EQ(readBytes(file), "[A]\nKey=old\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    }
}

TEST(ProfileWriteFile, UnreadableFileIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads a file without read permission";
    }
    TempFolder folder;
    const std::string file = folder.file("secret.ini");
    writeBytes(file, "[A]\nKey=old\nOther=kept\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_write);
    EXPECT_FALSE(writePrivateProfileString("A", "Key", "new", file));
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    EXPECT_EQ(readBytes(file), "[A]\nKey=old\nOther=kept\n");
}

TEST(ProfileWriteFile, KeepsPermissionsAndFollowsSymbolicLink) {
    TempFolder folder;
    const std::string file = folder.file("real.ini");
    const std::string link = folder.file("link.ini");
    writeBytes(file, "[A]\nKey=old\n");
    ::chmod(file.c_str(), 0640);
    std::filesystem::create_symlink(file, link);
    ASSERT_TRUE(writePrivateProfileString("A", "Key", "new", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(file), "[A]\nKey=new\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// The hooks run in a forked child, which checks and ends itself.
void killBeforeRename(const std::string&) {
    ::raise(SIGKILL);
}

void exitWithTemporaryContent(const std::string& temporaryPath) {
    const bool complete = readBytes(temporaryPath) == "[A]\nKey=new\nOther=kept\n";
    const bool beside = temporaryPath.find("/crash.ini") == std::string::npos &&
                        temporaryPath.rfind('/') == temporaryPath.find("/.crash.ini");
    ::_exit(complete && beside ? 10 : 11);
}

int statusOfWriteInChild(const std::string& file, BeforeRenameHook hook) {
    const pid_t child = ::fork();
    if (child == 0) {
        setBeforeRenameHook(hook);
        writePrivateProfileString("A", "Key", "new", file);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(ProfileWriteFile, InterruptedBeforeRenameLeavesOldFileIntact) {
    TempFolder folder;
    const std::string file = folder.file("crash.ini");
    const std::string before = "[A]\nKey=old\nOther=kept\n";
    writeBytes(file, before);

    const int killed = statusOfWriteInChild(file, killBeforeRename);
    ASSERT_TRUE(WIFSIGNALED(killed));
    EXPECT_EQ(WTERMSIG(killed), SIGKILL);
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(readValue(file, "A", "Key"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2)
        << "the killed writer's temporary file";

    const int checked = statusOfWriteInChild(file, exitWithTemporaryContent);
    ASSERT_TRUE(WIFEXITED(checked));
    EXPECT_EQ(WEXITSTATUS(checked), 10) << "temporary file incomplete or not beside the file";
    EXPECT_EQ(readBytes(file), before);

    ASSERT_TRUE(writePrivateProfileString("A", "Key", "new", file));
    EXPECT_EQ(readBytes(file), "[A]\nKey=new\nOther=kept\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << "the next writer removes the temporary files of writers that are gone";
}

} // namespace
