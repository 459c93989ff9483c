// Whole two-variable runs on data sets built in code. Expected values come from
// least-squares lines and broken lines computed here in a plain two-pass way,
// never from the engine's own arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "data/DataModule.h"
#include "data/Messages.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "engine/CalculationState.h"
#include "engine/TwoVariableRegression.h"
#include "support/TempDir.h"

using namespace brekka;
using brekka::testing::TempDir;

namespace {

struct Columns {
    std::vector<double> y, x, z;
};

// Deterministic generator, so every run of the tests sees the same data.
class Lcg {
public:
    explicit Lcg(std::uint64_t seed) : state_(seed * 2862933555777941757ULL + 3037000493ULL) {}
    double Uniform() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }
    double Between(double low, double high) { return low + (high - low) * Uniform(); }

private:
    std::uint64_t state_;
};

// --- independent computation of the reported functions -----------------------------

struct SideFit {
    double n = 0, avx = 0, avy = 0, sxx = 0, sxy = 0, syy = 0;
    double Slope() const { return sxx > 0 ? sxy / sxx : 0; }
    // Standard deviation of the slope of the side's own least-squares line.
    double SlopeStDev() const {
        if (sxx <= 0) {
            return 1000000.0;
        }
        const double residual = std::max(0.0, syy - sxy * sxy / sxx);
        return std::sqrt(residual / ((n - 2) * sxx));
    }
};

SideFit FitWhere(const std::vector<double>& y, const std::vector<double>& x, bool left, double bp) {
    SideFit f;
    for (size_t i = 0; i < x.size(); ++i) {
        if ((x[i] < bp) == left) {
            f.n += 1;
            f.avx += x[i];
            f.avy += y[i];
        }
    }
    if (f.n == 0) {
        return f;
    }
    f.avx /= f.n;
    f.avy /= f.n;
    for (size_t i = 0; i < x.size(); ++i) {
        if ((x[i] < bp) == left) {
            const double dx = x[i] - f.avx;
            const double dy = y[i] - f.avy;
            f.sxx += dx * dx;
            f.sxy += dx * dy;
            f.syy += dy * dy;
        }
    }
    return f;
}

// A side of a broken line, written as value = level + slope * (x - through).
struct Segment {
    double through = 0, level = 0, slope = 0;
    double At(double x) const { return level + slope * (x - through); }
};

// The function a stage reports for its type, method and breakpoint: the side
// regressions shaped as the type prescribes; data equal to the breakpoint
// belong to the right side, a stage without breakpoint has only a right side.
struct StageFunction {
    Segment left, right;
    double bp = 0;
    double At(double x) const { return x < bp ? left.At(x) : right.At(x); }
};

StageFunction ExpectedStage(const std::vector<double>& y, const std::vector<double>& x, int type,
                            int method, double bp, double criticalValue) {
    StageFunction f;
    f.bp = bp;
    const SideFit l = FitWhere(y, x, true, bp);
    const SideFit r = FitWhere(y, x, false, bp);
    f.left = {l.avx, l.avy, l.Slope()};
    f.right = {r.avx, r.avy, r.Slope()};
    switch (type) {
    case 0:
        f.right.slope = 0;
        break;
    case 2:
        if (method == 1) {
            const double ybp = f.left.At(bp);
            f.right.slope = (r.avy - ybp) / (r.avx - bp);
        } else {
            const double ybp = f.right.At(bp);
            f.left.slope = (ybp - l.avy) / (bp - l.avx);
        }
        break;
    case 3:
        if (method == 1) {
            f.left = {bp, f.right.At(bp), 0};
        } else {
            f.left.slope = 0;
            f.right = {bp, l.avy, (r.avy - l.avy) / (r.avx - bp)};
        }
        break;
    case 4:
        if (method == 1) {
            f.right = {bp, f.left.At(bp), 0};
        } else {
            f.right.slope = 0;
            f.left = {bp, r.avy, (r.avy - l.avy) / (bp - l.avx)};
        }
        break;
    case 5:
        f.left.slope = 0;
        f.right.slope = 0;
        break;
    case 6:
        if (std::fabs(f.left.slope) < criticalValue * l.SlopeStDev()) {
            f.left.slope = 0;
        }
        if (std::fabs(f.right.slope) < criticalValue * r.SlopeStDev()) {
            f.right.slope = 0;
        }
        break;
    default:
        break;
    }
    return f;
}

double SumOfSquaresAboutMean(const std::vector<double>& v) {
    double mean = 0;
    for (double e : v) {
        mean += e;
    }
    mean /= static_cast<double>(v.size());
    double ss = 0;
    for (double e : v) {
        ss += (e - mean) * (e - mean);
    }
    return ss;
}

