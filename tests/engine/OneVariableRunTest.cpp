// Whole one-variable runs on data sets made in code: the search's choice of
// function type, its thresholds, and the report and .var files it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "data/DataModule.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "engine/CalculationState.h"
#include "engine/EngineTestSupport.h"
#include "engine/OneVariableRegression.h"

using namespace brekka;
using brekka::testing::FitRange;
using brekka::testing::ReadLines;
using brekka::testing::Wobble;

namespace {

struct DataSet {
    std::vector<double> y, x;
};

// X = 1..n with Y from a shape plus small wobbles.
template <typename Shape> DataSet Make(int n, double noise, Shape shape) {
    DataSet d;
    for (int i = 1; i <= n; ++i) {
        d.x.push_back(i);
        d.y.push_back(shape(static_cast<double>(i)) + noise * Wobble(i));
    }
    return d;
}

class OneVariableRunTest : public ::testing::Test {
protected:
    brekka::testing::ScratchDirectory dir;
    RecordingMessageSink messages;
    TDMBrekka data{messages};
    RunSettings settings;
    CalculationState state;

    RunStatus Run(const DataSet& d, const std::string& name = "run") {
        brekka::testing::FillDataSet(data, d.y, d.x);
        data.FileName = dir.File(name + ".inp");
        OneVariableEngine engine(data, settings, state);
        const RunStatus status = engine.RunOneVariableRegression();
        type6Kind = engine.Type6Kind;
        search = engine.Search();
        return status;
    }

    std::vector<std::string> Out(const std::string& name = "run") {
        return ReadLines(dir.File(name + ".out"));
    }
    std::vector<std::string> Var(const std::string& name = "run") {
        return ReadLines(dir.File(name + ".var"));
    }

    int type6Kind = 0;
    OneVariableSearch search;
};

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

// The observation rows after the table's dashed line.
std::vector<std::string> ObservationRows(const std::vector<std::string>& lines) {
    auto dash =
        std::find(lines.begin(), lines.end(), " ----------------------------------------------");
    if (dash == lines.end()) {
        return {};
    }
    return {dash + 1, lines.end()};
}

struct Observation {
    int serial;
    double y, x, ycalc;
    std::string ycalcText;
};

Observation ParseObservation(const std::string& row) {
    Observation o;
    o.serial = std::stoi(row.substr(0, 4));
    o.y = std::stod(row.substr(10, 12));
    o.x = std::stod(row.substr(22, 12));
    o.ycalcText = row.substr(34, 12);
    o.ycalc = std::stod(o.ycalcText);
    return o;
}

double NumberAfter(const std::string& line, const std::string& label) {
    const size_t at = line.find(label);
    EXPECT_NE(at, std::string::npos) << line;
    return std::stod(line.substr(at + label.size()));
}

const std::string* LineStarting(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& l : lines) {
        if (l.rfind(start, 0) == 0) {
            return &l;
        }
    }
    return nullptr;
}

TEST(OneVariableWeight, TableEdges) {
    EXPECT_EQ(OneVariableWeightFactor(10), 1.1);
    EXPECT_EQ(OneVariableWeightFactor(20), 1.1);
    EXPECT_EQ(OneVariableWeightFactor(21), 1.05);
    EXPECT_EQ(OneVariableWeightFactor(29), 1.05);
    EXPECT_EQ(OneVariableWeightFactor(30), 1.02);
    EXPECT_EQ(OneVariableWeightFactor(49), 1.02);
    EXPECT_EQ(OneVariableWeightFactor(50), 1.01);
    EXPECT_EQ(OneVariableWeightFactor(99), 1.01);
    EXPECT_EQ(OneVariableWeightFactor(100), 1.0);
    EXPECT_EQ(OneVariableWeightFactor(2000), 1.0);
}

// --- the search chooses the type its data were made of ---

