// Reports read back for their graphs. Expected values are the numbers the
// reports print (the fixtures were written by brekka-calc).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "data/GraphReader.h"
#include "support/TempDir.h"

namespace {

using namespace brekka;

std::string Fixture(const std::string& name) {
    return (std::filesystem::path(__FILE__).parent_path() / "fixtures" / name).string();
}

std::string FixtureText(const std::string& name) {
    std::ifstream in(Fixture(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Read {
    GraphData data;
    GraphState state;
};

Read ReadFixture(const std::string& name) {
    Read r;
    ReadOutputForGraph(Fixture(name), r.data, r.state);
    return r;
}

// The report prints three significant digits; the reader must give those back.
void ExpectPrinted(double actual, double printed) {
    EXPECT_NEAR(actual, printed, std::abs(printed) * 1e-9 + 1e-300) << "read " << actual;
}

TEST(GraphReader, OneVariableTypeFourWithAllItsTables) {
    Read r = ReadFixture("one-type4.out");
    const GraphState& s = r.state;
    EXPECT_EQ(r.data.SummaryKey, " Fun");
    EXPECT_EQ(r.data.VarTag, " BPx");
    EXPECT_EQ(r.data.Title1, " Wheat yield against depth of the water table, made-up field plots");
    EXPECT_EQ(s.FuncType, 4);
    EXPECT_EQ(s.CalcMethod, 2);
    ExpectPrinted(s.BP, 78.86);
    EXPECT_EQ(s.ConfPercent, 90);
    EXPECT_DOUBLE_EQ(s.ConfFactor, 1.75);
    ExpectPrinted(s.N, 40);
    ExpectPrinted(s.AvY, 3.82);
    ExpectPrinted(s.AvX, 86.72);
    ExpectPrinted(s.StDevRC, 1.97e-3);
    ExpectPrinted(s.StDevYr, 0.473);
    ExpectPrinted(s.StDevX, 39.0);
    ExpectPrinted(s.SumSqX, 39.0 * 39.0 * 40);
    ExpectPrinted(s.AvXAll, 86.72);
    ExpectPrinted(s.N1, 18);
    ExpectPrinted(s.AvY1, 3.05);
    ExpectPrinted(s.AvX1, 50.67);
    ExpectPrinted(s.StDevRC1, 3.12e-3);
    ExpectPrinted(s.StDevY1, 0.833);
    ExpectPrinted(s.StDevYr1, 0.207);
    ExpectPrinted(s.N2, 22);
    ExpectPrinted(s.AvY2, 4.45);
    ExpectPrinted(s.AvX2, 116.2);
    ExpectPrinted(s.StDevRC2, 2.19e-3);
    ExpectPrinted(s.StDevY2, 0.256);
    ExpectPrinted(s.StDevYr2, 0.235);
    ExpectPrinted(s.Ybp, 4.45);
    ExpectPrinted(s.StErrBP, 2.58);
    ExpectPrinted(s.ExplCoeff, 0.935);
    ExpectPrinted(s.ExplCoeffAll, 0.935);
    ExpectPrinted(s.RC1, 4.96e-2);
    ExpectPrinted(s.RC2, 0.0);
    ASSERT_EQ(r.data.NrOfData, 40);
    ExpectPrinted(r.data.GraphY[0], 4.36);
    ExpectPrinted(r.data.GraphX[0], 92.0);
    ExpectPrinted(r.data.GraphYCalc[0], 4.45);
    ExpectPrinted(r.data.GraphX[8], 28.0);
}

TEST(GraphReader, OneVariableTypesReadTheirOwnParameterBlocks) {
    Read t2 = ReadFixture("one-type2.out");
    EXPECT_EQ(t2.state.FuncType, 2);
    EXPECT_EQ(t2.state.CalcMethod, 2);
    ExpectPrinted(t2.state.BP, 50.73);
    ExpectPrinted(t2.state.Ybp, 17.0);
    ExpectPrinted(t2.state.StErrBP, 0.213);
    ExpectPrinted(t2.state.ExplCoeff, 0.988);
    ExpectPrinted(t2.state.RC1, 0.294);
    ExpectPrinted(t2.state.RC2, -0.207);
    // Runs of blanks in a title collapse to one (the report puts one before it).
    EXPECT_EQ(t2.data.Title2, " second title line");

    Read t0 = ReadFixture("one-type0.out");
    EXPECT_EQ(t0.state.FuncType, 0);
    ExpectPrinted(t0.state.RC1, 0.0);
    ExpectPrinted(t0.state.AvY, 4.98);
    EXPECT_EQ(t0.state.N1, 0.0);
    EXPECT_EQ(t0.data.NrOfData, 40);

    Read t1 = ReadFixture("one-type1.out");
    ExpectPrinted(t1.state.RC1, 9.95e-2);

    Read t8 = ReadFixture("one-type8.out");
    EXPECT_EQ(t8.state.FuncType, 8);
    ExpectPrinted(t8.state.BP, 48.77);
    ExpectPrinted(t8.state.RC1, 0.101);
    ExpectPrinted(t8.state.RC2, -0.153);

    Read neg = ReadFixture("one-negative.out");
    ExpectPrinted(neg.state.BP, -40.0);
}

TEST(GraphReader, TwoVariableReportWithBreakpointsInBothRelations) {
    Read r = ReadFixture("two-yx-3-2.out");
    const GraphState& s = r.state;
    EXPECT_EQ(r.data.SummaryKey, " Y-X");
    EXPECT_EQ(s.FuncType, 3);
    EXPECT_EQ(s.FuncType2, 2);
    EXPECT_EQ(s.CalcMethod, 2);
    EXPECT_EQ(s.CalcMethod2, 1);
    ExpectPrinted(s.BP, 37.04);
    ExpectPrinted(s.BP2, 10.21);
    ExpectPrinted(s.AvX, 49.30);
    ExpectPrinted(s.Kept[0].AvX, 49.30);
    ExpectPrinted(s.Kept[0].StDevRC, 4.17e-3);
    ExpectPrinted(s.Kept[0].StDevYr, 0.894);
    ExpectPrinted(s.N1, 22);
    ExpectPrinted(s.AvX2, 74.39);
    ExpectPrinted(s.AvXAll, (22 * 19.65 + 26 * 74.39) / 48);
    ExpectPrinted(s.Ybp, 3.61);
    ExpectPrinted(s.StErrBP, 3.39);
    ExpectPrinted(s.ExplCoeff, 0.902);
    ExpectPrinted(s.CorrCoeffSqXZ, 2.94e-3);
    ExpectPrinted(s.Kept[1].AvX, 9.705);
    ExpectPrinted(s.Kept[1].StDevRC, 1.61e-2);
    ExpectPrinted(s.Kept[1].StDevYr, 0.681);
    ExpectPrinted(s.Second.StDevX, 6.23);
    ExpectPrinted(s.Second.N1, 27);
    ExpectPrinted(s.Second.AvY2, 0.192);
    ExpectPrinted(s.Second.AvXAll, (27 * 4.838 + 21 * 15.96) / 48);
    ExpectPrinted(s.Ybp2, 1.34);
    ExpectPrinted(s.StErrBP2, 9.05e-2);
    ExpectPrinted(s.ExplCoeff2, 0.930);
    ExpectPrinted(s.RC1, 0.0);
    ExpectPrinted(s.RCz1, 0.278);
    ExpectPrinted(s.RC2, 9.29e-2);
    ExpectPrinted(s.RCz2, -0.200);
    ASSERT_EQ(r.data.NrOfData, 48);
}

TEST(GraphReader, SequenceYZXPutsTheColumnsInTheirPlaces) {
    Read r = ReadFixture("two-yz-6-6.out");
    EXPECT_EQ(r.data.SummaryKey, " Y-Z");
    EXPECT_EQ(r.data.VarTag, " BPz");
    EXPECT_EQ(r.state.FuncType, 6);
    EXPECT_EQ(r.state.FuncType2, 6);
    ExpectPrinted(r.state.BP, 10.75);
    ExpectPrinted(r.state.BP2, 43.44);
    ExpectPrinted(r.state.CorrCoeffSqXZ, 2.92e-3);
    ExpectPrinted(r.state.Second.AvX2, 68.38);
    ExpectPrinted(r.state.RC1, 0.172);
    ExpectPrinted(r.state.RCz2, -1.71e-2);
    ASSERT_EQ(r.data.NrOfData, 48);
    // Serial 1: Yobs, Z, YZr, X, Ycalc.
    ExpectPrinted(r.data.GraphY[0], 1.28);
    ExpectPrinted(r.data.GraphZ[0], 16.4);
    ExpectPrinted(r.data.GraphRes[0], -1.33);
    ExpectPrinted(r.data.GraphX[0], 42.4);
    ExpectPrinted(r.data.GraphYCalc[0], 2.29);
}

TEST(GraphReader, NegativeTwoVariableBreakpointKeepsItsSign) {
    std::string text = FixtureText("two-yx-3-2.out");
    const std::string line = " The optimal breakpoint of X (BPx) is : 3.704E+001";
    const size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, line.size(), " The optimal breakpoint of X (BPx) is :-3.704E+001");
    Read r;
    ReadOutputTextForGraph(text, "edited.out", r.data, r.state);
    ExpectPrinted(r.state.BP, -37.04);
}

TEST(GraphReader, LineFeedLineEndsReadAlike) {
    std::string text = FixtureText("two-yx-1-3.out");
    std::string lf;
    for (char c : text) {
        if (c != '\r') {
            lf += c;
        }
    }
    Read crlf = ReadFixture("two-yx-1-3.out");
    Read r;
    ReadOutputTextForGraph(lf, "lf.out", r.data, r.state);
    EXPECT_EQ(r.state.FuncType2, 3);
    EXPECT_DOUBLE_EQ(r.state.Second.AvY1, crlf.state.Second.AvY1);
    EXPECT_DOUBLE_EQ(r.state.Kept[1].AvX, crlf.state.Kept[1].AvX);
    ExpectPrinted(r.state.Kept[1].AvX, 8.456);
    ExpectPrinted(r.state.ExplCoeffAll, 0.829);
    EXPECT_EQ(r.data.NrOfData, crlf.data.NrOfData);
}

TEST(GraphReader, ConfidenceGivesItsFactor) {
    std::string text = FixtureText("one-type4.out");
    const size_t at = text.find(" Minimum confidence % : 90");
    ASSERT_NE(at, std::string::npos);
    const std::pair<const char*, double> cases[] = {{"95", 2.1}, {"98", 2.5}, {"xx", 1.75}};
    for (const auto& [percent, factor] : cases) {
        std::string edited = text;
        edited.replace(at + 24, 2, percent);
        Read r;
        ReadOutputTextForGraph(edited, "c.out", r.data, r.state);
        EXPECT_DOUBLE_EQ(r.state.ConfFactor, factor) << percent;
        EXPECT_EQ(r.state.ConfPercent, factor == 1.75 ? 90 : std::atoi(percent));
        EXPECT_EQ(r.data.NrOfData, 40);
    }
}

TEST(GraphReader, EmptyObservationTableGivesNoData) {
    std::string text = FixtureText("one-type1.out");
    text.erase(text.find("\r\n   1  ") + 2);
    Read r;
    ReadOutputTextForGraph(text, "empty.out", r.data, r.state);
    EXPECT_EQ(r.data.NrOfData, 0);
}

// Whatever the damage, one error with a message, and the previous values stay.
TEST(GraphReader, DamagedReportsGiveOneErrorAndKeepThePreviousValues) {
    const std::string good = FixtureText("two-yx-3-2.out");
    std::vector<std::pair<std::string, std::string>> damaged;
    for (size_t cut : {0ul, 10ul, 300ul, 1500ul, 3000ul, 4200ul, 5000ul}) {
        damaged.push_back({"cut at " + std::to_string(cut), good.substr(0, cut)});
    }
    std::string binary;
    for (int i = 0; i < 4000; ++i) {
        binary += static_cast<char>((i * 7919) % 256);
    }
    damaged.push_back({"binary", binary});
    std::string word = good;
    word.replace(word.find("4.80E+001"), 9, "forty-eig");
    damaged.push_back({"word for a number", word});
    std::string row = good;
    row.replace(row.rfind("E+00"), 4, "E+0x");
    damaged.push_back({"damaged row", row});
    std::string noTable = good.substr(0, good.find(" Serial"));
    damaged.push_back({"no observation table", noTable});
    std::string infinite = FixtureText("one-type4.out");
    infinite.replace(infinite.find("3.82E+000"), 9, "1.0E+9999");
    damaged.push_back({"overflowing number", infinite});

    for (const auto& [what, text] : damaged) {
        Read r = ReadFixture("one-type4.out");
        try {
            ReadOutputTextForGraph(text, "damaged.out", r.data, r.state);
            ADD_FAILURE() << what << " was read";
        } catch (const ReportReadError& error) {
            EXPECT_FALSE(std::string(error.what()).empty());
        }
        EXPECT_EQ(r.state.FuncType, 4) << what;
        EXPECT_EQ(r.data.NrOfData, 40) << what;
    }
}

TEST(GraphReader, ForeignTextAndMissingFilesHaveTheirMessages) {
    Read r;
    try {
        ReadOutputTextForGraph("a\r\nb\r\nNot a report\r\n", "x.out", r.data, r.state);
        FAIL();
    } catch (const ReportReadError& error) {
        EXPECT_EQ(std::string(error.what()), "This output file cannot be read by Brekka. Graph "
                                             "will not be shown. Try BrekkaA instead.");
    }
    brekka::testing::TempDir dir;
    const std::string missing = dir.File("missing.out").string();
    try {
        ReadOutputForGraph(missing, r.data, r.state);
        FAIL();
    } catch (const ReportReadError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The file \"" + missing +
                      "\"could not be opened. It may be damaged or in use by another program.");
    }
}

} // namespace