// --- files ------------------------------------------------------------------------

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadWhole(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

int CountLines(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

int CountPrefixed(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// The number after `label` on the first line that starts with it.
double NumberAfter(const std::vector<std::string>& lines, const std::string& label) {
    for (const std::string& line : lines) {
        if (line.rfind(label, 0) == 0) {
            return std::strtod(line.c_str() + label.size(), nullptr);
        }
    }
    ADD_FAILURE() << "no line starts with \"" << label << "\"";
    return 0;
}

// --- data sets --------------------------------------------------------------------

// Grid value j of a column spread over 0..10 in 100 steps, made exactly as the
// candidate breakpoints are, so data fall on the breakpoints themselves.
double Grid(int j) {
    return j * ((10.0 - 0.0) / 100) + 0.0;
}

// Two steps: `xJump` at X = 5 and `zJump` at Z = 3, every grid value taken twice
// in different pairings, with a small wobble that no line follows (not even on one
// side of a step: a level side must have no significant slope of its own).
Columns TwoSteps(double xJump, double zJump) {
    Columns c;
    for (int i = 0; i < 202; ++i) {
        const int jx = i % 101;
        const int jz = i < 101 ? (i * 37 + 11) % 101 : (i * 53 + 7) % 101;
        const double x = Grid(jx);
        const double z = Grid(jz);
        c.x.push_back(x);
        c.z.push_back(z);
        c.y.push_back((x >= 5 ? xJump : 0) + (z >= 3 ? zJump : 0) + 0.3 * std::sin(1.3 * i));
    }
    return c;
}

// Y = 2 + 3 X - 1.5 Z with noise: straight lines in both stages.
Columns Plane(int n, std::uint64_t seed) {
    Lcg random(seed);
    Columns c;
    for (int i = 0; i < n; ++i) {
        const double x = random.Between(0, 10);
        const double z = random.Between(-5, 5);
        c.x.push_back(x);
        c.z.push_back(z);
        c.y.push_back(2 + 3 * x - 1.5 * z + random.Between(-0.5, 0.5));
    }
    return c;
}

// Y alternates between 1 and -1 around a trend in X too weak to be significant;
// its average is 0.
Columns NoRelation() {
    Columns c;
    const int n = 40;
    for (int i = 0; i < n; ++i) {
        c.x.push_back(i + 1);
        c.z.push_back((7 * i + 3) % n);
        c.y.push_back((i % 2 == 0 ? 1.0 : -1.0) + 0.02 * (i + 1 - 20.5));
    }
    return c;
}

// A V in X (its straight line is flat) and noise in Z.
Columns VeeInX() {
    Lcg random(7);
    Columns c;
    for (int i = 0; i < 60; ++i) {
        const double x = Grid((i * 47) % 101);
        c.x.push_back(x);
        c.z.push_back(random.Between(0, 20));
        c.y.push_back(2 * std::fabs(x - 5) + random.Between(-0.2, 0.2));
    }
    return c;
}

Columns Swapped(Columns c) {
    std::swap(c.x, c.z);
    return c;
}

class TwoVariableRun : public ::testing::Test {
protected:
    TempDir dir;
    RecordingMessageSink messages;
    TDMBrekka data{messages};
    RunSettings settings;
    CalculationState state;
    TwoVariableEngine engine{data, settings, state};

    void Load(const Columns& c, const std::string& name = "field") {
        data.Title1 = "two variables";
        data.Title2 = "built in code";
        data.NrOfVar = 2;
        data.VarOption = 3;
        data.Resize(static_cast<int>(c.y.size()));
        data.YData = c.y;
        data.XData = c.x;
        data.ZData = c.z;
        data.FileName = dir.File(name + ".inp").string();
        inputName = data.FileName;
    }

    RunStatus Run() {
        data.FileName = inputName;
        return engine.RunTwoVariableRegression();
    }

    const TwoVariableState& Two() const { return engine.State(); }
    std::vector<std::string> Out() const { return ReadLines(std::filesystem::path(Path(".out"))); }
    std::vector<std::string> Var() const { return ReadLines(std::filesystem::path(Path(".var"))); }
    std::string Path(const std::string& extension) const {
        return ChangeFileExt(inputName, extension);
    }

    // The first and the second variable of the reported sequence.
    const std::vector<double>& U() const { return Two().Sequence == 1 ? data.XData : data.ZData; }
    const std::vector<double>& V() const { return Two().Sequence == 1 ? data.ZData : data.XData; }

    std::string inputName;
};

} // namespace

// --- weight factor ----------------------------------------------------------------

TEST(TwoVariableWeight, OwnTableDiffersFromTheOneVariableTable) {
    const std::vector<std::pair<int, double>> table = {
        {1, 1.1},   {20, 1.1},  {21, 1.08}, {29, 1.08}, {30, 1.05},
        {49, 1.05}, {50, 1.01}, {99, 1.01}, {100, 1.0}, {2000, 1.0}};
    for (const auto& [n, w] : table) {
        EXPECT_EQ(TwoVariableWeightFactor(n), w) << n << " data";
    }
}

// --- refusals and the data set ----------------------------------------------------

TEST_F(TwoVariableRun, NoVariationInEitherVariableRefusesWithoutFiles) {
    for (bool inX : {true, false}) {
        Columns c = Plane(30, 3);
        std::vector<double>& flat = inX ? c.x : c.z;
        for (size_t i = 0; i < flat.size(); ++i) {
            flat[i] = 4.2 + 0.0009 * static_cast<double>(i % 2); // range just below 0.001
        }
        Load(c, inX ? "flatx" : "flatz");
        messages.messages.clear();
        settings.NoVariationFlag = false;
        EXPECT_EQ(Run(), RunStatus::Refused);
        EXPECT_TRUE(settings.NoVariationFlag);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0],
                  "The database is not fit for regression analysis. There is no variation in X "
                  "or Z-values. Please correct the input file.");
        EXPECT_EQ(data.YData, c.y);
        EXPECT_EQ(data.XData, c.x);
        EXPECT_EQ(data.ZData, c.z);
        EXPECT_FALSE(std::filesystem::exists(Path(".out")));
        EXPECT_FALSE(std::filesystem::exists(Path(".var")));
    }
}

