#include "../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct RenderRun {
    int status = -1;
    std::string err;
};

// Runs the built `curvex render` with `arguments` in `folder`, after the shell commands `setUp`.
RenderRun render(const TempFolder& folder, const std::string& arguments,
                 const std::string& setUp = "true") {
    const char* bin = std::getenv("PLOTWELL_BIN");
    const std::string program = std::string(bin ? bin : "build/dev/bin") + "/curvex";
    const std::string command = "cd '" + folder.path() + "' && " + setUp + " && '" + program +
                                "' render " + arguments + " >stdout.bin 2>stderr.txt";
    RenderRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readBytes(folder.file("stderr.txt"));
    return run;
}

// Tool 1 cuts from x 0 to 10 and 20; tool 2 cuts on to 30 with more removal.
const char* const kText = "T1\nN1)G01X0Y0Z0F600(A0.5)F600\nN2)G01X10(A1)F600\nN3)G01X20(A0.5)F600\n"
                          "T2\nN4)G01X30(A2)F600\n";

bool anyPixel(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

bool anyBlack(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 0))
                return true;
    return false;
}

int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
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
    // The smallest sides are sizes too.
    const Case cases[] = {{"", {1000, 600}},
                          {"--size 320x200", {320, 200}},
                          {"--size 1x40", {1, 40}},
                          {"--size 40x1", {40, 1}}};
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

