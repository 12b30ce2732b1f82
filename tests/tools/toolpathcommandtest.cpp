#include "../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built `curvex` with `arguments` in `folder`.
CommandRun curvex(const TempFolder& folder, const std::string& arguments) {
    const char* bin = std::getenv("PLOTWELL_BIN");
    const std::string program = std::string(bin ? bin : "build/dev/bin") + "/curvex";
    const std::string command = "cd '" + folder.path() + "' && '" + program + "' " + arguments +
                                " >stdout.txt 2>stderr.txt";
    CommandRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(folder.file("stdout.txt"));
    run.err = readBytes(folder.file("stderr.txt"));
    return run;
}

// Tool 1 around x 0..40, y 0..20 mm, then tool 2 on to x 60 with a G00 move back.
const char* const kText = "T1\nN1)G01X0Y0Z0F600(A1)F600\nN2)G01X40F600(A1)F600\n"
                          "N3)G01Y20F600(A1)F600\nN4)G01X0F600(A1)F600\nN5)G01Y0F600(A1)F600\n"
                          "T2\nN6)G01X60F600(A2)F600\nN7)G00X0Y20\n";

// The top view of kText at 200 x 100: box x 0..60, y 0..20, m = 5, s = min(190 / 60, 90 / 20).
constexpr double kScale = 190.0 / 60.0;
int px(double x) {
    return static_cast<int>(std::floor(100.0 + (x - 30.0) * kScale));
}
int py(double y) {
    return static_cast<int>(std::floor(50.0 - (y - 10.0) * kScale));
}

class ToolpathCommand : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(folder.file("cut.txt"), kText); }
    QImage output() const { return QImage(QString::fromStdString(folder.file("out.png"))); }
    TempFolder folder;
};