TEST_F(TwoVariableRun, ConstantVariableBeyondAMillionIsRefused) {
    for (bool inX : {true, false}) {
        Columns c = Plane(30, 3);
        std::vector<double>& flat = inX ? c.x : c.z;
        std::fill(flat.begin(), flat.end(), inX ? 5000000.0 : -5000000.0);
        Load(c, inX ? "farx" : "farz");
        messages.messages.clear();
        EXPECT_EQ(Run(), RunStatus::Refused) << inX;
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0],
                  "The database is not fit for regression analysis. There is no variation in X "
                  "or Z-values. Please correct the input file.");
        EXPECT_FALSE(std::filesystem::exists(Path(".out")));
    }
}

TEST_F(TwoVariableRun, VariablesFarFromZeroKeepTheirStages) {
    // The vee in X and the noise in Z, once as made and once with X beyond
    // 2 000 000 and Z below -3 000 000: the same stages, the breakpoint moved with X.
    const Columns near = VeeInX();
    Load(near, "near");
    ASSERT_EQ(Run(), RunStatus::Completed);
    const StageResult first = Two().first;
    const StageResult second = Two().second;
    const int sequence = Two().Sequence;
    ASSERT_EQ(sequence, 1);
    ASSERT_EQ(first.type, 2);

    Columns far = near;
    for (size_t i = 0; i < far.x.size(); ++i) {
        far.x[i] += 2000000;
        far.z[i] -= 3000000;
    }
    Load(far, "far");
    ASSERT_EQ(Run(), RunStatus::Completed);
    EXPECT_EQ(Two().Sequence, sequence);
    EXPECT_EQ(Two().first.type, first.type);
    EXPECT_NEAR(Two().first.bp, first.bp + 2000000, 1e-6);
    EXPECT_EQ(Two().second.type, second.type);
}

TEST_F(TwoVariableRun, DataSetHoldsItsOwnColumnsAfterEveryRun) {
    const Columns xFirst = TwoSteps(10, 4);
    const Columns zFirst = TwoSteps(4, 10);
    Columns huge = Plane(25, 5);
    huge.z[7] = 3e150;
    Columns flat = Plane(25, 6);
    std::fill(flat.x.begin(), flat.x.end(), 1.5);

    struct Case {
        const Columns* columns;
        RunStatus status;
        int sequence;
    };
    for (const Case& c :
         {Case{&xFirst, RunStatus::Completed, 1}, Case{&zFirst, RunStatus::Completed, 2},
          Case{&huge, RunStatus::Refused, 0}, Case{&flat, RunStatus::Refused, 0}}) {
        Load(*c.columns);
        ASSERT_EQ(Run(), c.status);
        if (c.status == RunStatus::Completed) {
            EXPECT_EQ(Two().Sequence, c.sequence);
        }
        // Bitwise equality: the columns travel by exchange, never by recomputation.
        EXPECT_EQ(data.YData, c.columns->y);
        EXPECT_EQ(data.XData, c.columns->x);
        EXPECT_EQ(data.ZData, c.columns->z);
    }
}

// --- sequence choice --------------------------------------------------------------

TEST_F(TwoVariableRun, SequenceFollowsTheBetterFirstStageAndTiesGoToZ) {
    Load(TwoSteps(10, 4));
    ASSERT_EQ(Run(), RunStatus::Completed);
    EXPECT_EQ(Two().Sequence, 1);

    Load(TwoSteps(4, 10));
    ASSERT_EQ(Run(), RunStatus::Completed);
    EXPECT_EQ(Two().Sequence, 2);

    // Identical columns give identical first stages: the tie reports Y-Z-X.
    Columns same = Plane(45, 11);
    same.z = same.x;
    Load(same);
    ASSERT_EQ(Run(), RunStatus::Completed);
    EXPECT_EQ(Two().Sequence, 2);
    const std::vector<std::string> out = Out();
    EXPECT_EQ(CountLines(out, " SUMMARY OF THE Y-Z-X REGRESSION."), 1);
}

// --- residuals and combined equations ---------------------------------------------