// The views a user switches on: the grey of the compare charts, tool 2 in blue (colour 2) by tool
// number instead of cyan (the second colour), the legend inside the plot area, and fit height
// with its own MAX label.
TEST_F(RenderCommand, TheSwitchedOnViewsReachTheChart) {
    const auto rendered = [&](const std::string& options) {
        const RenderRun run = render(folder, options + " -o out.png cut.txt");
        EXPECT_EQ(run.status, 0) << options << run.err;
        return output();
    };
    const QImage plain = rendered("");
    const QRgb grey = qRgb(128, 128, 128);
    writeBytes(folder.file("cmp.txt"),
               "N1)G01X10F600(A1)F1200\nN2)G01X50F900(A3)F300\nN3)G01X100F400(A2)F800\n");
    for (const char* compare : {"rates", "feeds"}) {
        const RenderRun run =
            render(folder, std::string("--compare ") + compare + " -o out.png cmp.txt");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_GT(countPixels(output(), grey), countPixels(plain, grey) + 100) << compare;
    }
    EXPECT_FALSE(anyPixel(plain, qRgb(0, 0, 255)));
    EXPECT_TRUE(anyPixel(rendered("--colour-by tool"), qRgb(0, 0, 255)));
    EXPECT_NE(rendered("--legend"), plain);
    // Removal 1 up to x 10, 8 at x 100: fit height over 0..12 % ends the scale at 1.
    writeBytes(folder.file("cut.txt"), "N1)G01X10F600(A1)F600\nN2)G01X100F600(A8)F600\n");
    EXPECT_NE(rendered("--fit-height --range 0 12").copy(0, 0, 300, 40),
              rendered("--range 0 12").copy(0, 0, 300, 40));
    const RenderRun run = render(folder, "--compare feeds --ini Plotwell.ini -o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(readBytes(folder.file("Plotwell.ini")).find("[Extra Text]"), std::string::npos);
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
    // Over the whole range the window has no room to slide: every frame is the whole chart.
    run = render(folder, "--size 320x200 -o whole.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(output(), QImage(QString::fromStdString(folder.file("whole.png"))));
}

TEST_F(RenderCommand, FailuresGiveStatusAndMessage) {
    ::mkdir(folder.file("folder.png").c_str(), 0700);
    ::mkdir(folder.file("folder.pdf").c_str(), 0700);
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
        {"--compare both -o out.png cut.txt", 2, "--compare needs rates, feeds or change"},
        {"--colour-by colour -o out.png cut.txt", 2, "--colour-by needs tool"},
        {"-o out.png cut.txt --compare", 2, "--compare needs a value"},
        {"-o out.jpg cut.txt", 2, ".png, .svg or .pdf"},
        {"-o out cut.txt", 2, ".png, .svg or .pdf"},
        {"-o out.svg.txt cut.txt", 2, ".png, .svg or .pdf"},
        {"-o out.png missing.txt", 1, "cannot load"},
        {"-o nowhere/out.svg cut.txt", 3, "cannot write"},
        {"-o folder.pdf cut.txt", 3, "cannot write"},
        {"-o nowhere/out.png cut.txt", 3, "cannot write"},
        {"-o folder.png cut.txt", 3, "cannot write"},
    };
    for (const Case& c : cases) {
        const RenderRun run = render(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    }
    for (const char* name : {"out.jpg", "out", "out.svg.txt"})
        EXPECT_FALSE(std::filesystem::exists(folder.file(name))) << name;
}

TEST_F(RenderCommand, TheEndingOfTheOutputPicksTheFormat) {
    struct Case {
        const char* output;
        const char* file;
        std::string_view start;
    };
    const Case cases[] = {
        {"out.png", "out.png", "\x89PNG\r\n"}, {"OUT.PNG", "OUT.PNG", "\x89PNG\r\n"},
        {"out.svg", "out.svg", "<?xml"},       {"Out.Svg", "Out.Svg", "<?xml"},
        {"out.pdf", "out.pdf", "%PDF-"},       {"OUT.PDF", "OUT.PDF", "%PDF-"},
        {"-", "stdout.bin", "\x89PNG\r\n"},
    };
    for (const Case& c : cases) {
        const RenderRun run = render(folder, std::string("-o ") + c.output + " cut.txt");
        ASSERT_EQ(run.status, 0) << c.output << ": " << run.err;
        const std::string bytes = readBytes(folder.file(c.file));
        EXPECT_EQ(bytes.substr(0, c.start.size()), c.start) << c.output;
    }
    const std::string svg = readBytes(folder.file("out.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find(">MAX: 0.5</text>"), std::string::npos) << "the maximum label as text";
    const QImage piped =
        QImage::fromData(QByteArray::fromStdString(readBytes(folder.file("stdout.bin"))), "PNG");
    EXPECT_EQ(piped, QImage(QString::fromStdString(folder.file("out.png"))));
}

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// An output replaces its file in one step: a new file renamed over the old one, so another hard
// link keeps the old contents, a symbolic link keeps pointing at the file it names, and a write
// that fails (here past the file-size limit, 512 bytes, with SIGXFSZ ignored) leaves the old
// file as it was and no temporary file.
TEST_F(RenderCommand, OutputsReplaceTheirFileInOneStep) {
    struct Case {
        const char* ending;
        std::string_view start;
    };
    const Case cases[] = {{".png", "\x89PNG\r\n"}, {".svg", "<?xml"}, {".pdf", "%PDF-"}};
    for (const Case& c : cases) {
        const std::string out = std::string("out") + c.ending;
        const std::string real = std::string("real") + c.ending;
        const std::string link = std::string("link") + c.ending;
        writeBytes(folder.file(out), "old");
        writeBytes(folder.file(real), "old");
        ASSERT_EQ(::link(folder.file(out).c_str(), folder.file("hard").c_str()), 0);
        ASSERT_EQ(::symlink(real.c_str(), folder.file(link).c_str()), 0);
        const ino_t oldInode = inodeOf(folder.file(out));

        RenderRun run = render(folder, "-o " + out + " cut.txt");
        ASSERT_EQ(run.status, 0) << c.ending << run.err;
        EXPECT_EQ(readBytes(folder.file(out)).substr(0, c.start.size()), c.start) << c.ending;
        EXPECT_NE(inodeOf(folder.file(out)), oldInode) << c.ending;
        EXPECT_EQ(readBytes(folder.file("hard")).substr(0, 16), "old") << c.ending;

        run = render(folder, "-o " + link + " cut.txt");
        ASSERT_EQ(run.status, 0) << c.ending << run.err;
        EXPECT_TRUE(std::filesystem::is_symlink(folder.file(link))) << c.ending;
        EXPECT_EQ(readBytes(folder.file(real)).substr(0, c.start.size()), c.start) << c.ending;

        writeBytes(folder.file(out), "old");
        run = render(folder, "-o " + out + " cut.txt", "ulimit -f 1 && trap '' XFSZ");
        EXPECT_EQ(run.status, 3) << c.ending;
        EXPECT_NE(run.err.find("cannot write " + out + ": File too large"), std::string::npos)
            << run.err;
        EXPECT_EQ(readBytes(folder.file(out)).substr(0, 16), "old") << c.ending;
        EXPECT_EQ(hiddenFiles(folder), std::vector<std::string>()) << c.ending;
        ::unlink(folder.file("hard").c_str());
    }
    // Standard output on a full device.
    ::unlink(folder.file("stdout.bin").c_str());
    ASSERT_EQ(::symlink("/dev/full", folder.file("stdout.bin").c_str()), 0);
    const RenderRun run = render(folder, "-o - cut.txt");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("cannot write to standard output: No space left on device"),
              std::string::npos)
        << run.err;
}

TEST_F(RenderCommand, TheSettingsFileGivesTheDrawingColours) {
    // Tool 1 draws in colour 0, tool 2 in colour 1: green and cyan by default.
    RenderRun run = render(folder, "-o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(anyPixel(output(), qRgb(0, 255, 0)));
    EXPECT_TRUE(anyPixel(output(), qRgb(0, 255, 255)));

    writeBytes(folder.file("Plotwell.ini"), "[Property]\nDrawing Color 0=255\n"
                                            "Drawing Color 1= 16711680 \nDrawing Color 2=pink\n");
    run = render(folder, "--ini Plotwell.ini -o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(anyPixel(output(), qRgb(255, 0, 0)));
    EXPECT_TRUE(anyPixel(output(), qRgb(0, 0, 255)));
    EXPECT_FALSE(anyPixel(output(), qRgb(0, 255, 0)));
    EXPECT_FALSE(anyPixel(output(), qRgb(0, 255, 255)));

    run = render(folder, "--ini Plotwell.ini -o out.svg cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = readBytes(folder.file("out.svg"));
    EXPECT_NE(svg.find("stroke=\"#ff0000\""), std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#0000ff\""), std::string::npos);
}

} // namespace
