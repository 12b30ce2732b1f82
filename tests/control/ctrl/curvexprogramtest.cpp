// The generator first: its emit() is no Qt keyword.
#include "cutsynthesizer.h"
#include "ncprogramwriter.h"
#include "textcutwriter.h"

#include "curvexhostsupport.h"
#include "cutloader.h"
#include "shownpeaks.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace curvextest;
using component::InvokeKind;
using component::InvokeResult;

namespace {

template <typename Writer> void writeGenerated(const QString& path, std::uint64_t seed) {
    Writer writer;
    CutSynthesizer(seed).generate(3000, writer);
    std::ofstream(path.toStdString(), std::ios::binary) << writer.contents();
}

// Generated data and its NC program in a folder of their own; the control loads the data.
class CurvexProgramTest : public CurvexHostTest {
protected:
    void SetUp() override {
        CurvexHostTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        writeGenerated<TextCutWriter>(dataPath(3), 3);
        writeGenerated<NcProgramWriter>(programPath(3), 3);
        ASSERT_TRUE(loadData(3));
    }

    QString dataPath(std::uint64_t seed) const {
        return folder.filePath(QStringLiteral("part%1.txt").arg(seed));
    }
    QString programPath(std::uint64_t seed) const {
        return folder.filePath(QStringLiteral("part%1.nc").arg(seed));
    }
    // Loads the program and waits until the control says it is mapped to the data.
    bool loadProgram(const QString& path) {
        const int before = sink.count(curvex::EventNcProgramRead);
        return call(curvex::DispLoadNcProgram, {path}).toBool() && waitForMap(before);
    }
    bool waitForMap(int before) {
        return waitFor([&] { return sink.count(curvex::EventNcProgramRead) > before; });
    }
    bool loadData(std::uint64_t seed) {
        data = CutDataSet();
        LoadCutFile(dataPath(seed).toStdString(), CutFormat::Text, data);
        return call(5, {dataPath(seed), 1}).toBool();
    }
    std::string lineText(std::uint64_t seed, int line) const {
        std::ifstream in(programPath(seed).toStdString());
        std::string text;
        for (int n = 0; n < line && std::getline(in, text);)
            ++n;
        return text;
    }

    // The line of program 3 that has block number n.
    int lineOfBlock(int n) const {
        std::ifstream in(programPath(3).toStdString());
        const std::string head = "N" + std::to_string(n) + " ";
        int line = 1;
        for (std::string text; std::getline(in, text); ++line) {
            if (text.rfind(head, 0) == 0)
                return line;
        }
        return 0;
    }