TEST_F(OneVariableRunTest, NoiseOnlyIsNoRelation) {
    // A repeating pattern without trend: the slope is far from significant.
    const std::vector<double> pattern{0.7, -1.1, 0.4, 1.2, -0.9, -0.3};
    DataSet d;
    for (int i = 0; i < 36; ++i) {
        d.x.push_back(i + 1);
        d.y.push_back(5 + pattern[i % 6]);
    }
    ASSERT_EQ(Run(d), RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 0);
    EXPECT_FALSE(state.SeparationFlag);
    EXPECT_TRUE(Contains(
        Out(), " Function type : 0  - a horizontal regression line, no breakpoint found."));
}

TEST_F(OneVariableRunTest, RoundingBelowZeroDoesNotLetRejectedCandidatesWin) {
    // Symmetric data without any linear relation: the CE of the line comes out a
    // hair below 0, and candidates that fail their tests carry a CE of 0.
    DataSet d;
    for (int i = 0; i < 77; ++i) {
        const double x = (i - 38) * 2.9;
        d.x.push_back(x);
        d.y.push_back(std::cos(0.1 * x * x) + 5);
    }
    ASSERT_EQ(Run(d), RunStatus::Completed);
    EXPECT_LT(state.chosenType, 2);
    EXPECT_EQ(search.CE1, 0.0);
}

TEST_F(OneVariableRunTest, StraightLineIsTypeOne) {
    ASSERT_EQ(Run(Make(40, 0.3, [](double x) { return 2 + 0.5 * x; })), RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 1);
    EXPECT_EQ(state.BestBP, 1);
    EXPECT_TRUE(state.SeparationFlag);
    EXPECT_TRUE(
        Contains(Out(), " Function type : 1  - a single regression line, no breakpoint found."));
}

TEST_F(OneVariableRunTest, VeeIsTypeTwo) {
    ASSERT_EQ(Run(Make(40, 0.3, [](double x) { return std::fabs(x - 20); })), RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 2);
    EXPECT_NEAR(state.BestBP, 20, 1.5);
    EXPECT_TRUE(Contains(
        Out(), " Function type : 2  - two connected segments with lines of different slope."));
}

TEST_F(OneVariableRunTest, FlatThenSlopingIsTypeThree) {
    ASSERT_EQ(Run(Make(40, 0.3, [](double x) { return x < 20 ? 5 : 5 + 0.8 * (x - 20); })),
              RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 3);
    EXPECT_NEAR(state.BestBP, 20, 2);
    EXPECT_TRUE(Contains(Out(), " Function type : 3  - first a horizontal segment, then sloping."));
}

TEST_F(OneVariableRunTest, SlopingThenFlatIsTypeFour) {
    ASSERT_EQ(Run(Make(40, 0.3, [](double x) { return x < 20 ? 0.8 * x : 16; })),
              RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 4);
    EXPECT_NEAR(state.BestBP, 20, 2);
    EXPECT_TRUE(Contains(Out(), " Function type : 4  - first a sloping segment, then horizontal."));
}

TEST_F(OneVariableRunTest, StepIsTypeFive) {
    ASSERT_EQ(Run(Make(40, 0.3, [](double x) { return x < 20 ? 2 : 8; })), RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 5);
    EXPECT_GT(state.BestBP, 19);
    EXPECT_LE(state.BestBP, 20);
    EXPECT_TRUE(
        Contains(Out(), " Function type : 5  - two segments with horiz. lines at diff. levels."));
}

TEST_F(OneVariableRunTest, JumpBetweenSlopingSegmentsIsTypeSix) {
    // The drop at 20 is far too large for any connected line.
    ASSERT_EQ(Run(Make(40, 0.3, [](double x) { return x < 20 ? x : 2 * (x - 20) - 10; })),
              RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 6);
    EXPECT_EQ(type6Kind, 1);
    EXPECT_TRUE(Contains(Out(), " Function type : 8  - two disconnected, sloping segments."));
}

