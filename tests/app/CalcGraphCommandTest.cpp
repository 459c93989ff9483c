// brekka-calc graph as users run it: kinds, exit statuses, pictures and geometry.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/CalcCommand.h"

namespace {

using brekka::testing::CommandResult;
using brekka::testing::ReadWhole;
using brekka::testing::RunCalc;
using brekka::testing::TempDir;

std::filesystem::path Fixture(const std::string& name) {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "fixtures" / name;
}

CommandResult RunGraph(const TempDir& dir, const std::string& arguments) {
    return RunCalc(dir, "graph " + arguments);
}

std::string Quoted(const std::filesystem::path& path) {
    std::string quoted = "'";
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

nlohmann::json Geometry(const TempDir& dir, const std::string& arguments) {
    CommandResult result = RunGraph(dir, "--geometry " + arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out);
}

TEST(CalcGraphCommand, EveryKindOfATwoVariableReportIsDrawn) {
    TempDir dir;
    const std::string report = Quoted(Fixture("two-yx-3-2.out"));
    int expectedKind = 1;
    for (const char* kind : {"regression", "residual", "calc-obs", "y-z", "x-z"}) {
        const std::string picture = std::string(kind) + ".bmp";
        CommandResult result =
            RunGraph(dir, std::string("--kind ") + kind + " " + report + " " + picture);
        EXPECT_EQ(result.status, 0) << kind << result.err;
        EXPECT_TRUE(result.err.empty()) << result.err;
        const std::string bmp = ReadWhole(dir.File(picture));
        ASSERT_EQ(bmp.size(), 54u + 1872u * 465u) << kind;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        const nlohmann::json g = Geometry(dir, std::string("--kind ") + kind + " " + report);
        EXPECT_EQ(g["GraphKind"], expectedKind++);
    }
    ASSERT_EQ(RunGraph(dir, "--bw " + report + " bw.png").status, 0);
    EXPECT_EQ(ReadWhole(dir.File("bw.png")).substr(1, 3), "PNG");
}

TEST(CalcGraphCommand, KindsThatDoNotFitAreRefused) {
    TempDir dir;
    for (const char* kind : {"residual", "y-z", "x-z"}) {
        CommandResult result = RunGraph(dir, std::string("--kind ") + kind + " " +
                                                 Quoted(Fixture("one-type4.out")) + " a.bmp");
        EXPECT_EQ(result.status, 2) << kind;
        EXPECT_FALSE(result.err.empty());
    }
    // A result without breakpoint has no calculated-observed graph.
    CommandResult calcObs =
        RunGraph(dir, "--kind calc-obs " + Quoted(Fixture("one-type1.out")) + " a.bmp");
    EXPECT_EQ(calcObs.status, 2);
    EXPECT_NE(calcObs.err.find("no calculated-observed graph"), std::string::npos);
    EXPECT_EQ(
        RunGraph(dir, "--kind calc-obs " + Quoted(Fixture("one-type4.out")) + " a.bmp").status, 0);
    EXPECT_EQ(
        RunGraph(dir, "--kind sideways " + Quoted(Fixture("one-type4.out")) + " b.bmp").status, 2);
    EXPECT_EQ(RunGraph(dir, Quoted(Fixture("one-type4.out")) + " b.gif").status, 2);
    EXPECT_EQ(RunGraph(dir, Quoted(Fixture("one-type4.out"))).status, 2);
    EXPECT_EQ(RunGraph(dir, "--geometry " + Quoted(Fixture("one-type4.out")) + " c.bmp").status, 2);
    EXPECT_EQ(RunGraph(dir, "--wide " + Quoted(Fixture("one-type4.out")) + " c.bmp").status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("b.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("c.bmp")));
    EXPECT_EQ(RunGraph(dir, "--help").status, 0);
}

TEST(CalcGraphCommand, UnreadableReportsAndMissingDataHaveTheirStatuses) {
    TempDir dir;
    std::ofstream(dir.File("other.out"), std::ios::binary) << "one\r\ntwo\r\nthree\r\n";
    CommandResult other = RunGraph(dir, "other.out a.bmp");
    EXPECT_EQ(other.status, 2);
    EXPECT_NE(other.err.find("This output file cannot be read by Brekka."), std::string::npos);
    const std::string full = ReadWhole(Fixture("one-type4.out"));
    std::ofstream(dir.File("cut.out"), std::ios::binary) << full.substr(0, full.size() / 2);
    EXPECT_EQ(RunGraph(dir, "cut.out a.bmp").status, 2);
    EXPECT_EQ(RunGraph(dir, "missing.out a.bmp").status, 2);
    // A table without rows: absence of data, nothing written.
    std::ofstream(dir.File("empty.out"), std::ios::binary)
        << full.substr(0, full.find("\r\n   1  ") + 2);
    CommandResult empty = RunGraph(dir, "empty.out a.bmp");
    EXPECT_EQ(empty.status, 3);
    EXPECT_NE(empty.err.find("Graph could not be made due to absence of data variation"),
              std::string::npos);
    EXPECT_EQ(RunGraph(dir, "--geometry empty.out").status, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.bmp")));
    EXPECT_EQ(RunGraph(dir, Quoted(Fixture("one-type4.out")) + " no/such/dir/a.bmp").status, 1);
}

TEST(CalcGraphCommand, GeometryOfAOneVariableTypeFour) {
    TempDir dir;
    nlohmann::json g = Geometry(dir, Quoted(Fixture("one-type4.out")));
    EXPECT_EQ(g["PlotMode"], 0);
    EXPECT_EQ(g["ShownType"], 4);
    EXPECT_EQ(g["ShownMethod"], 2);
    EXPECT_EQ(g["NrOfData"], 40);
    EXPECT_EQ(g["ConfPercent"], 90);
    // The report's first row: X 92, Yobs 4.36.
    EXPECT_EQ(g["Points"][0][0], 92.0);
    EXPECT_EQ(g["Points"][0][1], 4.36);
    EXPECT_EQ(g["BPScaled"], 78.86);
    EXPECT_EQ(g["Line"].size(), 3u);
    EXPECT_EQ(g["Line"][1][0], 78.86);
    EXPECT_EQ(g["Belts"].size(), 2u);
    EXPECT_EQ(g["Belts"][0].size(), 6u);
    // Type 4, factor 1: 78.86 -/+ 1.75 / 2 x St.Err.BP 2.58.
    EXPECT_DOUBLE_EQ(g["Block"]["BlockLeft"].get<double>(), 78.86 - 1.75 * 2.58);
    EXPECT_DOUBLE_EQ(g["Block"]["BlockRight"].get<double>(), 78.86 + 2 * 2.58);
    EXPECT_EQ(g["XTicks"].size(), g["XIntervals"].get<int>() + 1u);
    EXPECT_EQ(g["YTicks"][0][0], 80);
    EXPECT_EQ(g["Captions"][0][0], "90% confidence belt is shown");
    EXPECT_EQ(g["Captions"][1][0], "Relation of Type 4");
    EXPECT_EQ(g["Captions"][2][0], "90% confidence block");
    EXPECT_EQ(g["Title1"], " Wheat yield against depth of the water table, made-up field plots");

    nlohmann::json bare = Geometry(dir, "--no-belt --no-block " + Quoted(Fixture("one-type4.out")));
    ASSERT_EQ(bare["Captions"].size(), 1u);
    EXPECT_EQ(bare["Captions"][0][0], "Relation of Type 4");
    EXPECT_EQ(bare["Belts"], g["Belts"]);
    EXPECT_EQ(bare["Block"], g["Block"]);

    nlohmann::json calcObs = Geometry(dir, "--kind calc-obs " + Quoted(Fixture("one-type4.out")));
    EXPECT_EQ(calcObs["PlotMode"], 18);
    EXPECT_EQ(calcObs["ShownType"], 1);
    EXPECT_EQ(calcObs["ShownMethod"], 0);
    EXPECT_TRUE(calcObs["Belts"].is_null());
    EXPECT_EQ(calcObs["Captions"][2][0], "Expl. coeff    0.935");
    EXPECT_EQ(calcObs["XLabel"], "Ycalc");
}

TEST(CalcGraphCommand, GeometryOfTwoVariablePlots) {
    TempDir dir;
    const std::string report = Quoted(Fixture("two-yx-3-2.out"));
    nlohmann::json xz = Geometry(dir, "--kind x-z " + report);
    EXPECT_EQ(xz["PlotMode"], 21);
    EXPECT_TRUE(xz["Line"].is_null());
    EXPECT_TRUE(xz["BPScaled"].is_null());
    ASSERT_EQ(xz["Captions"].size(), 2u);
    EXPECT_EQ(xz["Captions"][0][0], "Corr. Coeff. sq.");
    // Corr.Coeff.Sq. 2.94E-003 as a real field of width 6 with 3 decimals.
    EXPECT_EQ(xz["Captions"][1][0], " 0.003");
    nlohmann::json residual = Geometry(dir, "--kind residual " + report);
    EXPECT_EQ(residual["PlotMode"], 14);
    EXPECT_EQ(residual["ShownType"], 2);
    EXPECT_EQ(residual["BPScaled"], 10.21);
    EXPECT_EQ(residual["YLabel"], "YXr residuals");
    nlohmann::json yz = Geometry(dir, "--kind regression " + Quoted(Fixture("two-yz-6-6.out")));
    EXPECT_EQ(yz["PlotMode"], 12);
    EXPECT_EQ(yz["XLabel"], "Z-Data");
    EXPECT_EQ(yz["Belts"].size(), 4u);
    EXPECT_EQ(yz["Line"].size(), 4u);
    EXPECT_EQ(yz["Captions"][0][0], "Relation of Type 6");
}

} // namespace