TEST_F(TwoVariableRun, StraightStagesLeaveResidualsOfTheLeastSquaresLine) {
    for (bool swap : {false, true}) {
        const Columns c = swap ? Swapped(Plane(60, 21)) : Plane(60, 21);
        Load(c);
        ASSERT_EQ(Run(), RunStatus::Completed);
        ASSERT_EQ(Two().first.type, 1);
        ASSERT_EQ(Two().second.type, 1);
        // X carries the larger effect, so its stage comes first.
        EXPECT_EQ(Two().Sequence, swap ? 2 : 1);

        const StageFunction f1 = ExpectedStage(c.y, U(), 1, 0, Two().first.bp, 1.75);
        std::vector<double> r(c.y.size());
        for (size_t i = 0; i < r.size(); ++i) {
            r[i] = c.y[i] - f1.At(U()[i]);
            EXPECT_NEAR(Two().FirstResiduals[i], r[i], 1e-9) << i;
        }
        const StageFunction f2 = ExpectedStage(r, V(), 1, 0, Two().second.bp, 1.75);
        for (size_t i = 0; i < r.size(); ++i) {
            EXPECT_NEAR(Two().KeptY[i], f1.At(U()[i]) + f2.At(V()[i]), 1e-9) << i;
        }

        // With a second stage without breakpoint the first-stage function is
        // Ag U + Cgs; the printed coefficients carry three digits.
        const std::vector<std::string> out = Out();
        const double ag = NumberAfter(out, "      Ag =");
        const double cgs = NumberAfter(out, "     Cgs =");
        for (size_t i = 0; i < r.size(); ++i) {
            const double u = U()[i];
            const double tolerance = 6e-3 * (std::fabs(ag * u) + std::fabs(cgs)) + 1e-9;
            EXPECT_NEAR(Two().FirstResiduals[i], c.y[i] - (ag * u + cgs), tolerance) << i;
        }
    }
}

TEST_F(TwoVariableRun, DataOnTheBreakpointsUseTheGreaterSide) {
    for (bool swap : {false, true}) {
        const Columns c = swap ? Swapped(TwoSteps(10, 4)) : TwoSteps(10, 4);
        Load(c);
        ASSERT_EQ(Run(), RunStatus::Completed);
        ASSERT_EQ(Two().Sequence, swap ? 2 : 1);
        // Two levels in both stages: the sides differ by a whole step at the breakpoint.
        ASSERT_EQ(Two().first.type, 5);
        ASSERT_EQ(Two().second.type, 5);
        EXPECT_EQ(Two().first.bp, Grid(50));
        EXPECT_EQ(Two().second.bp, Grid(30));

        const StageFunction f1 = ExpectedStage(c.y, U(), 5, 0, Two().first.bp, 1.75);
        std::vector<double> r(c.y.size());
        for (size_t i = 0; i < r.size(); ++i) {
            r[i] = c.y[i] - f1.At(U()[i]);
        }
        const StageFunction f2 = ExpectedStage(r, V(), 5, 0, Two().second.bp, 1.75);
        int onFirst = 0;
        int onSecond = 0;
        for (size_t i = 0; i < r.size(); ++i) {
            EXPECT_NEAR(Two().FirstResiduals[i], r[i], 1e-9) << i;
            EXPECT_NEAR(Two().KeptY[i], f1.At(U()[i]) + f2.At(V()[i]), 1e-9) << i;
            if (U()[i] == Two().first.bp) {
                ++onFirst;
                EXPECT_NEAR(Two().KeptY[i], f1.right.At(U()[i]) + f2.At(V()[i]), 1e-9);
            }
            if (V()[i] == Two().second.bp) {
                ++onSecond;
                EXPECT_NEAR(Two().KeptY[i], f1.At(U()[i]) + f2.right.At(V()[i]), 1e-9);
            }
        }
        EXPECT_EQ(onFirst, 2);
        EXPECT_EQ(onSecond, 2);
    }
}

TEST_F(TwoVariableRun, StagesWithoutBreakpointPutTheMinimumOnTheGreaterSide) {
    const Columns c = Plane(40, 31);
    Load(c);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_LT(Two().first.type, 2);
    ASSERT_LT(Two().second.type, 2);
    const auto uMin = std::min_element(U().begin(), U().end());
    const auto vMin = std::min_element(V().begin(), V().end());
    EXPECT_EQ(Two().first.bp, *uMin);
    EXPECT_EQ(Two().second.bp, *vMin);
    // Both lines in full, with no side below the minimum.
    const SideFit a = FitWhere(c.y, U(), false, *uMin);
    std::vector<double> r(c.y.size());
    for (size_t i = 0; i < r.size(); ++i) {
        r[i] = c.y[i] - (a.avy + a.Slope() * (U()[i] - a.avx));
    }
    const SideFit b = FitWhere(r, V(), false, *vMin);
    for (size_t i = 0; i < r.size(); ++i) {
        const double expected =
            a.avy + a.Slope() * (U()[i] - a.avx) + b.avy + b.Slope() * (V()[i] - b.avx);
        EXPECT_NEAR(Two().KeptY[i], expected, 1e-9) << i;
    }
}

// --- type 0 of either stage -------------------------------------------------------