TEST_F(OneVariableRunTest, NearlyParallelJumpIsReportedAsParallelSegments) {
    // Slopes 1 and 1.1 with errors near 0.01: parallel by T * sqrt(SE1 + SE2)
    // (about 0.2), though not by the root of the squared errors (about 0.02).
    const DataSet d = Make(40, 0.3, [](double x) { return x < 20 ? x : 1.1 * x - 25; });
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 6);
    EXPECT_EQ(type6Kind, 3);
    const auto out = Out();
    EXPECT_TRUE(Contains(out, " Function type : 7  - two disconnected, parallel segments."));
    const std::string* as = LineStarting(out, "     As = ");
    ASSERT_NE(as, nullptr);
    EXPECT_EQ(as->substr(10, 10), as->substr(32, 10)); // As and Ag equal

    // The right side takes the left slope when the left error is not smaller.
    const auto left = FitRange(d.y, d.x, -1e9, state.BestBP);
    const auto right = FitRange(d.y, d.x, state.BestBP, 1e9);
    const double se1 = std::sqrt(left.ssd / ((left.n - 2) * left.ssx));
    const double se2 = std::sqrt(right.ssd / ((right.n - 2) * right.ssx));
    const double common = se1 >= se2 ? left.slope : right.slope;
    EXPECT_NEAR(NumberAfter(*as, "As = "), common, 5e-3);
}

TEST_F(OneVariableRunTest, BendFromHalfToMinusThreeTenthsIsTypeTwoNearSixty) {
    // 1000 data on a line that rises by 0.5 and falls by 0.3 beyond X = 60: the side
    // right of any breakpoint below 60 still rises and falls, so its own regression
    // is far from flat and no sloping-then-horizontal function may stand in for it.
    DataSet d;
    for (int i = 1; i <= 1000; ++i) {
        const double x = 0.1 * i;
        d.x.push_back(x);
        d.y.push_back((x < 60 ? 0.5 * x : 30 - 0.3 * (x - 60)) + Wobble(i));
    }
    ASSERT_EQ(Run(d), RunStatus::Completed);
    EXPECT_EQ(state.chosenType, 2);
    EXPECT_NEAR(state.BestBP, 60, 0.5);
}

TEST_F(OneVariableRunTest, BreakpointErrorFollowsTheUnitsOfXOnly) {
    // A vee at 20.3: the same data in other units of Y, other units of X and with X
    // shifted far beyond 1 000 000 (either way) give the same function, the
    // breakpoint moved with X and its standard error in units of X.
    const DataSet base = Make(40, 0.3, [](double x) { return 3 * std::fabs(x - 20.3); });
    ASSERT_EQ(Run(base), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 2);
    const double bp = state.BestBP;
    const double error = state.StErrBP;
    ASSERT_GT(error, 0);

    struct Change {
        double yScale, xScale, xShift;
    };
    for (const Change c : {Change{1000, 1, 0}, Change{0.001, 1, 0}, Change{1, 1000, 0},
                           Change{1, 1, 2000000}, Change{1, 1, -3000000}}) {
        DataSet d = base;
        for (size_t i = 0; i < d.x.size(); ++i) {
            d.y[i] *= c.yScale;
            d.x[i] = d.x[i] * c.xScale + c.xShift;
        }
        const std::string what = std::to_string(c.yScale) + " " + std::to_string(c.xScale) + " " +
                                 std::to_string(c.xShift);
        ASSERT_EQ(Run(d), RunStatus::Completed) << what;
        EXPECT_EQ(state.chosenType, 2) << what;
        EXPECT_NEAR(state.BestBP, bp * c.xScale + c.xShift, 1e-6 * c.xScale) << what;
        // Far from 0 the kernel's raw sums lose some digits.
        EXPECT_NEAR(state.StErrBP, error * c.xScale, 1e-4 * error * c.xScale) << what;
    }
}

