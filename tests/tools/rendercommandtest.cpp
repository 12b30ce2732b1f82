#include "../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

struct RenderRun {
    int status = -1;
    std::string err;
};

// Runs the built `curvex render` with `arguments` in `folder`.
RenderRun render(const TempFolder& folder, const std::string& arguments) {
    const char* bin = std::getenv("PLOTWELL_BIN");
    const std::string program = std::string(bin ? bin : "build/dev/bin") + "/curvex";
    const std::string command = "cd '" + folder.path() + "' && '" + program + "' render " +
                                arguments + " >/dev/null 2>stderr.txt";
    RenderRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readBytes(folder.file("stderr.txt"));
    return run;
}

// Tool 1 cuts from x 0 to 10 and 20; tool 2 cuts on to 30 with more removal.
const char* const kText = "T1\nN1)G01X0Y0Z0F600(A0.5)F600\nN2)G01X10(A1)F600\nN3)G01X20(A0.5)F600\n"
                          "T2\nN4)G01X30(A2)F600\n";

bool anyBlack(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 0))
                return true;
    return false;
}

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(folder.file("cut.txt"), kText); }
    QImage output() const { return QImage(QString::fromStdString(folder.file("out.png"))); }
    TempFolder folder;
};

TEST_F(RenderCommand, WritesTheChartAtTheGivenSize) {
    struct Case {
        const char* options;
        QSize size;
    };
    const Case cases[] = {{"", {1000, 600}}, {"--size 320x200", {320, 200}}};
    for (const Case& c : cases) {
        const RenderRun run = render(folder, std::string(c.options) + " -o out.png cut.txt");
        ASSERT_EQ(run.status, 0) << c.options << run.err;
        const QImage image = output();
        EXPECT_EQ(image.size(), c.size) << c.options;
    }
    // At 1000 x 600 the axes cross at (63, 537); without a break the axis is unbroken.
    const RenderRun run = render(folder, "-o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage image = output();
    EXPECT_EQ(image.pixel(63, 300), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(115, 537), qRgb(0, 0, 0));
}

TEST_F(RenderCommand, OptionsReachTheChart) {
    // --range 10 90 starts the axis with the break: a hole at 113..120.
    RenderRun run = render(folder, "--func 2 --dist 1 --g00 6000 --range 10 90 -o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(output().pixel(115, 537), qRgb(255, 255, 255));

    // The titles come from --ini only; the file gets the default titles written into it.
    const QRect xTitleArea(300, 572, 400, 27);
    run = render(folder, "-o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(anyBlack(output(), xTitleArea));
    run = render(folder, "--ini Plotwell.ini -o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(anyBlack(output(), xTitleArea));
    EXPECT_NE(readBytes(folder.file("Plotwell.ini")).find("TavixAxisX1=Cutting Movement Distance"),
              std::string::npos);
}

// --frames times the renders of a sliding window and needs no output file; with one it saves the
// last frame.
TEST_F(RenderCommand, FramesReportTheirTimes) {
    RenderRun run = render(folder, "--frames 5 --range 40 41 cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("frames: 5  median ms: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("  max ms: "), std::string::npos) << run.err;
    run = render(folder, "--frames 2 --size 320x200 -o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(output().size(), QSize(320, 200));
}

TEST_F(RenderCommand, FailuresGiveStatusAndMessage) {
    ::mkdir(folder.file("folder.png").c_str(), 0700);
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"cut.txt", 2, "-o OUT.png"},
        {"-o out.png", 2, "exactly one file"},
        {"--size 0x10 -o out.png cut.txt", 2, "--size"},
        {"--size 100 -o out.png cut.txt", 2, "--size"},
        {"--func 3 -o out.png cut.txt", 2, "--func"},
        {"--dist x -o out.png cut.txt", 2, "--dist"},
        {"--range 10 -o out.png cut.txt", 2, "--range"},
        {"--g00 fast -o out.png cut.txt", 2, "--g00"},
        {"--frames 0 cut.txt", 2, "--frames"},
        {"--frames many -o out.png cut.txt", 2, "--frames"},
        {"--colour 3 -o out.png cut.txt", 2, "unknown option"},
        {"-o out.png missing.txt", 1, "cannot load"},
        {"-o nowhere/out.png cut.txt", 3, "cannot write"},
        {"-o folder.png cut.txt", 3, "cannot write"},
    };
    for (const Case& c : cases) {
        const RenderRun run = render(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    }
}

} // namespace
