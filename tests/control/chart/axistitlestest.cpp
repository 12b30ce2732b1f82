#include "axistitles.h"
#include "extratexts.h"
#include "privateprofile.h"

#include "../../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const char* const kDistance = "Cutting Movement Distance [mm]";
const char* const kBlock = "Seqence Block Number";
const char* const kRemoval = "Amount of Cutting Removal [mm3/mm]";
const char* const kOrg = "Removal per Sec with OrgFeed [mm3/sec]";
const char* const kOpt = "Removal per Sec with OptFeed [mm3/sec]";

std::string readKey(const std::string& file, const std::string& key) {
    char buffer[2048];
    const std::size_t n =
        getPrivateProfileString("Text", key, "<missing>", buffer, sizeof buffer, file);
    return std::string(buffer, n);
}

TEST(AxisTitles, EmptyBeforeFirstCall) {
    AxisTitles titles;
    EXPECT_EQ(titles.horizontalTitle(0), "");
    EXPECT_EQ(titles.verticalTitle(0), "");
    EXPECT_EQ(titles.iniFileName(), "");
}

TEST(AxisTitles, MissingFileGetsTheDefaultsOfThreeSlotsInOrder) {
    TempFolder folder;
    const std::string file = folder.file("Plotwell.ini");
    AxisTitles titles;
    ASSERT_TRUE(titles.SetIniFileName(file));
    EXPECT_EQ(titles.iniFileName(), file);
    EXPECT_EQ(readBytes(file), std::string("[Text]\n") + "TavixAxisX1=" + kDistance + "\n" +
                                   "TavixAxisY1=" + kRemoval + "\n" + "TavixAxisX2=" + kDistance +
                                   "\n" + "TavixAxisY2=" + kOrg + "\n" + "TavixAxisX3=" + kBlock +
                                   "\n" + "TavixAxisY3=" + kOpt + "\n");
    const struct {
        int slot;
        std::string horizontal;
        std::string vertical;
    } expected[] = {{0, kDistance, kRemoval},
                    {1, kDistance, kOrg},
                    {2, kBlock, kOpt},
                    {3, "", ""},
                    {15, "", ""},
                    {16, "", ""},
                    {-1, "", ""}};
    for (const auto& e : expected) {
        EXPECT_EQ(titles.horizontalTitle(e.slot), e.horizontal) << e.slot;
        EXPECT_EQ(titles.verticalTitle(e.slot), e.vertical) << e.slot;
    }
}

TEST(AxisTitles, ReadsEverySlotAndFillsOnlyMissingDefaults) {
    TempFolder folder;
    const std::string file = folder.file("Plotwell.ini");
    const std::string before = "[Other]\nTavixAxisX1=not this one\n"
                               "[TEXT]\n"
                               "tavixaxisx1 = Weg [mm]\n"
                               "TavixAxisY2=\n"
                               "TavixAxisX3=\"  Satz  \"\n"
                               "TavixAxisX4=Four\n"
                               "TavixAxisY16=Sixteen\n";
    writeBytes(file, before);
    AxisTitles titles;
    ASSERT_TRUE(titles.SetIniFileName(file));

    EXPECT_EQ(titles.horizontalTitle(0), "Weg [mm]");
    EXPECT_EQ(titles.horizontalTitle(1), kDistance);
    EXPECT_EQ(titles.horizontalTitle(2), "  Satz  ");
    EXPECT_EQ(titles.horizontalTitle(3), "Four");
    EXPECT_EQ(titles.verticalTitle(0), kRemoval);
    EXPECT_EQ(titles.verticalTitle(1), kOrg) << "an empty value counts as missing";
    EXPECT_EQ(titles.verticalTitle(15), "Sixteen");
    EXPECT_EQ(titles.verticalTitle(3), "");

    EXPECT_EQ(readKey(file, "TavixAxisY2"), kOrg);
    EXPECT_EQ(readKey(file, "TavixAxisX2"), kDistance);
    EXPECT_EQ(readKey(file, "TavixAxisX1"), "Weg [mm]");
    EXPECT_EQ(readKey(file, "TavixAxisY4"), "<missing>") << "slots 3 to 15 are never written";
    EXPECT_EQ(readBytes(file).substr(0, before.find("TavixAxisY2")),
              before.substr(0, before.find("TavixAxisY2")));
}

TEST(AxisTitles, LongTitleIsCutTo1023Bytes) {
    TempFolder folder;
    const std::string file = folder.file("Plotwell.ini");
    writeBytes(file, "[Text]\nTavixAxisY1=" + std::string(1500, 'y') + "\n");
    AxisTitles titles;
    ASSERT_TRUE(titles.SetIniFileName(file));
    EXPECT_EQ(titles.verticalTitle(0), std::string(1023, 'y'));
}

