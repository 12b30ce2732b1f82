#include "curvexrun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// An output of a curvex command is never one of its inputs, nor its other output: the command
// writes nothing and says which file it would have destroyed.

namespace {

const char* const kData = "T1\nN10)G01X1F600(A1)F600\nN20)G01X2F600(A9)F600\n"
                          "N30)G01X3F600(A2)F600\nN40)G01X4F600(A3)F600\n";
const char* const kProgram = "N10 G01 X1\nN20 G01 X2\nN30 G01 X3\nN40 G01 X4\n";

TEST(OutputClash, AnOutputThatIsAnInputIsRefusedAndLeftAsItWas) {
    TempFolder folder;
    for (const char* name : {"d.txt", "same.pdf", "d.png", "d.svg"})
        writeBytes(folder.file(name), kData);
    writeBytes(folder.file("prog.pdf"), kProgram);
    writeBytes(folder.file("Plotwell.png"), "[Titles]\n");
    std::filesystem::create_symlink("d.txt", folder.file("a.pdf"));
    std::filesystem::create_hard_link(folder.file("d.txt"), folder.file("h.pdf"));
    std::filesystem::create_directory(folder.file("sub"));
    struct Case {
        const char* arguments;
        const char* message;
        const char* kept; // the input that must keep its bytes
    };
    const Case cases[] = {
        {"report --text -o same.pdf same.pdf", "cannot write same.pdf: it is the input same.pdf",
         "same.pdf"},
        {"report --program prog.pdf -o prog.pdf d.txt",
         "cannot write prog.pdf: it is the input prog.pdf", "prog.pdf"},
        {"report -o a.pdf d.txt", "cannot write a.pdf: it is the input d.txt", "d.txt"},
        {"report -o h.pdf d.txt", "cannot write h.pdf: it is the input d.txt", "d.txt"},
        {"report -o sub/../same.pdf --text same.pdf",
         "cannot write sub/../same.pdf: it is the input same.pdf", "same.pdf"},
        {"toolpath --text -o d.png d.png", "cannot write d.png: it is the input d.png", "d.png"},
        {"render --text -o d.svg d.svg", "cannot write d.svg: it is the input d.svg", "d.svg"},
        {"render --ini Plotwell.png -o Plotwell.png d.txt",
         "cannot write Plotwell.png: it is the input Plotwell.png", "Plotwell.png"},
        {"synth --nc --text -o same.nc", "cannot write same.nc: it is the data output same.nc",
         nullptr},
    };
    for (const Case& c : cases) {
        const std::string before = c.kept ? readBytes(folder.file(c.kept)) : std::string();
        const CurvexRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err, "curvex: " + std::string(c.message) + "\n") << c.arguments;
        if (c.kept) {
            EXPECT_EQ(readBytes(folder.file(c.kept)), before) << c.arguments;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("same.nc")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("d.pdf")));
}

} // namespace
