// The kernel evaluated on small data sets whose side sums, fits and residuals can
// be worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/CalculationState.h"
#include "engine/EngineTestSupport.h"

using namespace brekka;
using brekka::testing::FitRange;

namespace {

// Rising on the left, falling on the right of X = 4. By hand: left (X 1..3) slope
// 1.5 and residual sum 1/6; right (X 4..6) slope -0.5, residual sum 1.5; SSY of
// all data 1078/3.
const std::vector<double> kX{1, 2, 3, 4, 5, 6};
const std::vector<double> kY{2, 4, 5, 20, 18, 19};

class KernelTest : public ::testing::Test {
protected:
    CalculationState state;

    void Prepare(const std::vector<double>& y, const std::vector<double>& x) {
        y_ = y;
        x_ = x;
        state.Xmin = *std::min_element(x.begin(), x.end());
        state.Xmax = *std::max_element(x.begin(), x.end());
        // Every run starts with the regression without breakpoint, which fixes
        // the denominator of the CE.
        double bp = state.Xmin;
        double ce = 0;
        int type = 1;
        state.FitBreakpoint(y_, x_, bp, ce, type, 0);
        ce1 = ce;
    }

    double Fit(double& bp, int& type, int method = 0) {
        double ce = -1;
        state.FitBreakpoint(y_, x_, bp, ce, type, method);
        return ce;
    }

