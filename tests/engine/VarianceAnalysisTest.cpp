#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VarianceAnalysis.h"

using namespace brekka;
namespace fs = std::filesystem;

namespace {

// Cumulative F distribution in per cent, closed forms for df1 = 2 and 4 (any df2) and
// for df2 = 2 (any df1), written as series in 1 - x where the code sums powers of x.
double Cdf2(double df2, double f) {
    return 100 * (1 - std::pow(df2 / (df2 + 2 * f), df2 / 2));
}
double Cdf4(double df2, double f) {
    double x = df2 / (df2 + 4 * f);
    return 100 * (1 - std::pow(x, df2 / 2) * (1 + df2 / 2 * (1 - x)));
}
double CdfDf2Is2(double df1, double f) {
    return 100 * std::pow(df1 * f / (df1 * f + 2), df1 / 2);
}

} // namespace

TEST(FSeries, SeriesAIsExactForEvenDf2) {
    for (int df2 : {2, 4, 8, 10, 30}) {
        for (double f : {0.25, 1.0, 4.1, 20.0}) {
            EXPECT_NEAR(FSeriesA(2, df2, f), Cdf2(df2, f), 1e-9) << df2 << " " << f;
            EXPECT_NEAR(FSeriesA(4, df2, f), Cdf4(df2, f), 1e-9) << df2 << " " << f;
        }
    }
    EXPECT_NEAR(FSeriesA(3, 2, 2.0), CdfDf2Is2(3, 2.0), 1e-9);
    EXPECT_NEAR(FSeriesA(5, 2, 7.0), CdfDf2Is2(5, 7.0), 1e-9);
    // 95 % points of published F tables, odd df1 included.
    EXPECT_NEAR(FSeriesA(1, 10, 4.965), 95.0, 0.01);
    EXPECT_NEAR(FSeriesA(3, 10, 3.708), 95.0, 0.01);
    EXPECT_NEAR(FSeriesA(1, 6, 5.987), 95.0, 0.01);
    EXPECT_NEAR(FSeriesA(3, 6, 4.757), 95.0, 0.01);
    EXPECT_NEAR(FSeriesA(4, 4, 6.388), 95.0, 0.01);
}

TEST(FSeries, SeriesAKeepsItsFixedSumForOneDfAndRunsOverLargeDf2) {
    // df2 = 1: S = 0.6375, x = 1/(1 + 2F).
    EXPECT_NEAR(FSeriesA(2, 1, 0.5), 100 * 0.5 * 0.6375, 1e-12);
    EXPECT_NEAR(FSeriesA(2, 100000, 1.0), Cdf2(100000, 1.0), 1e-7);
    EXPECT_NEAR(FSeriesA(4, 200000, 0.5), Cdf4(200000, 0.5), 1e-7);
    EXPECT_NEAR(FSeriesA(4, 100000, 1e-6), Cdf4(100000, 1e-6), 1e-7);
}

TEST(FSeries, SeriesBIsExactForEvenDf1) {
    for (int df2 : {3, 7, 10, 25}) {
        EXPECT_NEAR(FSeriesB(2, df2, 1.7), Cdf2(df2, 1.7), 1e-9) << df2;
        EXPECT_NEAR(FSeriesB(4, df2, 1.7), Cdf4(df2, 1.7), 1e-9) << df2;
    }
    EXPECT_NEAR(FSeriesB(4, 10, 3.478), 95.0, 0.01);
    // df1 = 1: S = 0.6375; F = 1 with df2 = 3 gives x = 3/4.
    EXPECT_NEAR(FSeriesB(1, 3, 1.0), 100 * (1 - std::pow(0.75, 1.5) * 0.6375), 1e-12);
    // x = 1: its power counts as 0.
    EXPECT_DOUBLE_EQ(FSeriesB(2, 10, 0.0), 100.0);
}

