// A program read in pieces, against lines split in memory here: a line ends at "\n", a "\r"
// before that is no part of it, a last line without a line end counts. Lines are made to end,
// and "\r\n" to straddle, the borders of the pieces the file is read in.
#include "programfile.h"
#include "../../platform/tempfolder.h"
#include "blocknumber.h"
#include "programnumbers.h"
#include "recordlines.h"
#include "recordlinesjob.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// The lines of `bytes`, split one byte at a time.
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (const char c : bytes) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

struct Program {
    const char* name;
    std::string bytes;
};

std::vector<Program> programs() {
    const std::string piece(kMiB, 'a');
    return {
        {"empty", ""},
        {"one line without an end", "N1 G00"},
        {"line ends of both kinds", "N1 G00\r\nN2 G01\n\nN3\r\n"},
        {"a carriage return inside a line and at the end", "N1 X\rY\nN2\r"},
        {"NUL bytes", std::string("N1 \0 X\n\0\n", 9)},
        {"CR at a piece's end, LF at the next one's start", piece.substr(1) + "\r\nN2 G01\n"},
        {"LF at a piece's end", piece.substr(1) + "\nN2\n"},
        {"LF at a piece's start", piece + "\nN2"},
        {"a line over three pieces", "N7 " + std::string(3 * kMiB, 'X') + "\r\nN8\n"},
        {"many short lines across pieces",
         [] {
             std::string bytes;
             for (int n = 1; bytes.size() < 3 * kMiB; ++n)
                 bytes += "N" + std::to_string(n) + (n % 3 ? " G01\n" : " G00\r\n");
             return bytes;
         }()},
        {"blanks beyond the searched bytes before N", std::string(5000, ' ') + "N5\n"},
    };
}

class ProgramFileTest : public ::testing::Test {
protected:
    std::string write(const std::string& bytes) {
        const std::string path = folder.file("p.nc");
        writeBytes(path, bytes);
        return path;
    }
    TempFolder folder;
};

TEST_F(ProgramFileTest, LinesAreThoseSplitInMemory) {
    for (const Program& p : programs()) {
        const std::vector<std::string> expected = linesOf(p.bytes);
        ProgramFile file;
        int error = -7;
        ASSERT_TRUE(ProgramFile::read(write(p.bytes), file, error)) << p.name;
        ASSERT_EQ(file.lineCount(), expected.size()) << p.name;
        EXPECT_EQ(file.bytes(), p.bytes.size()) << p.name;
        bool numbered = false;
        for (std::size_t n = 1; n <= expected.size(); ++n) {
            const std::string& line = expected[n - 1];
            EXPECT_EQ(file.lineLength(n), line.size()) << p.name << " line " << n;
            EXPECT_EQ(file.head(n, 10), line.substr(0, 10)) << p.name << " line " << n;
            EXPECT_EQ(file.head(n, 5 * kMiB), line) << p.name << " line " << n;
            numbered = numbered || BlockNumberOf(line.substr(0, kBlockNumberBytes));
        }
        EXPECT_EQ(file.numbered(), numbered) << p.name;
        EXPECT_EQ(file.lineLength(expected.size() + 1), 0u) << p.name;
        EXPECT_EQ(file.head(expected.size() + 1, 10), "") << p.name;
        EXPECT_EQ(file.head(0, 10), "") << p.name;
    }
}

// A scan from any line hands on the lines from there with their numbers, places and first
// bytes, and stops when told to.
TEST_F(ProgramFileTest, AScanFromALineGivesTheLinesFromThere) {
    for (const Program& p : programs()) {
        const std::vector<std::string> expected = linesOf(p.bytes);
        ProgramFile file;
        int error = 0;
        ASSERT_TRUE(ProgramFile::read(write(p.bytes), file, error)) << p.name;
        for (std::size_t from = 1; from <= expected.size(); from += 1 + expected.size() / 5) {
            std::size_t next = from;
            std::uint64_t start = 0;
            for (std::size_t n = 1; n < from; ++n)
                start = p.bytes.find('\n', start) + 1;
            const int status = file.scanFrom(from, 6, [&](const ScannedLine& line) {
                EXPECT_EQ(line.number, next) << p.name;
                EXPECT_EQ(line.start, start) << p.name << " line " << next;
                EXPECT_EQ(line.length, expected[next - 1].size()) << p.name << " line " << next;
                EXPECT_EQ(line.head, expected[next - 1].substr(0, 6)) << p.name << " line " << next;
                start = p.bytes.find('\n', start) + 1;
                return ++next < from + 3;
            });
            EXPECT_EQ(status, 0) << p.name;
            EXPECT_EQ(next, std::min(from + 3, expected.size() + 1)) << p.name << " from " << from;
        }
    }
}

