#include "forms/filetyperule.h"
#include "forms/mainlayout.h"
#include "forms/twips.h"

#include <gtest/gtest.h>

namespace {

struct EndingCase {
    const char* fileName;
    const char* binSuffix;
    const char* textSuffix;
    std::optional<CutFormat> expected; // nothing: ask
};

TEST(FileTypeByEnding, FirstMatchingRuleDecides) {
    const EndingCase cases[] = {
        {"/data/run.txt", "", "", CutFormat::Text},
        {"/data/RUN.Txt", "", "", CutFormat::Text},
        {"/data/run.TXT", "", "", CutFormat::Text},
        {"/data/run.bin", "", "", CutFormat::Binary},
        {"/data/run.BiN", "", "", CutFormat::Binary},
        {"/data/a.dat", ".dat", "", CutFormat::Binary},
        {"/data/a.DAT", ".dat", "", CutFormat::Binary},
        {"/data/a.csv", "", ".csv", CutFormat::Text},
        {"/data/a.csv", ".csv", ".csv", CutFormat::Binary},
        {"/data/run.txt", ".txt", "", CutFormat::Text},
        {"/data/run.bin", "", ".bin", CutFormat::Binary},
        {"/data/a.dat", "dat", "", std::nullopt},
        {"/data/a.dat", "", "", std::nullopt},
        {"ab", "", "", std::nullopt},
        {"ab", "ab", "", CutFormat::Binary},
        {"  /data/run.txt  ", "", "", CutFormat::Text},
        {"/data/run.txt.", "", "", std::nullopt},
        {"/data/runtxt", "", "", std::nullopt},
    };
    for (const EndingCase& c : cases) {
        EXPECT_EQ(fileTypeByEnding(QString::fromUtf8(c.fileName), QString::fromUtf8(c.binSuffix),
                                   QString::fromUtf8(c.textSuffix)),
                  c.expected)
            << c.fileName << " bin=" << c.binSuffix << " text=" << c.textSuffix;
    }
}

TEST(MainLayout, PlacesControlsByMarginsAndButton) {
    const QSize button(1455, 375);
    const struct {
        QSize client;
        QRect graph, button, scrollBar;
    } cases[] = {
        {{9690, 6645}, {120, 120, 9450, 5910}, {8115, 6150, 1455, 375}, {120, 6150, 7850, 255}},
        {{4365, 1875}, {120, 120, 4125, 1140}, {2790, 1380, 1455, 375}, {120, 1380, 2525, 255}},
    };
    for (const auto& c : cases) {
        const MainLayout layout = MainLayout::forClient(c.client, button, 255);
        EXPECT_EQ(layout.graph, c.graph);
        EXPECT_EQ(layout.button, c.button);
        EXPECT_EQ(layout.scrollBar, c.scrollBar);
    }
    EXPECT_EQ(MainLayout::minimumWindowSize(button), QSize(4365, 1875));
    EXPECT_EQ(MainLayout::minimumWindowSize(QSize(20000, 7000)), QSize(32767, 32767));
}

TEST(Twips, ConvertWithTheScreensDotsPerInch) {
    EXPECT_EQ(twipsToPixels(1455, 96), 97);
    EXPECT_EQ(twipsToPixels(375, 96), 25);
    EXPECT_EQ(twipsToPixels(1440, 120), 120);
    EXPECT_EQ(twipsToPixels(1455, 144), 146);
    EXPECT_DOUBLE_EQ(pixelsToTwips(97, 96), 1455.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(100, 120), 1200.0);
}

} // namespace