TEST(FSeries, SignificanceCombinesSeriesForOddDf1AndBoundsOnlyTheResult) {
    // df2 = 4, F = 59: A(2) = 100(1 - 30.5^-2), A(4) = 100 (59/60)^2 (1 + 2/60), and
    // A(4) lies above 99.9 while A(2) does not.
    double a2 = 100 * (1 - 1 / (30.5 * 30.5));
    double a4 = 100 * (59.0 / 60) * (59.0 / 60) * (1 + 2.0 / 60);
    ASSERT_GT(a4, 99.9);
    EXPECT_NEAR(FSignificance(1, 4, 59), a2 - (a4 - a2) * 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(FSignificance(3, 4, 59), 99.9); // (a2 + a4) / 2 is above 99.9
    EXPECT_NEAR(FSignificance(5, 10, 1.2), (Cdf4(10, 1.2) + FSeriesA(6, 10, 1.2)) / 2, 1e-9);
    EXPECT_NEAR(FSignificance(2, 8, 1.5), Cdf2(8, 1.5), 1e-9);
    EXPECT_DOUBLE_EQ(FSignificance(2, 8, 0.0), 0.1);
    EXPECT_DOUBLE_EQ(FSignificance(1, 8, 1e6), 99.9);
}

TEST(FSeries, DegenerateDegreesOfFreedomGiveFiniteValues) {
    // df2 + df1 F = 0: x counts as 1 or more.
    EXPECT_DOUBLE_EQ(FSeriesA(2, -2, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(FSeriesB(2, -2, 1.0), 100.0);
    // Negative x becomes 0.00001: (1 - x)(1 + x + x^2) = 1 - x^3.
    EXPECT_NEAR(FSeriesA(2, -2, 3.0), 100 * (1 - 1e-15), 1e-9);
    for (int df1 = 1; df1 <= 5; ++df1) {
        for (int df2 = -12; df2 <= 12; ++df2) {
            for (double f : {0.0, 1e-6, 0.5, 3.0, -1.0, 1e308, -1e308}) {
                double p = FSignificance(df1, df2, f);
                EXPECT_TRUE(p >= 0.1 && p <= 99.9) << df1 << "," << df2 << " " << f;
                EXPECT_TRUE(std::isfinite(FSeriesA(df1, df2, f)));
                EXPECT_TRUE(std::isfinite(FSeriesB(df1, df2, f)));
            }
        }
    }
}

namespace {

const char* const kWarningStart = "Please check the Anova table";

std::vector<std::string> Head(const std::string& title, const std::string& file,
                              const std::string& sst, const std::string& n, const std::string& df) {
    return {title,
            " File Name : " + file,
            "",
            " Sum[(Y-Av.Y)sq.] =" + sst + "  (total sum of squares of deviations)",
            "",
            " Total nr. of data  =" + n,
            " Degrees of freedom =" + df,
            "",
            " Sum of squares      Degrees of                          Probability/",
            " of deviations        freedom     Variance     F-Test    Significance",
            " --------------------------------------------------------------------"};
}

const std::vector<std::string> kTail = {
    "", " --------------------------------------------------------------------", "#",
    " See also https://www.itl.nist.gov/div898/handbook/"};

class VarianceAnalysisFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "brekka-anova-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        input.varFileName = (dir_ / "run.var").string();
    }
    void TearDown() override {
        EXPECT_FALSE(fs::exists(dir_ / "run.Anova.tmp")) << "temporary file left behind";
        fs::remove_all(dir_);
    }

    void WriteVar(const std::vector<std::string>& records) {
        std::ofstream out(input.varFileName, std::ios::binary);
        for (const std::string& record : records) {
            out << record << "\r\n";
        }
    }
    std::string ReadVar() const {
        std::ifstream in(input.varFileName, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::string Join(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return text;
    }
    std::vector<std::string> Run() {
        result = RunVarianceAnalysis(input, messages);
        std::vector<std::string> lines;
        std::istringstream text(ReadVar());
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line.substr(0, line.size() - 1));
        }
        return lines;
    }
    // The lines between the column headings and the closing lines.
    std::vector<std::string> RunBlocks() {
        std::vector<std::string> lines = Run();
        EXPECT_TRUE(result.tableWritten);
        if (lines.size() < 15) {
            return {};
        }
        return std::vector<std::string>(lines.begin() + 11, lines.end() - 4);
    }
    void ExpectRefused(const std::string& named) {
        std::string before = ReadVar();
        Run();
        EXPECT_FALSE(result.tableWritten);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_NE(messages.messages[0].find(input.varFileName), std::string::npos);
        EXPECT_NE(messages.messages[0].find(named), std::string::npos) << messages.messages[0];
        EXPECT_EQ(ReadVar(), before);
    }

    fs::path dir_;
    VarianceAnalysisInput input;
    VarianceAnalysisResult result;
    RecordingMessageSink messages;
};

} // namespace

TEST_F(VarianceAnalysisFile, StraightLineTableByHand) {
    // F = 40 / (60/8) = 16/3. A(2,8): x = 3/7, 1 - x^4 = 0.966264. A(4,8): x = 3/11,
    // 1 - x^4 (1 + 4(1 - x)) = 0.978373. P = 96.6264 - (97.8373 - 96.6264)/2 = 96.02.
    WriteVar({" 1", "   10", "   1.000E+002", "   6.000E+001   rest ignored", " -99999"});
    input.reportedType = 1;
    std::vector<std::string> expected =
        Head(" Variance Analysis, ANOVA table, Regression Type: 1", input.varFileName,
             "     100.000", "      10", "       9");
    for (const char* line :
         {" explained by", "  lin. regr.                                   F(1,8)=",
          "      40.000              1         40.000       5.333         96.0 %", "", " remaining",
          " unexplained", "      60.000              8          7.500"}) {
        expected.push_back(line);
    }
    expected.insert(expected.end(), kTail.begin(), kTail.end());
    Run();
    EXPECT_EQ(ReadVar(), Join(expected));
    EXPECT_TRUE(result.tableWritten);
    EXPECT_EQ(result.nrOfVar, 1);
    EXPECT_TRUE(messages.messages.empty());

    WriteVar({" 1", "   10", "   1.000E+002", "   6.000E+001", " -99999"});
    input.separationFlag = false;
    expected.erase(expected.begin() + 11, expected.end() - 4);
    Run();
    EXPECT_EQ(ReadVar(), Join(expected));
}

TEST_F(VarianceAnalysisFile, HorizontalSegmentPrintsItsOwnExtraDegreesOfFreedom) {
    WriteVar({" 1", "   20", "   5.000E+001", "   4.000E+001", "      12.500", "      36.000"});
    input.reportedType = 3;
    std::vector<std::string> lines = Run();
    std::vector<std::string> expected =
        Head(" Variance Analysis, ANOVA table, Regression Type: 3", input.varFileName,
             "      50.000", "      20", "      19");
    for (const char* line :
         {" explained by",
          "  lin. regr.                                   F(1,18)=",
          "      10.000              1         10.000       4.500         96.6 %",
          "",
          " remaining",
          " unexplained",
          "      40.000             18          2.222",
          "",
          " extra expl. by",
          "  break-point                                  F(2,18)=",
          "       4.000              2          2.000       0.889         79.9 %",
          "",
          " remaining",
          " unexplained",
          "      36.000             18          2.250",
          "",
          " total expl. by",
          "  break-point                                  F(2,16)=",
          "      14.000              2          7.000       3.111         92.8 %",
          ""}) {
        expected.push_back(line);
    }
    expected.insert(expected.end(), kTail.begin(), kTail.end());
    EXPECT_EQ(lines, expected);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].rfind(kWarningStart, 0), 0u);
}