TEST_F(ToolpathCommand, drawsTheFittedViewInTheChartsColours) {
    CommandRun run = curvex(folder, "toolpath --view top --size 200x100 -o out.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    QImage image = output();
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(px(20), py(20)), qRgb(0, 255, 0));  // tool 1, curve colour 0
    EXPECT_EQ(image.pixel(px(50), py(0)), qRgb(0, 255, 255)); // tool 2, curve colour 1
    // Records 1 to 5 outside the range: three parts of white.
    run = curvex(folder, "toolpath --view top --size 200x100 --dist 2 --range 80 100 -o out.png "
                         "cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    image = output();
    EXPECT_EQ(image.pixel(px(20), py(20)), qRgb(191, 255, 191));
    EXPECT_EQ(image.pixel(px(50), py(0)), qRgb(0, 255, 255));
}

TEST_F(ToolpathCommand, writesVectorFormatsAndReportsFrames) {
    CommandRun run = curvex(folder, "toolpath --colour removal -o out.svg cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(readBytes(folder.file("out.svg")).find("<svg"), std::string::npos);
    run = curvex(folder, "toolpath --view front -o out.pdf cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(folder.file("out.pdf")).substr(0, 4), "%PDF");
    for (const char* detail :
         {"", "--detail full ", "--detail draft ", "--view top --detail draft "}) {
        run = curvex(folder, std::string("toolpath ") + detail + "--frames 4 cut.txt");
        ASSERT_EQ(run.status, 0) << detail << run.err;
        EXPECT_NE(run.err.find("frames: 4  median ms: "), std::string::npos) << detail << run.err;
    }
    // A path of few records: its draft is every segment.
    run = curvex(folder, "toolpath --detail draft -o draft.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    run = curvex(folder, "toolpath -o full.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(folder.file("draft.png")), readBytes(folder.file("full.png")));
}

// kText with block line k written 1 + repeats[k] times: each repeat a segment of no length.
std::string withRepeats(const std::vector<int>& repeats) {
    std::string text;
    std::size_t from = 0;
    std::size_t block = 0;
    const std::string source = kText;
    while (from < source.size()) {
        const std::size_t end = source.find('\n', from) + 1;
        const std::string line = source.substr(from, end - from);
        text += line;
        if (line.front() == 'N' && block < repeats.size())
            for (int k = 0; k < repeats[block]; ++k)
                text += line;
        block += line.front() == 'N' ? 1 : 0;
        from = end;
    }
    return text;
}

// The pictures never say how many segments are left out; standard error notes it when some are,
// and the exit status stays 0.
TEST_F(ToolpathCommand, notesTheSegmentsLeftOutOnStandardErrorNotInThePicture) {
    CommandRun run = curvex(folder, "toolpath --view top --size 200x100 -o whole.png cut.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("left out"), std::string::npos) << run.err;
    const QImage whole(QString::fromStdString(folder.file("whole.png")));
    const struct {
        const char* name;
        std::vector<int> repeats;
    } cases[] = {
        {"none", {}},
        {"one block twice", {0, 1}},
        {"blocks of both tools", {0, 2, 0, 0, 0, 3, 1}},
    };
    for (const auto& c : cases) {
        int leftOut = 0;
        for (const int r : c.repeats)
            leftOut += r;
        writeBytes(folder.file("repeats.txt"), withRepeats(c.repeats));
        // The note, or no note at all.
        const std::string note =
            leftOut > 0 ? "curvex: segments left out: " + std::to_string(leftOut) + "\n"
                        : "left out";
        const std::size_t noted = leftOut > 0 ? 1 : 0;
        const auto notes = [&](const std::string& err) {
            std::size_t n = 0;
            for (std::size_t at = err.find(note); at != std::string::npos;
                 at = err.find(note, at + 1))
                ++n;
            return n;
        };
        run = curvex(folder, "toolpath --view top --size 200x100 -o out.png repeats.txt");
        EXPECT_EQ(run.status, 0) << c.name;
        EXPECT_EQ(notes(run.err), noted) << c.name << ": " << run.err;
        EXPECT_EQ(output(), whole) << c.name;
        run = curvex(folder, "toolpath --view top --size 200x100 -o out.svg repeats.txt");
        EXPECT_EQ(run.status, 0) << c.name;
        EXPECT_EQ(notes(run.err), noted) << c.name << ": " << run.err;
        EXPECT_EQ(readBytes(folder.file("out.svg")).find("left out"), std::string::npos) << c.name;
    }
}

TEST_F(ToolpathCommand, picksTheNearestSegmentAsPickPrintsIt) {
    struct Case {
        int x, y;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {px(20), py(20) + 3, 0, "3,4,1,1,0,20,0,600,600,1,1,1\n"},
        {px(50), py(0) - 2, 0, "5,6,2,1,60,0,0,600,600,1,2,2\n"},
        // The G00 move back lies over nothing else; 8 pixels off still picks it.
        {px(30), py(10) + 8, 0, "6,7,2,0,0,20,0,600,600,1,2,2\n"},
        {px(30), py(10) + 20, 1, ""},
    };
    for (const Case& c : cases) {
        const CommandRun run =
            curvex(folder, "toolpath-pick --view top --size 200x100 --at " + std::to_string(c.x) +
                               " " + std::to_string(c.y) + " cut.txt");
        EXPECT_EQ(run.status, c.status) << c.x << "," << c.y << run.err;
        EXPECT_EQ(run.out, c.out) << c.x << "," << c.y;
    }
}

// The pick's last column is the value of the series the path is coloured by: the removal, or the
// removal per second at the programmed or at the optimised feed; the chart's colours show the
// removal.
TEST_F(ToolpathCommand, pickPrintsTheValueOfTheColouredSeries) {
    writeBytes(folder.file("feeds.txt"), "T1\nN1)G01X0Y0Z0F600(A2)F900\nN2)G01X40F600(A2)F900\n");
    const struct {
        const char* colour;
        double value;
    } cases[] = {{"", 2},
                 {"--colour chart ", 2},
                 {"--colour removal ", 2},
                 {"--colour rate-org ", 2 * 600 / 60.0},
                 {"--colour rate-opt ", 2 * 900 / 60.0}};
    for (const auto& c : cases) {
        // Box x 0..40 in the top view of 200 x 100: the segment's middle is at the centre.
        const CommandRun run =
            curvex(folder, std::string("toolpath-pick --view top --size 200x100 ") + c.colour +
                               "--at 100 50 feeds.txt");
        EXPECT_EQ(run.status, 0) << c.colour << run.err;
        const std::string fields = "1,2,1,1,40,0,0,600,900,1,2,";
        ASSERT_EQ(run.out.substr(0, fields.size()), fields) << c.colour << run.out;
        EXPECT_NEAR(std::stod(run.out.substr(fields.size())), c.value, 1e-5) << c.colour;
    }
}

TEST_F(ToolpathCommand, failuresGiveStatusAndMessage) {
    ::mkdir(folder.file("folder.png").c_str(), 0700);
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"toolpath --view side -o out.png cut.txt", 2, "--view needs top, front, right or iso"},
        {"toolpath --colour feed -o out.png cut.txt", 2, "--colour needs chart, removal"},
        {"toolpath --detail half --frames 2 cut.txt", 2, "--detail needs draft or full"},
        {"toolpath cut.txt", 2, "give the output file"},
        {"toolpath -o out.gif cut.txt", 2, "must end in .png, .svg or .pdf"},
        {"toolpath -o out.png none.txt", 1, "none.txt"},
        {"toolpath -o folder.png cut.txt", 3, "cannot write folder.png"},
        {"toolpath-pick --at 5 cut.txt", 2, "--at needs two numbers"},
        {"toolpath-pick --at 5 y cut.txt", 2, "--at needs a number, not 'y'"},
        {"toolpath-pick --at x 5 cut.txt", 2, "--at needs a number, not 'x'"},
        {"toolpath-pick --at 1e39 5 cut.txt", 2, "--at '1e39' is too large (at most 3.4e38)"},
        {"toolpath-pick cut.txt", 2, "give the pixel with --at"},
    };
    for (const Case& c : cases) {
        const CommandRun run = curvex(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    }
}

// A file name that is no UTF-8 is written byte for byte by both picture commands.
TEST_F(ToolpathCommand, picturesKeepEveryByteOfTheFileName) {
    for (const char* command : {"toolpath", "render"}) {
        for (const char* ending : {".png", ".svg", ".pdf"}) {
            const std::string name = std::string("pic-\xff\xe9") + ending;
            const std::string arguments = std::string(command) + " -o '" + name + "' cut.txt";
            const CommandRun run = curvex(folder, arguments);
            EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
            struct stat status {};
            EXPECT_EQ(::stat(folder.file(name).c_str(), &status), 0) << arguments;
            EXPECT_GT(status.st_size, 0) << arguments;
            ::unlink(folder.file(name).c_str());
        }
    }
}

// A path of more segments than a draft draws: --detail draft draws fewer of them, --detail full
// and no --detail every one.
TEST_F(ToolpathCommand, detailChoosesTheDraftOnlyWhenAskedFor) {
    CommandRun run = curvex(folder, "synth --paths part --blocks 450000 --binary -o big.bin");
    ASSERT_EQ(run.status, 0) << run.err;
    const struct {
        const char* detail;
        const char* file;
    } cases[] = {
        {"--detail draft ", "draft.png"}, {"--detail full ", "full.png"}, {"", "plain.png"}};
    for (const auto& c : cases) {
        run = curvex(folder, std::string("toolpath --size 400x300 ") + c.detail + "-o " + c.file +
                                 " big.bin");
        ASSERT_EQ(run.status, 0) << c.detail << run.err;
    }
    const std::string full = readBytes(folder.file("full.png"));
    EXPECT_FALSE(full.empty());
    EXPECT_NE(readBytes(folder.file("draft.png")), full);
    EXPECT_EQ(readBytes(folder.file("plain.png")), full);
}

} // namespace