TEST_F(TwoVariableRun, InsignificantStraightStagesBecomeType0) {
    const Columns c = NoRelation();
    Load(c);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_EQ(Two().resultZ.chosenType, 1);
    EXPECT_EQ(Two().first.type, 0);
    EXPECT_EQ(Two().second.type, 0);

    // Horizontal lines at the averages: the mean of Y is 0, so are the residuals'.
    for (size_t i = 0; i < c.y.size(); ++i) {
        EXPECT_NEAR(Two().FirstResiduals[i], c.y[i], 1e-12);
        EXPECT_NEAR(Two().KeptY[i], 0.0, 1e-12);
    }
    EXPECT_EQ(Two().Sequence, 1);
    const std::vector<std::string> out = Out();
    const bool seq1 = Two().Sequence == 1;
    EXPECT_EQ(CountLines(out, seq1 ? " Y-X  Function type : 0  - a horizontal regression line, "
                                     "no breakpoint found."
                                   : " Y-Z  Function type : 0  - a horizontal regression line, "
                                     "no breakpoint found."),
              1);
    EXPECT_EQ(CountLines(out, seq1 ? " YXr-Z Function type: 0  - a horizontal regression line, "
                                     "no breakpoint found."
                                   : " YZr-X Function type: 0  - a horizontal regression line, "
                                     "no breakpoint found."),
              1);
    const std::vector<std::string> var = Var();
    ASSERT_EQ(var.size(), 9u);
    EXPECT_EQ(var[5], " -99999");
    EXPECT_EQ(var[8], " -99999");
    // The fourth record is the sum of squares about the straight line, not about
    // the horizontal line that is reported.
    const SideFit line = FitWhere(c.y, U(), false, -1e300);
    const double ssdLine = line.syy - line.sxy * line.sxy / line.sxx;
    ASSERT_GT(line.syy - ssdLine, 0.02 * line.syy);
    EXPECT_NEAR(std::strtod(var[3].c_str(), nullptr), ssdLine, 5e-3 * ssdLine);
    // Nothing in a two-variable run clears the separation flags.
    EXPECT_TRUE(state.SeparationFlag);
    EXPECT_TRUE(Two().SecondSeparationFlag);
}

TEST_F(TwoVariableRun, BreakpointStageKeepsItsTypeWhenItsStraightLineIsFlat) {
    const Columns c = VeeInX();
    Load(c);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_EQ(Two().Sequence, 1);
    // The straight line through a V is not significant...
    const SideFit all = FitWhere(c.y, c.x, false, -1e300);
    ASSERT_LT(std::fabs(all.Slope()) - 1.75 * all.SlopeStDev(), 0);
    // ...yet the broken line is reported as found.
    EXPECT_EQ(Two().first.type, 2);
    const std::vector<std::string> out = Out();
    EXPECT_EQ(CountLines(out, " Y-X  Function type : 2  - two connected segements with lines of "
                              "different slope."),
              1);

    const StageFunction f1 =
        ExpectedStage(c.y, c.x, 2, Two().first.method, Two().first.bp, settings.CriticalValue);
    for (size_t i = 0; i < c.y.size(); ++i) {
        EXPECT_NEAR(Two().FirstResiduals[i], c.y[i] - f1.At(c.x[i]), 1e-9) << i;
    }
    EXPECT_TRUE(state.SeparationFlag);
}

// --- search thresholds and settings ---------------------------------------------

namespace {

// A rising line that drops by `drop` at X = 11, on 20 data (W = 1.1).
Columns Sawtooth(double drop, double noise) {
    Columns c;
    for (int i = 0; i < 20; ++i) {
        const double x = i + 1.0;
        c.x.push_back(x);
        c.z.push_back((7 * i + 3) % 20 + 0.5);
        c.y.push_back(0.5 * x - (x >= 11 ? drop : 0) + noise * std::sin(2.3 * i));
    }
    return c;
}

// CE of the straight line and the largest CE that two free side regressions
// reach over the candidates with at least 5 data on each side.
std::pair<double, double> LineAndBestSplit(const Columns& c) {
    const SideFit all = FitWhere(c.y, c.x, false, -1e300);
    const double ce1 = all.sxy * all.sxy / (all.sxx * all.syy);
    double best = 0;
    for (int j = 1; j < 100; ++j) {
        const double bp = j * ((20.0 - 1.0) / 100) + 1.0;
        const SideFit l = FitWhere(c.y, c.x, true, bp);
        const SideFit r = FitWhere(c.y, c.x, false, bp);
        if (l.n < 5 || r.n < 5) {
            continue;
        }
        const double ssd = (l.syy - l.sxy * l.sxy / l.sxx) + (r.syy - r.sxy * r.sxy / r.sxx);
        best = std::max(best, 1 - ssd / all.syy);
    }
    return {ce1, best};
}

} // namespace

TEST_F(TwoVariableRun, TwoDisconnectedLinesMustBeatOnePointTwoTimesTheEarlierStages) {
    // With types 2 to 5 excluded every threshold up to type 6 stays CE1 (no W for
    // the excluded type 3), and type 6 needs CE > 1.2 W CE1 = 1.32 CE1.
    settings.XChoices.excluded = {false, false, true, true, true, true, false};

    const Columns clear = Sawtooth(3.25, 0.8);
    const auto [ce1, best] = LineAndBestSplit(clear);
    ASSERT_GT(best, 1.34 * ce1);
    ASSERT_LT(best, 1.44 * ce1);
    Load(clear);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_EQ(Two().Sequence, 1);
    EXPECT_EQ(Two().first.type, 6);

    const Columns weak = Sawtooth(3.0, 0.6);
    const auto [weakCe1, weakBest] = LineAndBestSplit(weak);
    ASSERT_GT(weakBest, 1.23 * weakCe1);
    ASSERT_LT(weakBest, 1.30 * weakCe1);
    Load(weak);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_EQ(Two().Sequence, 1);
    EXPECT_EQ(Two().first.type, 1);
    EXPECT_EQ(Two().first.bp, 1.0);

    const std::vector<std::string> out = Out();
    EXPECT_EQ(CountLines(out, " X-type excluded: 2 "), 1);
    EXPECT_EQ(CountLines(out, " Z-type excluded: None"), 1);
}