TEST_F(VarianceAnalysisFile, FullBreakpointTypesDivideByThree) {
    const std::vector<std::string> records = {
        " 1", "   15", "   8.000E+001", "   5.000E+001", "       3.250", "      30.000"};
    WriteVar(records);
    input.reportedType = 6;
    std::vector<std::string> blocks = RunBlocks();
    ASSERT_EQ(blocks.size(), 20u);
    EXPECT_EQ(blocks[1], "  lin. regr.                                   F(1,13)=");
    EXPECT_EQ(blocks[2], "      30.000              1         30.000       7.800         98.8 %");
    EXPECT_EQ(blocks[6], "      50.000             13          3.846");
    EXPECT_EQ(blocks[9], "  break-point                                  F(3,12)=");
    EXPECT_EQ(blocks[10], "      20.000              3          6.667       2.222         99.2 %");
    EXPECT_EQ(blocks[14], "      30.000             12          3.000");
    std::vector<std::string> total = {
        "", " total expl. by", "  break-point                                  F(3,10)=",
        "      50.000              3         16.667       5.556         98.2 %", ""};
    EXPECT_EQ(std::vector<std::string>(blocks.end() - 5, blocks.end()), total);

    WriteVar(records);
    input.reportedType = 2;
    input.separationFlag = false;
    EXPECT_EQ(RunBlocks(), total);
}

