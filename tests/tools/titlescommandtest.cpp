#include "../platform/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct CurvexRun {
    int status;
    std::string output; // standard output and standard error
};

CurvexRun runCurvex(const std::string& arguments) {
    const std::string command = std::string(CURVEX_PROGRAM) + " " + arguments + " 2>&1";
    CurvexRun run{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char chunk[4096];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
        run.output.append(chunk, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CurvexTitles, PrintsAllSlotsAndWritesBackDefaults) {
    TempFolder folder;
    const std::string ini = folder.file("Plotwell.ini");
    writeBytes(ini, "[Text]\r\nTavixAxisY2=\r\nTavixAxisX16=Last\r\n");
    const CurvexRun run = runCurvex("titles " + ini);
    ASSERT_EQ(run.status, 0) << run.output;

    std::string expected = "X1=Cutting Movement Distance [mm]\nX2=Cutting Movement Distance "
                           "[mm]\nX3=Seqence Block Number\n";
    for (int n = 4; n <= 15; ++n) {
        expected.append("X").append(std::to_string(n)).append("=\n");
    }
    expected += "X16=Last\nY1=Amount of Cutting Removal [mm3/mm]\n"
                "Y2=Removal per Sec with OrgFeed [mm3/sec]\n"
                "Y3=Removal per Sec with OptFeed [mm3/sec]\n";
    for (int n = 4; n <= 16; ++n) {
        expected.append("Y").append(std::to_string(n)).append("=\n");
    }
    EXPECT_EQ(run.output, expected);
    const std::string head = "[Text]\r\nTavixAxisY2=Removal per Sec with OrgFeed [mm3/sec]\r\n";
    EXPECT_EQ(readBytes(ini).substr(0, head.size()), head);
    EXPECT_NE(readBytes(ini).find("TavixAxisX3=Seqence Block Number\r\n"), std::string::npos);
}

TEST(CurvexTitles, WrongUsageAndRejectedPath) {
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"titles", 2, "usage: curvex titles INI"},
        {"titles a.ini b.ini", 2, "usage: curvex titles INI"},
        {"titles --text a.ini", 2, "usage: curvex titles INI"},
        {"titles " + std::string(1024, 'n'), 1, "1024 characters"},
    };
    for (const auto& c : cases) {
        const CurvexRun run = runCurvex(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
}

} // namespace