TEST_F(TwoVariableRun, SecondStageFollowsTheSettingsOfItsOwnVariable) {
    const std::array<bool, 7> all = {false, false, true, true, true, true, true};
    for (bool swap : {false, true}) {
        settings = RunSettings{};
        (swap ? settings.XChoices : settings.ZChoices).excluded = all;
        Load(swap ? Swapped(TwoSteps(10, 4)) : TwoSteps(10, 4));
        ASSERT_EQ(Run(), RunStatus::Completed);
        ASSERT_EQ(Two().Sequence, swap ? 2 : 1);
        EXPECT_EQ(Two().first.type, 5);
        EXPECT_LT(Two().second.type, 2);
        EXPECT_EQ(Var().size(), 9u);
    }
}

// --- .var records -----------------------------------------------------------------

TEST_F(TwoVariableRun, VarRecordsWithoutBreakpoints) {
    const Columns c = Plane(60, 41);
    Load(c);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_LT(Two().first.type, 2);
    ASSERT_LT(Two().second.type, 2);
    const std::vector<std::string> var = Var();
    ASSERT_EQ(var.size(), 9u);
    EXPECT_EQ(var[0], "    2");
    EXPECT_EQ(var[1], "   60");
    EXPECT_EQ(var[4], "    1");
    EXPECT_EQ(var[5], " -99999");
    EXPECT_EQ(var[8], " -99999");
    for (int k : {2, 3, 6, 7}) {
        EXPECT_EQ(var[k].size(), 12u) << k;
    }

    const SideFit a = FitWhere(c.y, c.x, false, -1e300);
    std::vector<double> r(c.y.size());
    for (size_t i = 0; i < r.size(); ++i) {
        r[i] = c.y[i] - (a.avy + a.Slope() * (c.x[i] - a.avx));
    }
    const SideFit b = FitWhere(r, c.z, false, -1e300);
    const double expected[] = {a.syy, a.syy - a.sxy * a.sxy / a.sxx, SumOfSquaresAboutMean(r),
                               b.syy - b.sxy * b.sxy / b.sxx};
    const int lines[] = {2, 3, 6, 7};
    for (int k = 0; k < 4; ++k) {
        const double printed = std::strtod(var[lines[k]].c_str(), nullptr);
        EXPECT_NEAR(printed, expected[k], 5e-3 * std::fabs(expected[k])) << var[lines[k]];
    }
}

TEST_F(TwoVariableRun, VarRecordsWithBreakpointsInBothStages) {
    for (bool swap : {false, true}) {
        const Columns c = swap ? Swapped(TwoSteps(10, 4)) : TwoSteps(10, 4);
        Load(c);
        ASSERT_EQ(Run(), RunStatus::Completed);
        ASSERT_EQ(Two().first.type, 5);
        ASSERT_EQ(Two().second.type, 5);
        const std::vector<std::string> var = Var();
        ASSERT_EQ(var.size(), 10u);
        EXPECT_EQ(var[0], "    2");
        EXPECT_EQ(var[1], "  202");
        EXPECT_EQ(var[4], swap ? "    2" : "    1");
        EXPECT_EQ(var[5], "     5.000");
        EXPECT_EQ(var[8], "     3.000");

        const StageFunction f1 = ExpectedStage(c.y, U(), 5, 0, 5.0, 1.75);
        std::vector<double> r(c.y.size());
        for (size_t i = 0; i < r.size(); ++i) {
            r[i] = c.y[i] - f1.At(U()[i]);
        }
        const StageFunction f2 = ExpectedStage(r, V(), 5, 0, 3.0, 1.75);
        double ssd2 = 0;
        for (size_t i = 0; i < r.size(); ++i) {
            ssd2 += (r[i] - f2.At(V()[i])) * (r[i] - f2.At(V()[i]));
        }
        const double rss = SumOfSquaresAboutMean(r);
        EXPECT_NEAR(std::strtod(var[6].c_str(), nullptr), rss, 5e-3 * rss);
        EXPECT_NEAR(std::strtod(var[9].c_str(), nullptr), ssd2, 5e-3 * ssd2);
    }
}

TEST_F(TwoVariableRun, VarRecordsWithABreakpointInTheFirstStageOnly) {
    const Columns c = VeeInX();
    Load(c);
    ASSERT_EQ(Run(), RunStatus::Completed);
    ASSERT_EQ(Two().first.type, 2);
    ASSERT_LT(Two().second.type, 2);
    const std::vector<std::string> var = Var();
    ASSERT_EQ(var.size(), 9u);
    EXPECT_NE(var[5], " -99999");
    EXPECT_NEAR(std::strtod(var[5].c_str(), nullptr), Two().first.bp, 5e-4);
    EXPECT_EQ(var[8], " -99999");
}

// --- report labels ----------------------------------------------------------------