TEST_F(VarianceAnalysisFile, TwoLevelsKeepOneExtraDegreeOfFreedom) {
    WriteVar({" 1", "   12", "   8.000E+001", "   5.000E+001", "       3.250", "      30.000"});
    input.reportedType = 5;
    std::vector<std::string> blocks = RunBlocks();
    ASSERT_EQ(blocks.size(), 20u);
    EXPECT_EQ(blocks[9], "  break-point                                  F(1, 9)=");
    EXPECT_EQ(blocks[10], "      20.000              1         20.000       6.000         96.0 %");
    EXPECT_EQ(blocks[14], "      30.000              9          3.333");
    EXPECT_EQ(blocks[17], "  break-point                                  F(2, 9)=");
    EXPECT_EQ(blocks[18], "      50.000              2         25.000       7.500         98.0 %");
}

TEST_F(VarianceAnalysisFile, TwoVariablesWithBreakpointsWriteEveryBlock) {
    input.varOption = 3;
    input.type1 = 3;
    input.type2 = 5;
    WriteVar({"    2", "   30", "   2.000E+002", "   1.200E+002", "    1", "     4.500",
              "   9.000E+001", "   7.000E+001", "     2.500", "   5.500E+001"});
    std::vector<std::string> lines = Run();
    ASSERT_EQ(lines.size(), 57u);
    EXPECT_EQ(lines[0],
              " Variance Analysis, ANOVA table, Regression Types: 1st Type: 3, 2nd Type: 5");
    EXPECT_EQ(result.nrOfVar, 2);
    std::vector<std::string> expected = {
        " explained by",
        " lin. regr. X                                  F(1,28)=",
        "      80.000              1         80.000      18.667         99.9 %",
        "",
        " remaining",
        " unexplained",
        "     120.000             28          4.286",
        "",
        " extra expl. by",
        " X-breakpoint                                  F(3,25)=",
        "      30.000              3         10.000       2.778         92.9 %",
        "",
        " remaining",
        " unexplained",
        "      90.000             25          3.600",
        "",
        " total expl. by",
        " X-breakpoint                                  F(4,25)=",
        "     110.000              4         27.500      10.185         99.9 %",
        "",
        "",
        " explained by",
        " lin. reg. of",
        " residuals on Z                                F(1,24)=",
        "      20.000              1         20.000       6.857         98.5 %",
        "",
        " remaining",
        " unexplained",
        "      70.000             24          2.917",
        "",
        " extra expl. by",
        " Z-breakpoint                                  F(2,22)=",
        "      15.000              2          7.500       6.000         99.2 %",
        "",
        " remaining",
        " unexplained",
        "      55.000             22          2.500",
        "",
        " total expl. by",
        " Z-breakpoint                                  F(3,22)=",
        "      35.000              3         11.667       7.000         99.8 %",
        ""};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 11, lines.end() - 4), expected);

    // Without the second separation the second stage keeps its total block only.
    input.secondSeparationFlag = false;
    std::vector<std::string> firstStage(expected.begin(), expected.begin() + 20);
    firstStage.insert(firstStage.end(), expected.end() - 5, expected.end());
    WriteVar({"    2", "   30", "   2.000E+002", "   1.200E+002", "    1", "     4.500",
              "   9.000E+001", "   7.000E+001", "     2.500", "   5.500E+001"});
    EXPECT_EQ(RunBlocks(), firstStage);
    input.secondSeparationFlag = true;

    // Sequence 2, full types: the second stage's extra block prints df1 3, its total
    // block counts df2 from all data.
    input.type1 = 6;
    input.type2 = 2;
    WriteVar({"    2", "   40", "   3.000E+002", "   1.500E+002", "    2", "     4.500",
              "   1.000E+002", "   8.000E+001", "     2.500", "   6.000E+001"});
    std::vector<std::string> blocks = RunBlocks();
    ASSERT_EQ(blocks.size(), 42u);
    EXPECT_EQ(blocks[9], " Z-break-point                                  F(4,34)=");
    EXPECT_EQ(blocks[10], "      50.000              4         12.500       4.250         99.3 %");
    EXPECT_EQ(blocks[17], " Z-break-point                                  F(5,34)=");
    EXPECT_EQ(blocks[18], "     200.000              5         40.000      22.667         99.9 %");
    EXPECT_EQ(blocks[23], " residuals on X                                F(1,33)=");
    EXPECT_EQ(blocks[24], "      20.000              1         20.000       8.250         99.2 %");
    EXPECT_EQ(blocks[31], " X-breakpoint                                  F(3,29)=");
    EXPECT_EQ(blocks[32], "      20.000              3          6.667       3.222         97.4 %");
    EXPECT_EQ(blocks[36], "      60.000             29          2.069");
    EXPECT_EQ(blocks[39], " X-breakpoint                                  F(5,34)=");
    EXPECT_EQ(blocks[40], "      40.000              5          8.000       4.833         99.7 %");
}