TEST_F(OneVariableRunTest, ConstantXBeyondAMillionIsRefused) {
    for (double x : {5000000.0, -5000000.0}) {
        messages.messages.clear();
        DataSet d;
        for (int i = 0; i < 12; ++i) {
            d.x.push_back(x);
            d.y.push_back(i % 3);
        }
        EXPECT_EQ(Run(d), RunStatus::Refused) << x;
        ASSERT_EQ(messages.messages.size(), 1u) << x;
        EXPECT_EQ(messages.messages[0], "The database is not fit for regression analysis. There "
                                        "is no variation in X-values. Please correct the input "
                                        "file.");
        EXPECT_FALSE(std::filesystem::exists(dir.File("run.out")));
    }
}

TEST_F(OneVariableRunTest, BreakpointAtMinusNinetyNineThousandNineHundredNinetyNine) {
    // X from -100049 to -99949 in steps of 1, so that the candidates are whole
    // numbers, and a vee at -99999: the breakpoint is written -99999.000, which is
    // a breakpoint and not the record of a result without one.
    DataSet d;
    for (int i = 0; i <= 100; ++i) {
        const double x = -100049.0 + i;
        d.x.push_back(x);
        d.y.push_back(2 * std::fabs(x + 99999) + 0.2 * Wobble(i));
    }
    ASSERT_EQ(Run(d, "far"), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 2);
    ASSERT_EQ(state.BestBP, -99999);
    EXPECT_EQ(Var("far")[4], "  -99999.000");

    brekka::testing::FillDataSet(data, d.y, d.x);
    data.FileName = dir.File("far.inp");
    Calculation calculation(data, settings);
    ASSERT_EQ(calculation.Run(true), CalculationStatus::Completed);
    ASSERT_EQ(calculation.State().BestBP, -99999);
    const auto table = Var("far");
    EXPECT_TRUE(Contains(table, " extra expl. by"));
    EXPECT_TRUE(Contains(table, " total expl. by"));
}

// --- thresholds ---

TEST_F(OneVariableRunTest, ThresholdsChainWhenNothingIsAccepted) {
    const DataSet d = Make(40, 0.3, [](double x) { return 2 + 0.5 * x; });
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 1);
    const double W = 1.02; // 40 data
    EXPECT_EQ(state.WeightFactor, W);
    const double ce1 = FitRange(d.y, d.x).r2;
    EXPECT_NEAR(search.CE1, ce1, 1e-12);
    EXPECT_NEAR(search.M3, W * ce1, 1e-12);
    EXPECT_NEAR(search.M4, W * ce1, 1e-12);
    EXPECT_NEAR(search.M5, 1.1 * W * W * ce1, 1e-12);
    EXPECT_NEAR(search.M2, 1.1 * W * 1.1 * W * W * ce1, 1e-12);
    EXPECT_NEAR(search.M6, 1.1 * W * 1.1 * W * 1.1 * W * W * ce1, 1e-12);
}

TEST_F(OneVariableRunTest, HeaderListsEveryExcludedAndPreferredType) {
    settings.XChoices.excluded[2] = true;
    settings.XChoices.excluded[3] = true;
    settings.XChoices.preferred[4] = true;
    ASSERT_EQ(Run(Make(25, 0.3, [](double x) { return 2 + 0.5 * x; })), RunStatus::Completed);
    const auto out = Out();
    EXPECT_TRUE(Contains(out, " X-type excluded: 2  3 "));
    EXPECT_TRUE(Contains(out, " X-type preferred: 4 "));
}

TEST_F(OneVariableRunTest, ExcludedTypeFivePassesThresholdOnUnmultiplied) {
    settings.XChoices.excluded[5] = true;
    settings.XChoices.preferred[3] = true;
    const DataSet d = Make(25, 0.3, [](double x) { return 2 + 0.5 * x; });
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 1);
    const double W = 1.05;
    const double ce1 = FitRange(d.y, d.x).r2;
    EXPECT_NEAR(search.M3, ce1, 1e-12); // preferred: no weight
    EXPECT_NEAR(search.M5, ce1, 1e-12);
    EXPECT_NEAR(search.M2, 1.1 * W * ce1, 1e-12);
    const auto out = Out();
    EXPECT_TRUE(Contains(out, " X-type excluded: 5 "));
    EXPECT_TRUE(Contains(out, " X-type preferred: 3 "));
}