TEST_F(TwoVariableRun, EveryTableNamesTheVariableOfItsStage) {
    for (bool swap : {false, true}) {
        Load(swap ? Swapped(TwoSteps(10, 4)) : TwoSteps(10, 4));
        ASSERT_EQ(Run(), RunStatus::Completed);
        ASSERT_EQ(Two().first.type, 5);
        ASSERT_EQ(Two().second.type, 5);
        const std::vector<std::string> out = Out();
        // First variable: whole-data table and two breakpoint tables; second
        // variable: the line between the variables, whole-data table and two
        // breakpoint tables.
        const std::string first = swap ? " BPz=" : " BPx=";
        const std::string second = swap ? " BPx=" : " BPz=";
        EXPECT_EQ(CountPrefixed(out, first), 3);
        EXPECT_EQ(CountPrefixed(out, second), 4);
        for (const char* label :
             {" Data with X < BPx :", " Data with X > BPx :", " Data with Z < BPz :",
              " Data with Z > BPz :", "    Slope < BPx       St.Err.Slope<BPx   StDevDiffYav.",
              "    Slope < BPz       St.Err.Slope<BPz   StDevDiffYav.",
              "    Slope > BPx       St.Err.Slope>BPx    Expl.Coeff.",
              "    Slope > BPz       St.Err.Slope>BPz    Expl.Coeff."}) {
            EXPECT_EQ(CountLines(out, label), 1) << label;
        }
        EXPECT_EQ(CountLines(out, swap ? " Regression of Z upon X without breakpoint (BPx=Xmin)."
                                       : " Regression of X upon Z without breakpoint (BPz=Zmin)."),
                  1);
        EXPECT_EQ(CountLines(out, swap ? " SUMMARY OF THE Y-Z-X REGRESSION."
                                       : " SUMMARY OF THE Y-X-Z REGRESSION."),
                  1);
        EXPECT_EQ(CountLines(out, swap ? " Serial        Yobs         Z          YZr          X  "
                                         "       Ycalc"
                                       : " Serial        Yobs         X          YXr          Z  "
                                         "        Ycalc"),
                  1);
    }
}

// --- overall coefficient of explanation --------------------------------------------

TEST_F(TwoVariableRun, OverallCeMatchesThePrintedObservationTable) {
    for (const Columns& c : {Plane(80, 51), TwoSteps(10, 4), VeeInX()}) {
        Load(c);
        ASSERT_EQ(Run(), RunStatus::Completed);
        const std::vector<std::string> out = Out();
        const auto dashes = std::find(out.begin(), out.end(), " " + std::string(67, '-'));
        ASSERT_NE(dashes, out.end());
        ASSERT_EQ(out.end() - dashes - 1, static_cast<long>(c.y.size()));
        std::vector<double> yobs;
        std::vector<double> ycalc;
        for (auto row = dashes + 1; row != out.end(); ++row) {
            std::istringstream in(*row);
            int serial = 0;
            double y = 0;
            double u = 0;
            double r = 0;
            double v = 0;
            double calc = 0;
            in >> serial >> y >> u >> r >> v >> calc;
            ASSERT_FALSE(in.fail()) << *row;
            EXPECT_EQ(serial, static_cast<int>(yobs.size()) + 1);
            yobs.push_back(y);
            ycalc.push_back(calc);
        }
        double unexplained = 0;
        for (size_t i = 0; i < yobs.size(); ++i) {
            unexplained += (yobs[i] - ycalc[i]) * (yobs[i] - ycalc[i]);
        }
        const double fromTable = 1 - unexplained / SumOfSquaresAboutMean(yobs);
        const double printed = NumberAfter(out, " The overall coefficient of explanation is:");
        EXPECT_NEAR(printed, fromTable, 0.01);

        // And exactly, from the data and Ycalc held after the run.
        double exactUnexplained = 0;
        for (size_t i = 0; i < c.y.size(); ++i) {
            exactUnexplained += (c.y[i] - Two().KeptY[i]) * (c.y[i] - Two().KeptY[i]);
        }
        EXPECT_NEAR(Two().OverallCE, 1 - exactUnexplained / SumOfSquaresAboutMean(c.y), 1e-9);
    }
}

// --- whole calculations -----------------------------------------------------------

TEST_F(TwoVariableRun, VarianceTableLabelsNameTheVariablesOfTheSequence) {
    for (bool swap : {false, true}) {
        Load(swap ? Swapped(TwoSteps(10, 4)) : TwoSteps(10, 4), swap ? "zfirst" : "xfirst");
        Calculation calculation(data, settings);
        ASSERT_EQ(calculation.Run(true), CalculationStatus::Completed);
        ASSERT_EQ(calculation.TwoVariables().first.type, 5);
        ASSERT_EQ(calculation.TwoVariables().second.type, 5);
        const std::vector<std::string> table = Var();
        const std::string gap(33, ' ');
        // N = 202; a first stage of two levels leaves r1 = N - 3 = 199 degrees of freedom.
        const std::vector<std::string> expected = {
            (swap ? " lin. regr. Z" : " lin. regr. X") + gap + " F(1,200)=",
            (swap ? " Z-break-point" : " X-breakpoint") + gap + " F(2,198)=",
            (swap ? " Z-break-point" : " X-breakpoint") + gap + " F(3,198)=",
            std::string(swap ? " residuals on X" : " residuals on Z") + std::string(31, ' ') +
                " F(1,197)=",
            (swap ? " X-breakpoint" : " Z-breakpoint") + gap + " F(2,195)=",
            (swap ? " X-breakpoint" : " Z-breakpoint") + gap + " F(3,195)=",
        };
        std::vector<std::string> labels;
        for (const std::string& line : table) {
            if (line.find(" F(") != std::string::npos) {
                labels.push_back(line);
            }
        }
        EXPECT_EQ(labels, expected);
        EXPECT_EQ(table[0], " Variance Analysis, ANOVA table, Regression Types: 1st Type: 5, 2nd "
                            "Type: 5");
        EXPECT_EQ(CountLines(table, " lin. reg. of"), 1);
    }
}