TEST(AxisTitles, EachCallReplacesBothTables) {
    TempFolder folder;
    writeBytes(folder.file("a.ini"), "[Text]\nTavixAxisX1=A\nTavixAxisY5=Five\n");
    AxisTitles titles;
    ASSERT_TRUE(titles.SetIniFileName(folder.file("a.ini")));
    ASSERT_EQ(titles.verticalTitle(4), "Five");
    ASSERT_TRUE(titles.SetIniFileName(folder.file("b.ini")));
    EXPECT_EQ(titles.horizontalTitle(0), kDistance);
    EXPECT_EQ(titles.verticalTitle(4), "");
    titles.reset();
    EXPECT_EQ(titles.horizontalTitle(0), "");
    EXPECT_EQ(titles.iniFileName(), "");
}

TEST(AxisTitles, PathOf1024CharactersIsRejected) {
    TempFolder folder;
    writeBytes(folder.file("a.ini"), "[Text]\nTavixAxisX1=Kept\n");
    AxisTitles titles;
    ASSERT_TRUE(titles.SetIniFileName(folder.file("a.ini")));

    std::string longest = folder.path() + "/";
    longest += std::string(AxisTitles::kStorage - 1 - longest.size(), 'n');
    EXPECT_FALSE(titles.SetIniFileName(longest + "n"));
    EXPECT_FALSE(titles.SetIniFileName(std::string("a\0b", 3)));
    EXPECT_EQ(titles.horizontalTitle(0), "Kept");
    EXPECT_EQ(titles.iniFileName(), folder.file("a.ini"));

    // 1023 characters are accepted; the file name is too long for the file system, so the
    // defaults stay in memory only.
    EXPECT_TRUE(titles.SetIniFileName(longest));
    EXPECT_EQ(titles.iniFileName(), longest);
    EXPECT_EQ(titles.horizontalTitle(0), kDistance);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A stored caption equal to an earlier default becomes the current default, in memory and in the
// file; any other stored caption is kept as it is.
TEST(ExtraTexts, EarlierDefaultsGiveWayToTheCurrentOnes) {
    const struct {
        ExtraTexts::Key key;
        const char* stored;
        const char* taken;
    } cases[] = {
        {ExtraTexts::RatesComparedTitle, "Removal per Sec [mm3/sec]: OrgFeed grey",
         "Removal per Sec [mm3/sec]"},
        {ExtraTexts::FeedsComparedTitle, "Feed [mm/min]: OrgFeed grey", "Feed [mm/min]"},
        {ExtraTexts::ProgrammedCaption, "OrgFeed", "Programmed"},
        {ExtraTexts::RatesComparedTitle, "Abtrag je Sekunde [mm3/s]", "Abtrag je Sekunde [mm3/s]"},
        {ExtraTexts::FeedsComparedTitle, "Feed [mm/min]: OrgFeed gray",
         "Feed [mm/min]: OrgFeed gray"},
        {ExtraTexts::ProgrammedCaption, "orgfeed", "orgfeed"},
        {ExtraTexts::LegendItem, "OrgFeed", "OrgFeed"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string file = folder.file("Plotwell.ini");
        const std::string key(ExtraTexts::keyName(c.key));
        ASSERT_TRUE(writePrivateProfileString("Extra Text", key, c.stored, file));
        ExtraTexts texts;
        texts.SetIniFileName(file);
        EXPECT_EQ(texts.text(c.key), c.taken) << c.stored;
        char buffer[256];
        const std::size_t n =
            getPrivateProfileString("Extra Text", key, "", buffer, sizeof buffer, file);
        EXPECT_EQ(std::string(buffer, n), c.taken) << c.stored;
        EXPECT_EQ(texts.defaultsWriteError(), 0);
    }
    ExtraTexts defaults;
    EXPECT_EQ(defaults.compareTitle(curvex::CompareMode::Rates), "Removal per Sec [mm3/sec]");
    EXPECT_EQ(defaults.compareTitle(curvex::CompareMode::Feeds), "Feed [mm/min]");
    EXPECT_EQ(defaults.text(ExtraTexts::ProgrammedCaption), "Programmed");
    EXPECT_EQ(defaults.text(ExtraTexts::GreyNote), "grey: programmed");
}

// Without writing defaults back, the file stays as it was, the earlier default taken as the
// current one all the same.
TEST(ExtraTexts, ReadingWithoutWritingLeavesTheFile) {
    TempFolder folder;
    const std::string file = folder.file("Plotwell.ini");
    ASSERT_TRUE(writePrivateProfileString("Extra Text", "ProgrammedCaption", "OrgFeed", file));
    const std::string before = readBytes(file);
    ExtraTexts texts;
    texts.SetIniFileName(file, false);
    EXPECT_EQ(texts.text(ExtraTexts::ProgrammedCaption), "Programmed");
    EXPECT_EQ(readBytes(file), before);
}

} // namespace