TEST_F(OneVariableRunTest, EqualFitsAcrossAGapGoToTheFirstCandidate) {
    // No data between X = 40 and X = 60: every candidate in the gap splits the
    // data alike and gives the same CE; the first one must win. Types 3 and 4
    // would reach nearly the same fit with a sloping side across the gap.
    settings.XChoices.excluded[3] = true;
    settings.XChoices.excluded[4] = true;
    DataSet d;
    for (int i = 0; i <= 20; ++i) {
        d.x.push_back(2 * i);
        d.y.push_back(2 + 0.1 * Wobble(i));
        d.x.push_back(60 + 2 * i);
        d.y.push_back(8 + 0.1 * Wobble(i + 30));
    }
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 5);
    const double step = 100.0 / 100;
    int first = 0;
    while (first * step <= 40) {
        ++first;
    }
    EXPECT_NEAR(state.BestBP, first * step, 1e-12);
}

// --- the report and the .var file ---

TEST_F(OneVariableRunTest, LineWithoutBreakpointWritesFiveVarLinesAndOneTableBlock) {
    const DataSet d = Make(40, 0.3, [](double x) { return 2 + 0.5 * x; });
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 1);
    EXPECT_EQ(data.FileName, dir.File("run.var"));

    const auto var = Var();
    ASSERT_EQ(var.size(), 5u);
    EXPECT_EQ(var[0], " 1");
    EXPECT_EQ(var[1], "   40");
    const auto ref = FitRange(d.y, d.x);
    ASSERT_EQ(var[2].size(), 12u);
    ASSERT_EQ(var[3].size(), 12u);
    EXPECT_NEAR(std::stod(var[2]), ref.ssy, 5e-3 * ref.ssy);
    EXPECT_NEAR(std::stod(var[3]), ref.ssd, 5e-3 * ref.ssd);
    EXPECT_EQ(var[4], " -99999");

    const auto out = Out();
    EXPECT_EQ(std::count_if(out.begin(), out.end(),
                            [](const std::string& l) { return l.rfind(" BPx=", 0) == 0; }),
              1);
    EXPECT_FALSE(Contains(out, " Results of regression of Y upon X with optimal breakpoint (BPx)"));
    EXPECT_FALSE(Contains(out, " Data with X < BPx :"));
    // Equation of the plain regression.
    const std::string* a = LineStarting(out, "      A = ");
    ASSERT_NE(a, nullptr);
    EXPECT_NEAR(NumberAfter(*a, "A = "), ref.slope, 5e-3 * std::fabs(ref.slope));
    EXPECT_NEAR(NumberAfter(*a, "C = "), ref.intercept, 5e-3 * std::fabs(ref.intercept));
}

TEST_F(OneVariableRunTest, BreakpointResultWritesSixVarLinesAndTwoSidedTable) {
    const DataSet d = Make(40, 0.3, [](double x) { return x < 20 ? 2 : 8; });
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 5);
    const auto var = Var();
    ASSERT_EQ(var.size(), 6u);
    EXPECT_EQ(var[0], " 1");
    EXPECT_EQ(var[1], "   40");
    ASSERT_EQ(var[4].size(), 12u);
    EXPECT_NEAR(std::stod(var[4]), state.BestBP, 0.0005);
    // Two horizontal lines: the residual sum is each side's spread about its mean.
    const double ssd =
        FitRange(d.y, d.x, -1e9, state.BestBP).ssy + FitRange(d.y, d.x, state.BestBP, 1e9).ssy;
    EXPECT_NEAR(std::stod(var[5]), ssd, 0.0005 + 1e-6 * ssd);

    const auto out = Out();
    EXPECT_TRUE(Contains(out, " Results of regression of Y upon X with optimal breakpoint (BPx)"));
    EXPECT_TRUE(Contains(out, " Data with X < BPx :"));
    EXPECT_TRUE(Contains(out, " Data with X > BPx :"));
    EXPECT_EQ(std::count_if(out.begin(), out.end(),
                            [](const std::string& l) { return l.rfind(" BPx=", 0) == 0; }),
              3);
}