TEST_F(VarianceAnalysisFile, TwoVariablesWithoutBreakpointsAlwaysWriteBothLines) {
    input.varOption = 3;
    input.separationFlag = false;
    input.secondSeparationFlag = false;
    WriteVar({"    2", "   25", "   2.000E+002", "   1.200E+002", "    2", " -99999",
              "   1.180E+002", "   1.000E+002", " -99999"});
    std::vector<std::string> expected = {
        " explained by",
        " lin. regr. Z                                  F(1,23)=",
        "      80.000              1         80.000      15.333         99.9 %",
        "",
        " remaining",
        " unexplained",
        "     120.000             23          5.217",
        " explained by",
        " lin. reg. of",
        " residuals on X                                F(1,22)=",
        "      20.000              1         20.000       4.400         95.2 %",
        "",
        " remaining",
        " unexplained",
        "     100.000             22          4.545"};
    EXPECT_EQ(RunBlocks(), expected);
}

TEST_F(VarianceAnalysisFile, FLabelWidthFollowsTheNumberOfData) {
    input.reportedType = 1;
    for (auto [n, label] : std::vector<std::pair<int, std::string>>{
             {10, "F(1,8)="}, {11, "F(1, 9)="}, {50, "F(1,48)="}, {150, "F(1,148)="}}) {
        WriteVar({" 1", std::to_string(n), "100", "60", "-99999"});
        std::vector<std::string> lines = Run();
        ASSERT_GT(lines.size(), 12u);
        EXPECT_EQ(lines[12], "  lin. regr. " + std::string(33, ' ') + " " + label);
    }
}