TEST_F(TwoVariableRun, FlatStraightLineStillWritesEveryVarianceBlock) {
    Load(VeeInX());
    Calculation calculation(data, settings);
    ASSERT_EQ(calculation.Run(true), CalculationStatus::Completed);
    ASSERT_EQ(calculation.TwoVariables().first.type, 2);
    const std::vector<std::string> table = Var();
    EXPECT_EQ(CountPrefixed(table, " lin. regr. X"), 1);
    EXPECT_EQ(CountLines(table, " extra expl. by"), 1);
    EXPECT_EQ(CountLines(table, " total expl. by"), 1);
}

TEST_F(TwoVariableRun, RepeatedRunsWriteIdenticalFiles) {
    for (const Columns& c : {TwoSteps(10, 4), Swapped(TwoSteps(10, 4)), VeeInX(), NoRelation()}) {
        Load(c);
        ASSERT_EQ(Run(), RunStatus::Completed);
        const std::string out = ReadWhole(Path(".out"));
        const std::string var = ReadWhole(Path(".var"));
        // A run on other data in between must leave nothing behind.
        Load(Plane(33, 61), "other");
        ASSERT_EQ(Run(), RunStatus::Completed);
        Load(c);
        ASSERT_EQ(Run(), RunStatus::Completed);
        EXPECT_EQ(ReadWhole(Path(".out")), out);
        EXPECT_EQ(ReadWhole(Path(".var")), var);
        ASSERT_EQ(Run(), RunStatus::Completed);
        EXPECT_EQ(ReadWhole(Path(".out")), out);
        EXPECT_EQ(ReadWhole(Path(".var")), var);
    }
}

TEST_F(TwoVariableRun, VariedDataNeverPrintNonFiniteNumbers) {
    Lcg random(97);
    const int sizes[] = {10, 11, 17, 25, 40, 77, 150, 300};
    const double yScales[] = {1e-9, 1.0, 1e6, 1e12, 1e100};
    const double xScales[] = {0.02, 1.0, 1e5, 1e9};
    const double coupling[] = {0.0, 0.3, 0.9, 0.999, 1.0};
    std::array<int, 3> sequences{};
    int firstBreakpoints = 0;
    int secondBreakpoints = 0;
    for (int run = 0; run < 48; ++run) {
        const int n = sizes[run % 8];
        const double ys = yScales[run % 5];
        const double xs = xScales[(run / 2) % 4];
        const double rho = coupling[(run / 3) % 5];
        const double shift = run % 4 == 1 ? -3 * xs : 0;
        Columns c;
        for (int i = 0; i < n; ++i) {
            const double x = shift + xs * random.Uniform();
            const double z = rho * x + (1 - rho) * (shift + xs * random.Uniform());
            const double u = (x - shift) / xs;
            double y = ys * (random.Uniform() - 0.5);
            switch (run % 6) {
            case 0:
                y += ys * (u < 0.4 ? 0 : 3 * (u - 0.4));
                break;
            case 1:
                y += ys * (u < 0.6 ? 2 : -1);
                break;
            case 2:
                y += -ys * 4 * u;
                break;
            case 3:
                y = ys * (i % 3);
                break;
            default:
                break;
            }
            c.x.push_back(x);
            c.z.push_back(z);
            c.y.push_back(y);
        }
        Load(c, "varied" + std::to_string(run));
        Calculation calculation(data, settings);
        ASSERT_EQ(calculation.Run(false), CalculationStatus::Completed) << run;
        const TwoVariableState& two = calculation.TwoVariables();
        const std::vector<std::string> records = Var();
        EXPECT_EQ(records.size(), two.second.type >= 2 ? 10u : 9u) << run;
        EXPECT_EQ(records[5] == " -99999", two.first.type < 2) << run;
        ++sequences[two.Sequence];
        firstBreakpoints += two.first.type >= 2 ? 1 : 0;
        secondBreakpoints += two.second.type >= 2 ? 1 : 0;
        EXPECT_EQ(data.YData, c.y) << run;
        EXPECT_EQ(data.XData, c.x) << run;
        EXPECT_EQ(data.ZData, c.z) << run;

        Load(c, "varied" + std::to_string(run));
        ASSERT_EQ(calculation.Run(true), CalculationStatus::Completed) << run;
        for (const char* extension : {".out", ".var"}) {
            std::string text = ReadWhole(Path(extension));
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
            EXPECT_EQ(text.find("nan"), std::string::npos) << run << extension;
            EXPECT_EQ(text.find("inf"), std::string::npos) << run << extension;
        }
    }
    // The loop is only worth its time if it reaches both sequences and both stages.
    EXPECT_GT(sequences[1], 0);
    EXPECT_GT(sequences[2], 0);
    EXPECT_GT(firstBreakpoints, 0);
    EXPECT_GT(secondBreakpoints, 0);
}