// Lines of a file cut short after it was indexed read as what is left: none past its new end.
TEST_F(ProgramFileTest, AFileCutShortGivesWhatIsLeft) {
    const std::string path = write("N1 G00 X1\nN2 G01 X2\nN3 G01 X3\n");
    ProgramFile file;
    int error = 0;
    ASSERT_TRUE(ProgramFile::read(path, file, error));
    ASSERT_EQ(::truncate(path.c_str(), 12), 0);
    EXPECT_EQ(file.head(1, 100), "N1 G00 X1");
    EXPECT_EQ(file.head(3, 100), "");
    std::vector<std::uint64_t> scanned;
    EXPECT_EQ(file.scanFrom(1, 100,
                            [&](const ScannedLine& line) {
                                scanned.push_back(line.number);
                                return true;
                            }),
              0);
    EXPECT_LE(scanned.size(), 1u);
}

TEST_F(ProgramFileTest, WhatCannotBeReadSaysWhy) {
    ProgramFile file;
    int error = 0;
    EXPECT_FALSE(ProgramFile::read(folder.file("missing.nc"), file, error));
    EXPECT_EQ(ProgramText::reasonOf(error), "No such file or directory");
    EXPECT_FALSE(ProgramFile::read("/dev/zero", file, error));
    EXPECT_EQ(ProgramText::reasonOf(error), "not a regular file");
    ProgramNumbers numbers;
    EXPECT_FALSE(ProgramNumbers::read("/dev/zero", numbers, error));
    EXPECT_EQ(ProgramText::reasonOf(error), "not a regular file");
}

// A reading of a file far too large to read (a sparse terabyte) ends once asked to, as does a
// mapping job that is let go; without that, neither would end for hours.
TEST_F(ProgramFileTest, AReadingEndsWhenAsked) {
    const std::string path = write("N1 G00\n");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 40);
    std::atomic<bool> stop{false};
    ProgramFile file;
    int error = 0;
    bool read = true;
    std::thread reader([&] { read = ProgramFile::read(path, file, error, &stop); });
    stop = true;
    reader.join();
    EXPECT_FALSE(read);
    EXPECT_EQ(error, ECANCELED);
    EXPECT_EQ(file.lineCount(), 0u);

    std::atomic<bool> finished{false};
    {
        RecordLinesJob job(path, {1, 2, 3}, [&] { finished = true; });
    }
    EXPECT_TRUE(finished);
}

// The block numbers read from the file map records to the lines that the whole text in memory
// maps them to.
TEST_F(ProgramFileTest, NumbersReadInPiecesMapAsTheWholeText) {
    std::vector<std::int32_t> blockNos;
    for (std::int32_t n = 1; n < 40000; ++n)
        blockNos.push_back(n % 7 == 0 ? n / 2 : n);
    for (const Program& p : programs()) {
        ProgramNumbers numbers;
        int error = 0;
        ASSERT_TRUE(ProgramNumbers::read(write(p.bytes), numbers, error)) << p.name;
        EXPECT_EQ(numbers.lineCount(), linesOf(p.bytes).size()) << p.name;
        const RecordLines fromFile(std::move(numbers), blockNos);
        const RecordLines inMemory(ProgramText::of(p.bytes), blockNos);
        for (std::uint32_t record = 0; record < blockNos.size(); ++record)
            ASSERT_EQ(fromFile.lineOf(record), inMemory.lineOf(record)) << p.name << " " << record;
    }
}

} // namespace