TEST_F(VarianceAnalysisFile, WarningOnlyForWrittenBreakpointBlocksAndOnlyOnce) {
    // Extra block 79.9 %, total block 92.8 %, straight line 96.6 %.
    const std::vector<std::string> records = {" 1", "20", "50", "40", "12.5", "36"};
    input.reportedType = 3;
    input.criticalValue = 2.1; // both breakpoint blocks below 94
    WriteVar(records);
    Run();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].rfind(kWarningStart, 0), 0u);

    messages.messages.clear();
    input.criticalValue = 1.75; // the low extra block is not written
    input.separationFlag = false;
    WriteVar(records);
    Run();
    EXPECT_TRUE(messages.messages.empty());

    // Total block alone at 95 %: P = 100 (1 - x^8) with x = 16/(16 + 2F); SSD_B = 35 gives
    // x = 0.7 and 94.2 %, SSD_B = 35.5 gives x = 0.71 and 93.5 %, below 95 - 1.
    input.criticalValue = 2.1;
    WriteVar({" 1", "20", "50", "40", "12.5", "35"});
    Run();
    EXPECT_TRUE(messages.messages.empty());
    WriteVar({" 1", "20", "50", "40", "12.5", "35.5"});
    Run();
    EXPECT_EQ(messages.messages.size(), 1u);
    messages.messages.clear();

    input.criticalValue = 2.5; // a straight-line block never warns
    input.reportedType = 1;
    WriteVar({" 1", "10", "100", "60", "-99999"});
    Run();
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(VarianceAnalysisFile, NoVariationLeavesTheRecords) {
    WriteVar({" 1", "   10", "   0.000E+000", "   0.000E+000", " -99999"});
    std::string before = ReadVar();
    Run();
    EXPECT_FALSE(result.tableWritten);
    EXPECT_EQ(result.nrOfVar, 1);
    EXPECT_EQ(messages.messages,
              std::vector<std::string>{"There is no variation. Variance analysis is not done."});
    EXPECT_EQ(ReadVar(), before);
}

TEST_F(VarianceAnalysisFile, MissingOrDamagedFilesStayAsTheyWere) {
    RecordingMessageSink sink;
    EXPECT_FALSE(RunVarianceAnalysis(input, sink).tableWritten);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find(input.varFileName), std::string::npos);
    EXPECT_FALSE(fs::exists(input.varFileName));

    input.reportedType = 2;
    WriteVar({" 1", "   10", "   1.000E+002", "   abc", " -99999"});
    ExpectRefused("\"abc\" is not a number");
    messages.messages.clear();
    WriteVar({" 1", "   10", "   1.000E+002", "   6.000E+001", "      2.500"});
    ExpectRefused("a number is missing");
    messages.messages.clear();
    WriteVar({" 2", "   10", "   1.000E+002", "   6.000E+001", " -99999"});
    ExpectRefused("independent variables");
    messages.messages.clear();
    input.reportedType = 1; // a breakpoint without a breakpoint type
    WriteVar({" 1", "   10", "   1.000E+002", "   6.000E+001", "   2.5", "   3.0"});
    ExpectRefused("regression type is 1");
    messages.messages.clear();
    input.varOption = 3;
    WriteVar({" 2", "   10", "   1.000E+002", "   6.000E+001", "    7", " -99999"});
    ExpectRefused("sequence");
}

TEST_F(VarianceAnalysisFile, TemporaryFileThatCannotBeCreatedLeavesTheVarFile) {
    fs::create_directory(dir_ / "run.Anova.tmp");
    WriteVar({" 1", "10", "100", "60", "-99999"});
    std::string before = ReadVar();
    Run();
    EXPECT_FALSE(result.tableWritten);
    EXPECT_TRUE(result.failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].find("run.Anova.tmp"), std::string::npos);
    EXPECT_EQ(ReadVar(), before);
    EXPECT_TRUE(fs::is_directory(dir_ / "run.Anova.tmp"));
    fs::remove(dir_ / "run.Anova.tmp");
}