    QTemporaryDir folder;
    CutDataSet data; // as the control loaded it
};

TEST_F(CurvexProgramTest, WithoutAProgramNothingHasALine) {
    EXPECT_EQ(call(curvex::DispGetNcProgramFile).toString(), QString());
    EXPECT_EQ(call(curvex::DispGetNcLineCount).toInt(), 0);
    EXPECT_EQ(call(curvex::DispGetRecordLine, {5}).toInt(), 0);
    EXPECT_EQ(call(curvex::DispGetLineRecord, {5, 0}).toInt(), -1);
    EXPECT_FALSE(call(curvex::DispLoadNcProgram, {folder.filePath("none.nc")}).toBool());
    EXPECT_FALSE(call(curvex::DispLoadNcProgram, {folder.path()}).toBool());
    const QVariantList peaks = call(curvex::DispGetPeaks).toList();
    ASSERT_EQ(peaks.size(), 20);
    EXPECT_EQ(peaks[0].toList()[curvex::PeakLine].toInt(), 0);
}

// Until the program is mapped, the control answers as without one; the event tells when it is.
TEST_F(CurvexProgramTest, AnswersComeOnceTheProgramIsMapped) {
    ASSERT_TRUE(call(curvex::DispLoadNcProgram, {programPath(3)}).toBool());
    if (sink.count(curvex::EventNcProgramRead) == 0) {
        EXPECT_EQ(call(curvex::DispGetRecordLine, {4}).toInt(), 0);
        EXPECT_EQ(call(curvex::DispGetNcLineCount).toInt(), 0);
    }
    ASSERT_TRUE(waitForMap(0));
    EXPECT_EQ(sink.count(curvex::EventNcProgramRead), 1);
    EXPECT_GT(call(curvex::DispGetNcLineCount).toInt(), 3000);
    EXPECT_EQ(call(curvex::DispGetRecordLine, {4}).toInt(), lineOfBlock(data.records[4].blockNo));
    // A program replaced before its map was made: only the last one's map is told of.
    ASSERT_TRUE(call(curvex::DispLoadNcProgram, {programPath(3)}).toBool());
    ASSERT_TRUE(call(curvex::DispLoadNcProgram, {programPath(3)}).toBool());
    ASSERT_TRUE(waitForMap(1));
    QTest::qWait(50);
    EXPECT_EQ(sink.count(curvex::EventNcProgramRead), 2);
}

// Every record's line is the one of its block, and a line gives back its records.
TEST_F(CurvexProgramTest, RecordsAndLinesAreLinkedBothWays) {
    ASSERT_TRUE(loadProgram(programPath(3)));
    EXPECT_EQ(call(curvex::DispGetNcProgramFile).toString(), programPath(3));
    EXPECT_GT(call(curvex::DispGetNcLineCount).toInt(), 3000);
    for (std::uint32_t i = 0; i < data.count; i += 7) {
        const int line = call(curvex::DispGetRecordLine, {static_cast<int>(i)}).toInt();
        const std::string head = "N" + std::to_string(data.records[i].blockNo) + " ";
        ASSERT_EQ(lineText(3, line).substr(0, head.size()), head) << "record " << i;
        EXPECT_EQ(call(curvex::DispGetLineRecord, {line, 0}).toInt(), static_cast<int>(i));
        EXPECT_EQ(call(curvex::DispGetLineRecordCount, {line}).toInt(), 1);
    }
    EXPECT_EQ(call(curvex::DispGetRecordLine, {static_cast<int>(data.count)}).toInt(), 0);
    EXPECT_EQ(call(curvex::DispGetRecordLine, {-1}).toInt(), 0);
    EXPECT_EQ(call(curvex::DispGetLineRecord, {1, 0}).toInt(), -1) << "the line %";
    call(curvex::DispCloseNcProgram);
    EXPECT_EQ(call(curvex::DispGetRecordLine, {5}).toInt(), 0);
    EXPECT_EQ(call(curvex::DispGetNcProgramFile).toString(), QString());
}

// New data gets a map of its own; a line with two records gives the one at or after the record
// asked from, else the first.
TEST_F(CurvexProgramTest, NewDataIsMappedAgain) {
    ASSERT_TRUE(loadProgram(programPath(3)));
    EXPECT_GT(call(curvex::DispGetRecordLine, {4}).toInt(), 0);
    const QString other = folder.filePath("other.txt");
    std::ofstream(other.toStdString()) << "T1\nN100)G01X1F600(A1)F600\nN7)G01X2F600(A2)F600\n"
                                          "N100)G01X3F600(A1)F600\nN9999)G01X4F600(A1)F600\n"
                                          "N7)G01X5F600(A1)F600\n";
    const int mapsBefore = sink.count(curvex::EventNcProgramRead);
    ASSERT_TRUE(call(5, {other, 1}).toBool());
    ASSERT_TRUE(waitForMap(mapsBefore)) << "new data is mapped again";
    const int line100 = lineOfBlock(100);
    const int line7 = lineOfBlock(7);
    const int lines[] = {line100, line7, line100, 0, line7};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(call(curvex::DispGetRecordLine, {i}).toInt(), lines[i]) << "record " << i;
    const struct {
        int line, from, record;
    } marks[] = {{line100, 0, 0}, {line100, 1, 2}, {line100, 2, 2}, {line100, 3, 0},
                 {line7, 0, 1},   {line7, 2, 4},   {line7, 5, 1},   {lineOfBlock(8), 0, -1}};
    for (const auto& m : marks)
        EXPECT_EQ(call(curvex::DispGetLineRecord, {m.line, m.from}).toInt(), m.record)
            << "line " << m.line << " from " << m.from;
    EXPECT_EQ(call(curvex::DispGetLineRecordCount, {line100}).toInt(), 2);
}

// The peaks of the shown range and quantity, with the lines of their records.
TEST_F(CurvexProgramTest, PeaksFollowTheShownRange) {
    ASSERT_TRUE(loadProgram(programPath(3)));
    struct Case {
        float lower, upper;
        int drawMode;
    };
    for (const Case c : {Case{0.0f, 100.0f, 1}, Case{20.0f, 45.0f, 2}, Case{60.0f, 61.0f, 4}}) {
        setDistArea(c.lower, c.upper);
        call(curvex::DispSetDrawMode, {c.drawMode});
        ChartState view;
        view.shown.lower = c.lower;
        view.shown.upper = c.upper;
        view.drawMode = static_cast<std::uint8_t>(c.drawMode == 4 ? 2 : c.drawMode == 2 ? 1 : 0);
        const std::vector<Peak> expected = ShownPeaks(data, view);
        const QVariantList rows = call(curvex::DispGetPeaks).toList();
        ASSERT_EQ(rows.size(), static_cast<qsizetype>(expected.size())) << c.lower;
        for (qsizetype k = 0; k < rows.size(); ++k) {
            const QVariantList row = rows[k].toList();
            ASSERT_EQ(row.size(), curvex::PeakFieldCount);
            EXPECT_EQ(row[curvex::PeakIndex].toUInt(), expected[k].index) << c.lower << " " << k;
            EXPECT_EQ(row[curvex::PeakValue].toFloat(), expected[k].value) << c.lower << " " << k;
            EXPECT_EQ(row[curvex::PeakBlockNo].toInt(), data.records[expected[k].index].blockNo);
            EXPECT_EQ(row[curvex::PeakLine].toInt(),
                      call(curvex::DispGetRecordLine, {row[curvex::PeakIndex]}).toInt());
            EXPECT_GT(row[curvex::PeakLine].toInt(), 0);
        }
    }
}

// GetToolPeaks (84) gives ShownToolPeaks of the shown range in GetPeaks' rows; FALSE for fewer
// than one peak a tool.
TEST_F(CurvexProgramTest, ToolPeaksFollowTheShownRange) {
    ASSERT_TRUE(loadProgram(programPath(3)));
    EXPECT_EQ(curvex::DispGetToolPeaks, 84);
    for (const int perTool : {1, 3}) {
        for (const auto& [lower, upper] : {std::pair{0.0f, 100.0f}, std::pair{30.0f, 70.0f}}) {
            setDistArea(lower, upper);
            ChartState view;
            view.shown.lower = lower;
            view.shown.upper = upper;
            view.drawMode = 0;
            const std::vector<Peak> expected =
                ShownToolPeaks(data, view, static_cast<std::uint32_t>(perTool));
            ASSERT_FALSE(expected.empty());
            const QVariantList rows = call(curvex::DispGetToolPeaks, {perTool}).toList();
            ASSERT_EQ(rows.size(), static_cast<qsizetype>(expected.size())) << perTool;
            for (qsizetype k = 0; k < rows.size(); ++k) {
                const QVariantList row = rows[k].toList();
                ASSERT_EQ(row.size(), curvex::PeakFieldCount);
                const CutRecord& r = data.records[expected[static_cast<std::size_t>(k)].index];
                EXPECT_EQ(row[curvex::PeakIndex].toUInt(), expected[k].index) << perTool << k;
                EXPECT_EQ(row[curvex::PeakToolNo].toInt(), r.toolNo);
                EXPECT_EQ(row[curvex::PeakLine].toInt(),
                          call(curvex::DispGetRecordLine, {row[curvex::PeakIndex]}).toInt());
            }
        }
    }
    for (const int wrong : {0, -1}) {
        const QVariant answer = call(curvex::DispGetToolPeaks, {wrong});
        EXPECT_EQ(answer.typeId(), QMetaType::Bool) << wrong;
        EXPECT_FALSE(answer.toBool()) << wrong;
    }
}

TEST_F(CurvexProgramTest, WrongArgumentsAreRefused) {
    struct Case {
        int dispid;
        QVariantList args;
        InvokeResult expected;
    };
    const Case cases[] = {
        {curvex::DispGetRecordLine, {QStringLiteral("x")}, InvokeResult::TypeMismatch},
        {curvex::DispGetLineRecord, {1, QStringLiteral("x")}, InvokeResult::TypeMismatch},
        {curvex::DispGetLineRecord, {1}, InvokeResult::BadParamCount},
        {curvex::DispGetLineRecordCount, {QStringLiteral("x")}, InvokeResult::TypeMismatch},
        {curvex::DispLoadNcProgram, {QVariant::fromValue(QSize(1, 1))}, InvokeResult::TypeMismatch},
        {curvex::DispGetPeaks, {1}, InvokeResult::BadParamCount},
        {curvex::DispGetToolPeaks, {}, InvokeResult::BadParamCount},
        {curvex::DispGetToolPeaks, {QStringLiteral("x")}, InvokeResult::TypeMismatch},
    };
    for (const Case& c : cases) {
        QVariantList args = c.args;
        EXPECT_EQ(hosted->control().invoke(c.dispid, InvokeKind::Method, args, nullptr), c.expected)
            << c.dispid;
    }
}

} // namespace