TEST_F(OneVariableRunTest, NoRelationShowsAverageAsConstantAndEveryCalculatedValue) {
    const std::vector<double> pattern{0.7, -1.1, 0.4, 1.2, -0.9, -0.3};
    DataSet d;
    for (int i = 0; i < 36; ++i) {
        d.x.push_back(0.5 * i - 3);
        d.y.push_back(-7 + pattern[(i * 5) % 6]);
    }
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 0);
    const double average = FitRange(d.y, d.x).avY;
    const auto out = Out();
    const std::string* a = LineStarting(out, "      A = ");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(NumberAfter(*a, "A = "), 0);
    EXPECT_NEAR(NumberAfter(*a, "C = "), average, 5e-3 * std::fabs(average));
    const auto rows = ObservationRows(out);
    ASSERT_EQ(rows.size(), d.x.size());
    for (const std::string& row : rows) {
        const Observation o = ParseObservation(row);
        EXPECT_NEAR(o.ycalc, average, 5e-3 * std::fabs(average)) << row;
        EXPECT_EQ(o.ycalcText, ParseObservation(rows[0]).ycalcText);
    }
    EXPECT_EQ(Var().back(), " -99999");
}

TEST_F(OneVariableRunTest, DatumAtBreakpointIsCalculatedWithRightEquation) {
    // X 0..100 puts every candidate on an integer, so a datum sits on BestBP.
    DataSet d;
    for (int i = 0; i <= 100; ++i) {
        d.x.push_back(i);
        d.y.push_back((i < 50 ? 0 : 10) + 0.3 * Wobble(i));
    }
    ASSERT_EQ(Run(d), RunStatus::Completed);
    ASSERT_EQ(state.chosenType, 5);
    ASSERT_EQ(state.BestBP, 50);
    const double right = FitRange(d.y, d.x, 50, 1e9).avY;
    const double left = FitRange(d.y, d.x, -1e9, 50).avY;
    const auto rows = ObservationRows(Out());
    ASSERT_EQ(rows.size(), 101u);
    const Observation at = ParseObservation(rows[50]);
    EXPECT_EQ(at.x, 50);
    EXPECT_NEAR(at.ycalc, right, 5e-3 * right);
    EXPECT_NEAR(ParseObservation(rows[49]).ycalc, left, 0.05);
    // The side table counts the datum on the right: 50 left, 51 right.
    const auto out = Out();
    auto it = std::find(out.begin(), out.end(), " Data with X > BPx :");
    ASSERT_NE(it, out.end());
    ASSERT_NE(it + 1, out.end());
    EXPECT_EQ(std::stod((it + 1)->substr(12, 22)), 51);
}

TEST_F(OneVariableRunTest, NoVariationInXIsRefusedWithoutFiles) {
    DataSet d;
    for (int i = 0; i < 12; ++i) {
        d.x.push_back(3.0 + (i % 2) * 0.0009);
        d.y.push_back(i);
    }
    EXPECT_EQ(Run(d), RunStatus::Refused);
    EXPECT_TRUE(settings.NoVariationFlag);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], "The database is not fit for regression analysis. There is no "
                                    "variation in X-values. Please correct the input file.");
    EXPECT_FALSE(std::filesystem::exists(dir.File("run.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("run.var")));
}

TEST_F(OneVariableRunTest, ValuesAbove1E150AreRefusedWithoutFiles) {
    for (int column = 0; column < 2; ++column) {
        messages.messages.clear();
        DataSet d = Make(12, 0.3, [](double x) { return x; });
        (column == 0 ? d.y : d.x)[5] = -2e150;
        EXPECT_EQ(Run(d), RunStatus::Refused);
        EXPECT_TRUE(settings.NoVariationFlag);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0],
                  "The database is not fit for regression analysis. Values above 1E150 in "
                  "magnitude cannot be handled. Please correct the input file.");
        EXPECT_FALSE(std::filesystem::exists(dir.File("run.out")));
        EXPECT_FALSE(std::filesystem::exists(dir.File("run.var")));
    }
    // 1E150 itself is still handled.
    DataSet d = Make(12, 0.3, [](double x) { return x; });
    d.y[5] = 1e150;
    EXPECT_EQ(Run(d), RunStatus::Completed);
    EXPECT_FALSE(settings.NoVariationFlag);
}