    std::vector<double> y_, x_;
    double ce1 = 0;
};

TEST_F(KernelTest, DatumAtBreakpointBelongsToRightSideInSumsAndResiduals) {
    Prepare(kY, kX);
    double bp = 4;
    int type = 6; // plain code: the two side regressions, no construction or test
    const double ce = Fit(bp, type);

    EXPECT_EQ(bp, 4);
    EXPECT_EQ(state.sums[0].n, 3);
    EXPECT_EQ(state.sums[1].n, 3);
    EXPECT_EQ(state.sums[1].sumX, 15);
    EXPECT_EQ(state.sums[1].sumY, 57);
    EXPECT_DOUBLE_EQ(state.stats[0].RC, 1.5);
    EXPECT_DOUBLE_EQ(state.stats[1].RC, -0.5);
    EXPECT_NEAR(state.SSDside[0], 1.0 / 6.0, 1e-12);
    EXPECT_NEAR(state.SSDside[1], 1.5, 1e-12);
    EXPECT_NEAR(state.SSYtot, 1078.0 / 3.0, 1e-9);
    EXPECT_NEAR(ce, 1 - 5.0 / 1078.0, 1e-12);
}

TEST_F(KernelTest, SmallSideJustAboveDatumIsRestarted) {
    Prepare(kY, kX);
    double bp = 4.0001; // leaves X 5 and 6 alone on the right
    int type = 6;
    const double ce = Fit(bp, type);
    EXPECT_EQ(bp, state.Xmin);
    EXPECT_EQ(type, 1);
    EXPECT_NEAR(ce, ce1, 1e-15);
}

TEST_F(KernelTest, BreakpointAtXminLeavesSideOneEmptyAndIsNotRestarted) {
    Prepare(kY, kX);
    double bp = 4;
    int type = 6;
    Fit(bp, type); // fills the statistics of side 1
    ASSERT_NE(state.stats[0].AvY, 0);

    bp = state.Xmin;
    type = 3;
    const double ce = Fit(bp, type, 2);
    EXPECT_EQ(bp, state.Xmin);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(ce, 0); // an empty side fails the side-size test
    EXPECT_EQ(state.sums[0].n, 0);
    EXPECT_EQ(state.sums[1].n, 6);
    EXPECT_EQ(state.stats[0].AvY, 0);
    EXPECT_EQ(state.stats[0].AvX, 0);
    EXPECT_EQ(state.stats[0].SSX, 0);
    EXPECT_EQ(state.stats[0].RC, 0);
    EXPECT_EQ(state.stats[0].StDevRC, 0);
    EXPECT_EQ(state.SSDside[0], 0);
}

TEST_F(KernelTest, SideOfTwoDataComesBackAsLineWithoutBreakpoint) {
    const std::vector<double> x{1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<double> y{3, 1, 4, 1, 5, 9, 2, 6};
    Prepare(y, x);
    const double r2 = FitRange(y, x).r2;
    ASSERT_GT(r2, 0.1);
    EXPECT_NEAR(ce1, r2, 1e-12);

    for (double candidate : {2.5, 7.0}) { // two data left, then two data right
        for (int request : {3, 4, 5, kRequestType2, kRequestType6}) {
            double bp = candidate;
            int type = request;
            const double ce = Fit(bp, type, request == 5 || request == kRequestType6 ? 0 : 1);
            EXPECT_EQ(bp, 1) << candidate << " " << request;
            EXPECT_EQ(type, 1) << candidate << " " << request;
            EXPECT_NEAR(ce, r2, 1e-12) << candidate << " " << request;
            EXPECT_EQ(state.sums[0].n, 0);
        }
    }

    // Three data on the small side are enough.
    double bp = 3.5;
    int type = 6;
    Fit(bp, type);
    EXPECT_EQ(bp, 3.5);
    EXPECT_EQ(state.sums[0].n, 3);
}

TEST_F(KernelTest, EqualXOnASideGivesNoSlopeAndUndefinedSlopeDeviation) {
    const std::vector<double> x{2, 2, 2, 5, 6, 7, 8};
    const std::vector<double> y{1, 3, 8, 4, 5, 7, 6};
    Prepare(y, x);
    double bp = 4;
    int type = 6;
    const double ce = Fit(bp, type);
    ASSERT_EQ(state.sums[0].n, 3);
    EXPECT_EQ(state.stats[0].SSX, 0);
    EXPECT_EQ(state.stats[0].RC, 0);
    EXPECT_EQ(state.stats[0].CC, 0);
    EXPECT_EQ(state.stats[0].StDevRC, 1000000);
    EXPECT_NEAR(state.stats[0].SSY, 26.0, 1e-12); // 1, 3, 8 about 4
    EXPECT_EQ(ce, 0); // disconnected lines need variation in X on both sides
}

TEST_F(KernelTest, HorizontalLineWithoutBreakpointExplainsNothing) {
    Prepare(kY, kX);
    double bp = state.Xmin;
    int type = 0;
    const double ce = Fit(bp, type);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(state.line[1].slope, 0);
    EXPECT_NEAR(ce, 0, 1e-12);
    EXPECT_NEAR(state.SSDside[1], 1078.0 / 3.0, 1e-9);
}

TEST_F(KernelTest, LineWithoutBreakpointMatchesIndependentRegression) {
    std::vector<double> x, y;
    for (int i = 0; i < 25; ++i) {
        x.push_back(-3.0 + 0.37 * i + (i % 4 == 0 ? 0.11 : 0.0));
        y.push_back(4.2 - 0.8 * x.back() + 1.3 * brekka::testing::Wobble(i));
    }
    Prepare(y, x);
    const auto ref = FitRange(y, x);
    EXPECT_NEAR(ce1, ref.r2, 1e-12);
    EXPECT_NEAR(state.SSYtot, ref.ssy, 1e-9 * ref.ssy);
    EXPECT_NEAR(state.SSXtot, ref.ssx, 1e-9 * ref.ssx);
    const SideStatistics& all = state.stats[1];
    EXPECT_NEAR(all.RC, ref.slope, 1e-12);
    EXPECT_NEAR(all.Y0, ref.intercept, 1e-12);
    EXPECT_NEAR(all.CCsq, ref.r2, 1e-12);
    EXPECT_NEAR(all.SSD, ref.ssd, 1e-9);
    EXPECT_NEAR(all.StDevRC, std::sqrt(ref.ssd / (23 * ref.ssx)), 1e-12);
    EXPECT_NEAR(all.StDevY, std::sqrt(ref.ssy / 24), 1e-12);
    EXPECT_NEAR(all.StDevX, std::sqrt(ref.ssx / 24), 1e-12);
    EXPECT_NEAR(state.SSDside[1], ref.ssd, 1e-9);
}

// Two sloping sides: X 1..6 with slope 1, X 7..12 with slope -2, small wobbles.
class DisconnectedRequestTest : public KernelTest {
protected:
    void SetUp() override {
        for (int i = 1; i <= 12; ++i) {
            x12.push_back(i);
            y12.push_back((i <= 6 ? i : 40 - 2.0 * i) + 0.2 * brekka::testing::Wobble(i));
        }
        Prepare(y12, x12);
    }
    std::vector<double> x12, y12;
};

TEST_F(DisconnectedRequestTest, SlopesInsignificantByPreviousErrorsAreRemoved) {
    // The removal judges the slopes with the errors left by the previous
    // evaluation, before this one's statistics exist.
    state.SE = {1000, 1000};
    double bp = 6.5;
    int type = kRequestType6;
    Fit(bp, type);
    EXPECT_EQ(state.line[0].slope, 0);
    EXPECT_EQ(state.line[1].slope, 0);
    EXPECT_NEAR(state.SSDside[0], FitRange(y12, x12, 0, 6.5).ssy, 1e-9);
    EXPECT_NEAR(state.SSDside[1], FitRange(y12, x12, 6.5, 100).ssy, 1e-9);

    state.SE = {0, 0};
    bp = 6.5;
    type = kRequestType6;
    Fit(bp, type);
    EXPECT_NEAR(state.line[0].slope, FitRange(y12, x12, 0, 6.5).slope, 1e-12);
    EXPECT_NEAR(state.SSDside[0], FitRange(y12, x12, 0, 6.5).ssd, 1e-9);
    EXPECT_NEAR(state.SSDside[1], FitRange(y12, x12, 6.5, 100).ssd, 1e-9);
}

// Left: level near 9.6; right: exactly Y = 1.75 X, so its slope is exactly the
// critical value 1.75.
class HorizontalThenSlopingTest : public KernelTest {
protected:
    void SetUp() override {
        Prepare({9.5, 9.75, 9.5, 9.75, 9.5, 10.5, 12.25, 14, 15.75, 17.5},
                {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    }
};

TEST_F(HorizontalThenSlopingTest, MarginOfExactlyZeroIsNotSignificant) {
    state.SE = {1.0, 1.0}; // right margin 1.75 - 1.75 * 1 = 0
    double bp = 5.5;
    int type = 3;
    EXPECT_EQ(Fit(bp, type, 1), 0);
    EXPECT_EQ(state.marginLower2, 0);
}

TEST_F(HorizontalThenSlopingTest, PositiveMarginAcceptsAndLevelFollowsRightLine) {
    state.SE = {1.0, 0.99};
    double bp = 5.5;
    int type = 3;
    const double ce = Fit(bp, type, 1);
    EXPECT_EQ(type, 3);
    // Horizontal at the right line's value at 5.5: 1.75 * 5.5 = 9.625; the five
    // left data miss it by 0.125 each, the right data lie on their line.
    EXPECT_EQ(state.line[0].slope, 0);
    EXPECT_DOUBLE_EQ(state.line[0].Yc, 9.625);
    EXPECT_NEAR(state.SSDside[0], 5 * 0.125 * 0.125, 1e-12);
    EXPECT_NEAR(state.SSDside[1], 0, 1e-12);
    const double ssy = FitRange(y_, x_).ssy;
    EXPECT_NEAR(ce, 1 - 0.078125 / ssy, 1e-12);
}

TEST_F(HorizontalThenSlopingTest, InsignificantLeftSlopeIsRequired) {
    state.SE = {0.0, 0.5}; // left margin |0| - 0 = 0: not below 0
    double bp = 5.5;
    int type = 3;
    EXPECT_EQ(Fit(bp, type, 1), 0);
}

// A side that the function makes horizontal must have no significant slope of its
// own. X = 1..10, breakpoint 5.5, five data a side. By hand, for a side at X 6..10
// (AvX 8, SSX 10) or 1..5 (AvX 3, SSX 10):
// - flat exactly (all 10): RC = 0, St.Dev.RC = 0, margin 0, horizontal;
// - wobble 10 + {0.1, -0.1, 0, 0.1, -0.1}: SXY = -0.2, RC = -0.02, SSY = 0.04,
//   SSD = 0.036, St.Dev.RC = sqrt(0.036 / 30) = 0.03464, margin 0.02 - 1.75 * 0.03464
//   < 0, horizontal;
// - the same wobble on 10 + 0.1 (X - AvX): SXY = 0.8, RC = 0.08, SSY = 0.10,
//   SSD = 0.036, St.Dev.RC = 0.03464: margin 0.08 - 1.75 * 0.03464 = 0.019 > 0, a
//   slope; with T = 2.5 the margin is 0.08 - 0.0866 < 0 again.
TEST(KernelHorizontalSide, OwnSlopeOfTheHorizontalSideMustBeInsignificant) {
    const std::vector<double> flat{10, 10, 10, 10, 10};
    const std::vector<double> wobble{10.1, 9.9, 10, 10.1, 9.9};
    const std::vector<double> sloping{9.9, 9.8, 10, 10.2, 10.1};
    const std::vector<double> steep{2, 4, 6, 8, 10};          // left of a type 4
    const std::vector<double> steepRight{12, 14, 16, 18, 20}; // right of a type 3
    const std::vector<double> low{2, 2, 2, 2, 2};
    struct Case {
        int request;
        std::vector<double> left, right;
        double T;
        bool accepted;
    };
    const Case cases[] = {
        {4, steep, flat, 1.75, true},        {4, steep, wobble, 1.75, true},
        {4, steep, sloping, 1.75, false},    {4, steep, sloping, 2.5, true},
        {3, flat, steepRight, 1.75, true},   {3, sloping, steepRight, 1.75, false},
        {3, sloping, steepRight, 2.5, true}, {5, low, wobble, 1.75, true},
        {5, low, sloping, 1.75, false},      {5, sloping, std::vector<double>(5, 20), 1.75, false},
    };
    const std::vector<double> x{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (const Case& c : cases) {
        std::vector<double> y = c.left;
        y.insert(y.end(), c.right.begin(), c.right.end());
        CalculationState state;
        state.CriticalValue = c.T;
        state.Xmin = 1;
        state.Xmax = 10;
        double bp = 1;
        double ce = 0;
        int type = 1;
        state.FitBreakpoint(y, x, bp, ce, type, 0);
        // Errors of an earlier evaluation that let the constructed slopes pass.
        state.SE = {0.1, 0.1};
        bp = 5.5;
        type = c.request;
        state.FitBreakpoint(y, x, bp, ce, type, 2);
        const std::string what = std::to_string(c.request) + " " + std::to_string(y[2]) + " " +
                                 std::to_string(y[7]) + " T " + std::to_string(c.T);
        EXPECT_EQ(ce > 0, c.accepted) << what;
    }
}

TEST(KernelSignificance, MinimumSideCountIsTenthOfDataButAtLeastFive) {
    CalculationState s;
    s.sums[0].n = 20;
    s.sums[1].n = 20;
    EXPECT_EQ(s.MinSideCount(), 5); // 4 raised to 5
    s.sums[0].n = 7;
    s.sums[1].n = 73;
    EXPECT_DOUBLE_EQ(s.MinSideCount(), 8);
    EXPECT_FALSE(s.SidesLargeEnough());
    s.sums[0].n = 8;
    s.sums[1].n = 72;
    EXPECT_TRUE(s.SidesLargeEnough());
}

TEST(KernelSignificance, DifferenceOfAveragesWithAnEmptySideHasNoErrorTerm) {
    CalculationState s;
    s.sums[0].n = 0;
    s.sums[1].n = 10;
    s.stats[0].AvY = 0;
    s.stats[1].AvY = 3;
    s.stats[1].StDevY = 5;
    EXPECT_EQ(s.DifferenceOfAverages(), 3);

    s.sums[0].n = 4;
    s.stats[0].StDevY = 2;
    s.stats[0].AvY = 1;
    // |1 - 3| - 1.75 * sqrt(4/4 + 25/10)
    EXPECT_NEAR(s.DifferenceOfAverages(), 2 - 1.75 * std::sqrt(3.5), 1e-12);
}

TEST_F(KernelTest, HugeValuesOverRoundedTiesKeepEveryFigureFinite) {
    // Ten data at X = 12.3 give SSX = sum X^2 - n AvX^2 a rounding residue above
    // 0; with Y near 1E148 the slope variances would overflow.
    std::vector<double> x, y;
    for (int i = 1; i <= 10; ++i) {
        x.push_back(i);
        y.push_back((i % 3 - 1) * 1e148);
    }
    for (int i = 0; i < 10; ++i) {
        x.push_back(12.3);
        y.push_back(i % 2 ? 3e148 : -2e148);
    }
    Prepare(y, x);
    for (int request : {6, 3, 4, 5, kRequestType2, kRequestType6}) {
        for (int method : {1, 2}) {
            double bp = 11;
            int type = request;
            const double ce = Fit(bp, type, method);
            ASSERT_EQ(bp, 11);
            EXPECT_TRUE(std::isfinite(ce)) << request;
            for (int k = 0; k < 2; ++k) {
                const SideStatistics& st = state.stats[k];
                for (double v : {st.StDevRC, st.StDevY, st.StDevYr, st.StDevX, st.SSD, state.SE[k],
                                 state.Vs[k]}) {
                    EXPECT_TRUE(std::isfinite(v)) << request << " side " << k;
                }
            }
            EXPECT_TRUE(std::isfinite(state.StDevYbp)) << request;
            EXPECT_TRUE(std::isfinite(state.StErrBP)) << request;
            for (int plain : {2, 3, 4, 6}) {
                state.BreakpointStatistics(plain, method, bp);
                EXPECT_TRUE(std::isfinite(state.StErrBP)) << plain << " " << method;
                EXPECT_TRUE(std::isfinite(state.StDevYbp)) << plain << " " << method;
            }
        }
    }
}

TEST_F(KernelTest, PerfectLineNearTheLargestAcceptedValuesKeepsItsCorrelation) {
    // SSY * SSX overflows here; the fit is still a perfect falling line.
    std::vector<double> x, y;
    for (int i = 0; i < 8; ++i) {
        x.push_back(i * 1e149);
        y.push_back(-0.5 * i * 1e149);
    }
    Prepare(y, x);
    EXPECT_NEAR(state.stats[1].CC, -1.0, 1e-12);
    EXPECT_NEAR(ce1, 1.0, 1e-12);
}

} // namespace