TEST_F(VarianceAnalysisFile, TinyAndExtremeDataNeverPrintNonFiniteNumbers) {
    auto expectFiniteTable = [this](const std::vector<std::string>& records) {
        WriteVar(records);
        std::string table;
        for (const std::string& line : Run()) {
            table += line + "\n";
        }
        EXPECT_TRUE(result.tableWritten);
        EXPECT_EQ(table.find("INF"), std::string::npos) << table;
        EXPECT_EQ(table.find("NAN"), std::string::npos) << table;
    };
    for (int type : {2, 3, 5, 6}) {
        input.reportedType = input.type1 = input.type2 = type;
        for (int n = 1; n <= 10; ++n) {
            std::string count = std::to_string(n);
            for (const char* ssd : {"0", "-1", "1E-300", "1E+300", "-1E+308"}) {
                input.varOption = 0;
                expectFiniteTable({"1", count, "1E+308", ssd, "2.5", "1E-300"});
                input.varOption = 3;
                expectFiniteTable(
                    {"2", count, "1E+308", ssd, "1", "2.5", "1E-300", ssd, "3.5", "0"});
            }
        }
    }
}

// A breakpoint is always written with its three decimals; only the record that
// reads -99999 without them marks a result without breakpoint.
TEST_F(VarianceAnalysisFile, BreakpointAtMinusNinetyNineThousandNineHundredNinetyNineIsKept) {
    input.reportedType = 2;
    // By hand: extra SSX = 60 - 20 = 40 over MSB = 20 / (10 - 5) = 4, so F/3 = 10/3
    // on 3 and 7; total 80 / 4 / 3 = 6.667 on 3 and 5.
    WriteVar({" 1", "   10", "   1.000E+002", "   6.000E+001", "  -99999.000", "   2.000E+001"});
    std::vector<std::string> blocks = RunBlocks();
    ASSERT_EQ(blocks.size(), 20u);
    EXPECT_EQ(blocks[8], " extra expl. by");
    EXPECT_EQ(blocks[9], "  break-point                                  F(3,7)=");
    EXPECT_EQ(blocks[10].substr(0, 12), "      40.000");
    EXPECT_EQ(blocks[10].substr(42, 12), "       3.333");
    EXPECT_EQ(blocks[16], " total expl. by");
    EXPECT_EQ(blocks[17], "  break-point                                  F(3,5)=");
    EXPECT_EQ(blocks[18].substr(42, 12), "       6.667");

    // The marker itself, with or without its leading blank, still has no blocks.
    for (const char* marker : {" -99999", "-99999"}) {
        WriteVar({" 1", "   10", "   1.000E+002", "   6.000E+001", marker});
        input.reportedType = 1;
        EXPECT_EQ(RunBlocks().size(), 7u) << marker;
    }
}

TEST_F(VarianceAnalysisFile, TwoVariableBreakpointAtMinusNinetyNineThousandIsKept) {
    // N = 40, a first stage of type 4 at -99999: it leaves r1 = 40 - 4 = 36 degrees of
    // freedom, so the second-stage line is tested on 1 and 34 (37 without breakpoint).
    input.varOption = 3;
    input.type1 = 4;
    input.type2 = 1;
    WriteVar({"    2", "   40", "   2.000E+002", "   1.200E+002", "    1", "  -99999.000",
              "   8.000E+001", "   7.000E+001", " -99999"});
    std::vector<std::string> blocks = RunBlocks();
    auto has = [&](const std::string& line) {
        return std::find(blocks.begin(), blocks.end(), line) != blocks.end();
    };
    EXPECT_TRUE(has(" X-breakpoint                                  F(3,35)="));
    EXPECT_TRUE(has(" X-breakpoint                                  F(4,35)="));
    EXPECT_TRUE(has(" residuals on Z                                F(1,34)="));
}