TEST_F(OneVariableRunTest, AllYEqualWritesNoNonFiniteNumbers) {
    for (int n : {10, 40}) {
        DataSet d;
        for (int i = 0; i < n; ++i) {
            d.x.push_back(i * 0.25);
            d.y.push_back(3.5);
        }
        const std::string name = "flat" + std::to_string(n);
        ASSERT_EQ(Run(d, name), RunStatus::Completed);
        EXPECT_LT(state.chosenType, 2);
        const std::string out = brekka::testing::ReadWhole(dir.File(name + ".out"));
        const std::string var = brekka::testing::ReadWhole(dir.File(name + ".var"));
        EXPECT_FALSE(brekka::testing::HasNonFinite(out)) << out;
        EXPECT_FALSE(brekka::testing::HasNonFinite(var)) << var;
        for (const std::string& row : ObservationRows(Out(name))) {
            EXPECT_EQ(ParseObservation(row).ycalc, 3.5);
        }
    }
}

TEST_F(OneVariableRunTest, CalculationNamesTheReportAfterwards) {
    brekka::testing::FillDataSet(data, {1, 2, 4, 3, 5, 7, 6, 8, 9, 11},
                                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    data.FileName = dir.File("calc.inp");
    Calculation calculation(data, settings);
    ASSERT_EQ(calculation.Run(false), CalculationStatus::Completed);
    EXPECT_EQ(data.FileName, dir.File("calc.out"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("calc.var")));
    const auto out = Out("calc");
    EXPECT_TRUE(Contains(out, " Name of this output file:  " + dir.File("calc.out")));
    EXPECT_TRUE(Contains(out, " Name of input file used :  " + dir.File("calc.inp")));
    EXPECT_TRUE(Contains(out, " Minimum confidence % : 90"));
}

TEST_F(OneVariableRunTest, CalculationRefusalKeepsInputNameAndWritesNothing) {
    brekka::testing::FillDataSet(data, {1, 2, 3, 4, 5}, {2, 2, 2, 2, 2});
    data.FileName = dir.File("still.inp");
    Calculation calculation(data, settings);
    EXPECT_EQ(calculation.Run(false), CalculationStatus::Refused);
    EXPECT_TRUE(settings.NoVariationFlag);
    EXPECT_EQ(data.FileName, dir.File("still.inp"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("still.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("still.var")));
}

TEST_F(OneVariableRunTest, CalculationRefusesResultFilesAsInput) {
    // The results are named by replacing the extension, so they would overwrite
    // an input file named like one of them.
    for (const std::string name : {"data.out", "data.var", "DATA.OUT", "Data.Var"}) {
        messages.messages.clear();
        brekka::testing::FillDataSet(data, {1, 2, 4, 3, 5, 7, 6, 8, 9, 11},
                                     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        data.FileName = dir.File(name);
        { std::ofstream(data.FileName, std::ios::binary) << "keep me"; }
        Calculation calculation(data, settings);
        EXPECT_EQ(calculation.Run(true), CalculationStatus::Refused) << name;
        ASSERT_EQ(messages.messages.size(), 1u) << name;
        EXPECT_NE(messages.messages[0].find(dir.File(name)), std::string::npos) << name;
        EXPECT_EQ(brekka::testing::ReadWhole(dir.File(name)), "keep me") << name;
        EXPECT_EQ(data.FileName, dir.File(name));
        std::filesystem::remove(dir.File(name));
    }
}

// --- varied random data ---

TEST_F(OneVariableRunTest, VariedDataNeverWriteNonFiniteNumbersOrShiftColumns) {
    std::mt19937 gen(20240611);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(gen);
    };
    const double scales[] = {1e-150, 1e-7, 1e-3, 1, 1e3, 1e8, 1e100, 3e148};
    for (int round = 0; round < 200; ++round) {
        const int n = 10 + static_cast<int>(gen() % 191);
        const double xScale = scales[gen() % 8];
        const double yScale = scales[gen() % 8];
        const double xShift = uniform(-5, 5) * xScale;
        const bool ties = gen() % 3 == 0;
        const int shape = static_cast<int>(gen() % 4);
        const double bend = uniform(0.2, 0.8);
        DataSet d;
        for (int i = 0; i < n; ++i) {
            double u = uniform(0, 1);
            if (ties) {
                u = std::floor(u * 6) / 6;
            }
            const double trend = shape == 0   ? 0
                                 : shape == 1 ? u
                                 : shape == 2 ? std::fabs(u - bend)
                                              : (u < bend ? 0 : 1);
            d.x.push_back(xShift + u * xScale);
            d.y.push_back((uniform(-1, 1) * 0.3 + trend - 0.5) * yScale);
        }
        if (round % 10 == 9) {
            std::fill(d.y.begin(), d.y.end(), -yScale);
        }
        const std::string name = "fuzz" + std::to_string(round);
        messages.messages.clear();
        const RunStatus status = Run(d, name);
        if (status == RunStatus::Refused) {
            // Only a range of X below 0.001 may be refused here.
            EXPECT_LT(xScale, 0.01) << name;
            EXPECT_FALSE(std::filesystem::exists(dir.File(name + ".out")));
            continue;
        }
        ASSERT_EQ(status, RunStatus::Completed) << name;
        const std::string out = brekka::testing::ReadWhole(dir.File(name + ".out"));
        const std::string var = brekka::testing::ReadWhole(dir.File(name + ".var"));
        EXPECT_FALSE(brekka::testing::HasNonFinite(out)) << name << "\n" << out;
        EXPECT_FALSE(brekka::testing::HasNonFinite(var)) << name << "\n" << var;
        const auto varLines = Var(name);
        EXPECT_EQ(varLines.size(), state.chosenType < 2 ? 5u : 6u) << name;
        const auto rows = ObservationRows(Out(name));
        ASSERT_EQ(rows.size(), static_cast<size_t>(n)) << name;
        for (size_t i = 0; i < rows.size(); ++i) {
            const std::string& row = rows[i];
            ASSERT_EQ(row.size(), 46u) << name << ": " << row;
            EXPECT_EQ(std::stoi(row.substr(0, 4)), static_cast<int>(i) + 1);
            EXPECT_EQ(row.substr(4, 6), "      ");
            for (size_t field : {10u, 22u, 34u}) {
                // Each number fills its field from the right and has a mantissa,
                // an "E", a sign and three exponent digits.
                const std::string f = row.substr(field, 12);
                const size_t e = f.find('E');
                ASSERT_NE(e, std::string::npos) << row;
                EXPECT_EQ(f.size() - e, 5u) << row;
                EXPECT_TRUE(f[e + 1] == '+' || f[e + 1] == '-') << row;
            }
            const Observation o = ParseObservation(row);
            EXPECT_NEAR(o.y, d.y[i], 5e-3 * std::fabs(d.y[i]) + 1e-300) << row;
            EXPECT_NEAR(o.x, d.x[i], 5e-4 * std::fabs(d.x[i]) + 1e-300) << row;
        }
    }
}

} // namespace
