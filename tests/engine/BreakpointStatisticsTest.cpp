// Standard errors of the breakpoint on side statistics set by hand, with values
// chosen so that the expected figures can be worked out on paper.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/CalculationState.h"

using namespace brekka;

namespace {

struct Side {
    double n, avY, avX, ssy, ssx, rc;
};

class BreakpointStatisticsTest : public ::testing::Test {
protected:
    CalculationState s;

    void SetSide(int k, const Side& side) {
        s.sums[k].n = side.n;
        SideStatistics& t = s.stats[k];
        t.AvY = side.avY;
        t.AvX = side.avX;
        t.SSY = side.ssy;
        t.SSX = side.ssx;
        t.RC = side.rc;
        s.line[k] = FunctionLine{side.avX, side.avY, side.rc};
    }
};

// Type 3: horizontal left side, right side with slope 2 and St.Err 0.5
// (7.5 / (3 * 10) = 0.25). By hand: vY1 = 4/20, vY2 = 46/20, vX2 = 10/20,
// dY^2 = 36, h = 1/2.5 and 1/1.5 so q = (2/15)^2, formula value
// sqrt(0.64 + 0.5 + 2.5/4) = sqrt(1.765); offset e_BP = BP - (-6/1.5 + 10) = BP - 6.
class HorizontalThenSloping : public BreakpointStatisticsTest {
protected:
    void SetUp() override {
        SetSide(0, {5, 2, 3, 4, 10, 0.3});
        SetSide(1, {5, 8, 10, 46, 10, 2});
        s.line[0].slope = 0;
        s.SSDside = {1.0, 7.5};
        s.SSXtot = 100;
    }
};

TEST_F(HorizontalThenSloping, SmallerPositiveOffsetReplacesFormulaValue) {
    s.BreakpointStatistics(3, 2, 7);
    EXPECT_NEAR(s.StErrBP, 1.0, 1e-12);
    s.BreakpointStatistics(3, 2, 6.5);
    EXPECT_NEAR(s.StErrBP, 0.5, 1e-12);
    EXPECT_NEAR(s.SEsloping, 0.5, 1e-15);
    EXPECT_NEAR(s.SE[1], 0.5, 1e-15);
}

TEST_F(HorizontalThenSloping, LargerOrNegativeOffsetKeepsFormulaValue) {
    s.BreakpointStatistics(3, 2, 8); // offset 2
    EXPECT_NEAR(s.StErrBP, std::sqrt(1.765), 1e-12);
    s.BreakpointStatistics(3, 2, 5); // offset -1
    EXPECT_NEAR(s.StErrBP, std::sqrt(1.765), 1e-12);
}

TEST_F(HorizontalThenSloping, MethodOneTakesLevelVarianceFromRightLine) {
    // eY2^2 = 8.5 / 20 + (10 - 8)^2 * 0.25 = 1.425 replaces vY1.
    s.BreakpointStatistics(3, 1, 8);
    EXPECT_NEAR(s.StErrBP, std::sqrt(0.64 + 0.5 + (1.425 + 2.3) / 4), 1e-12);
}

TEST_F(HorizontalThenSloping, NoSlopeStandardErrorGapMeansFarAwayCrossing) {
    // RC2 - SE2 = 0: the crossing is taken at X = 1 000 000, far right of BP,
    // so the offset is negative and the formula value stays.
    s.stats[1].RC = 0.5;
    s.BreakpointStatistics(3, 2, 7);
    EXPECT_NEAR(s.StErrBP, std::sqrt(1.765), 1e-12);
}

TEST_F(HorizontalThenSloping, SlopingSideOfTwoDataHasUndefinedXVariance) {
    s.sums[1].n = 2;
    s.stats[1].SSY = 2; // vY2 = 2 / (1 * 2) = 1
    s.stats[1].SSX = 1; // vX2 is undefined below three data
    s.BreakpointStatistics(3, 2, 7);
    EXPECT_EQ(s.Vs[1], 1000000);
    EXPECT_EQ(s.SE[1], 1000);
    // The undefined vX2 = 1e6 dominates: h terms are about 1/1000, so the root is
    // sqrt(1e6 + 36e-6 + (0.2 + 1) / 4) up to a few millionths.
    EXPECT_NEAR(s.StErrBP, 1000.00015, 1e-4);
}

// Type 4: left side with slope 2 and St.Err 0.5, horizontal right side of two
// data. By hand: vY1 = 40/20 = 2, vY2 = 2 / (1 * 2) = 1, vX1 = 0.5, dY^2 = 36,
// q = (2/15)^2, formula sqrt(0.64 + 0.5 + 3/4) = sqrt(1.89); offset
// e_BP = (6/1.5 + 3) - BP = 7 - BP.
class SlopingThenHorizontal : public BreakpointStatisticsTest {
protected:
    void SetUp() override {
        SetSide(0, {5, 2, 3, 40, 10, 2});
        SetSide(1, {2, 8, 10, 2, 0.5, 0.1});
        s.line[1].slope = 0;
        s.SSDside = {7.5, 0.3};
        s.SSXtot = 100;
    }
};

TEST_F(SlopingThenHorizontal, SideOfTwoDataKeepsLevelVarianceButNotSlopeError) {
    s.BreakpointStatistics(4, 2, 5); // offset 2 exceeds the formula value
    EXPECT_EQ(s.Vs[1], 1000000);
    EXPECT_EQ(s.SE[1], 1000);
    EXPECT_NEAR(s.SE[0], 0.5, 1e-15);
    EXPECT_NEAR(s.StErrBP, std::sqrt(1.89), 1e-12);
    EXPECT_NEAR(s.SEsloping, 0.5, 1e-15);
}

TEST_F(SlopingThenHorizontal, SmallerPositiveOffsetReplacesFormulaValue) {
    s.BreakpointStatistics(4, 2, 6);
    EXPECT_NEAR(s.StErrBP, 1.0, 1e-12);
}

TEST_F(SlopingThenHorizontal, SlopingSideOfTwoDataHasUndefinedXVariance) {
    s.sums[0].n = 2;
    s.stats[0].SSY = 2; // vY1 = 2 / (1 * 2) = 1, vY2 = 1
    s.BreakpointStatistics(4, 2, 5);
    EXPECT_EQ(s.SE[0], 1000);
    // vX1 = 1e6 dominates: sqrt(1e6 + 36e-6 + (1 + 1) / 4).
    EXPECT_NEAR(s.StErrBP, 1000.00025, 1e-4);
}

// Two sloping lines: slopes 1 and 0.5 around the centres (3, 2) and (10, 8), five
// data a side. By hand: Vs = 0.3 / (3 * 10) = 0.01 (St.Err 0.1) and the variance of
// each level v = 0.3 / (3 * 5) = 0.02. The crossing moves by dY / (s1 - s2) when a
// level moves by dY and by (x* - AvX) ds / (s1 - s2) when a slope turns by ds, so
// St.Err.BP = sqrt(v1 + v2 + u1^2 Vs1 + u2^2 Vs2) / |s1 - s2| with u = x* - AvX.
class TwoSlopingLines : public BreakpointStatisticsTest {
protected:
    void SetUp() override {
        SetSide(0, {5, 2, 3, 10, 10, 1});
        SetSide(1, {5, 8, 10, 10, 10, 0.5});
        s.SSDside = {0.3, 0.3};
        s.SSXtot = 200;
    }
    // The fixture with Y times `yScale`, X times `xScale` and then X shifted by
    // `xShift`: slopes scale by yScale / xScale, the sums of squares by the squares.
    void Rescale(double yScale, double xScale, double xShift) {
        for (int k = 0; k < 2; ++k) {
            SideStatistics& t = s.stats[k];
            t.AvY *= yScale;
            t.AvX = t.AvX * xScale + xShift;
            t.SSY *= yScale * yScale;
            t.SSX *= xScale * xScale;
            t.RC *= yScale / xScale;
            s.line[k] = FunctionLine{t.AvX, t.AvY, t.RC};
            s.SSDside[k] *= yScale * yScale;
        }
        s.SSXtot *= xScale * xScale;
    }
};

TEST_F(TwoSlopingLines, ConnectedLinesCrossAtTheBreakpoint) {
    // BP = 10: u1 = 7, u2 = 0, so sqrt(0.04 + 49 * 0.01) / 0.5 = 2 sqrt(0.53); no
    // smaller figure replaces it.
    s.BreakpointStatistics(2, 1, 10);
    EXPECT_NEAR(s.StErrBP, 2 * std::sqrt(0.53), 1e-12);
    EXPECT_NEAR(s.SE[0], 0.1, 1e-15);
    EXPECT_NEAR(s.SSDfun, 0.6, 1e-15);
    // q0 = 0.6 / (10 * 6), Xav = 6.5, qx = 0.6 / (6 * 200)
    EXPECT_NEAR(s.Xav, 6.5, 1e-15);
    EXPECT_NEAR(s.StDevYbp, std::sqrt(0.01 + 3.5 * 3.5 * 0.0005), 1e-12);

    // BP = -30: u1 = -33, u2 = -40: sqrt(0.04 + 10.89 + 16) / 0.5.
    s.BreakpointStatistics(2, 2, -30);
    EXPECT_NEAR(s.StErrBP, 2 * std::sqrt(26.93), 1e-12);
}

TEST_F(TwoSlopingLines, ConnectedErrorIsInUnitsOfX) {
    const double reference = 2 * std::sqrt(0.53);
    Rescale(1000, 1, 0); // Y in other units: unchanged
    s.BreakpointStatistics(2, 1, 10);
    EXPECT_NEAR(s.StErrBP, reference, 1e-9);

    SetUp();
    Rescale(0.001, 1, 0);
    s.BreakpointStatistics(2, 1, 10);
    EXPECT_NEAR(s.StErrBP, reference, 1e-9);

    SetUp();
    Rescale(1, 1000, 0); // X in other units: the error scales with X
    s.BreakpointStatistics(2, 1, 10000);
    EXPECT_NEAR(s.StErrBP, 1000 * reference, 1e-6);

    SetUp();
    Rescale(1, 1, 2000000); // X shifted: unchanged
    s.BreakpointStatistics(2, 1, 2000010);
    EXPECT_NEAR(s.StErrBP, reference, 1e-6);
}

TEST_F(TwoSlopingLines, RequestCodesAndSimpleTypesLeaveBreakpointErrorZero) {
    for (int type : {0, 1, 5, kRequestType2, kRequestType6}) {
        s.StErrBP = 99;
        s.BreakpointStatistics(type, 1, 10);
        EXPECT_EQ(s.StErrBP, 0) << type;
    }
}

TEST_F(TwoSlopingLines, SideOfTwoDataHasUndefinedLevelAndSlope) {
    // v2 = Vs2 = 1 000 000; at BP = 10, u2 = 0: sqrt(0.02 + 1e6 + 0.49) / 0.5.
    s.sums[1].n = 2;
    s.BreakpointStatistics(2, 1, 10);
    EXPECT_NEAR(s.StErrBP, 2 * std::sqrt(1000000.51), 1e-9);
}

TEST_F(TwoSlopingLines, EqualSlopesGiveZero) {
    s.line[1].slope = 1;
    s.BreakpointStatistics(2, 1, 6);
    EXPECT_EQ(s.StErrBP, 0);
}

TEST_F(TwoSlopingLines, DisconnectedLinesUseTheirOwnCrossing) {
    // The side regressions cross where 2 + (x - 3) = 8 + 0.5 (x - 10), at x* = 8,
    // whatever the breakpoint: u1 = 5, u2 = -2, sqrt(0.04 + 0.25 + 0.04) / 0.5.
    for (double bp : {6.0, 7.0}) {
        s.BreakpointStatistics(6, 0, bp);
        EXPECT_NEAR(s.StErrBP, 2 * std::sqrt(0.33), 1e-12) << bp;
    }
    // Y in other units and X shifted leave it; X in other units scale it.
    Rescale(1000, 1, 2000000);
    s.BreakpointStatistics(6, 0, 2000006);
    EXPECT_NEAR(s.StErrBP, 2 * std::sqrt(0.33), 1e-6);
    SetUp();
    Rescale(1, 1000, 0);
    s.BreakpointStatistics(6, 0, 6000);
    EXPECT_NEAR(s.StErrBP, 2000 * std::sqrt(0.33), 1e-6);
}

TEST_F(TwoSlopingLines, DisconnectedWithEqualCoefficientsNudgesLeftCoefficient) {
    s.stats[0].RC = 2;
    s.stats[1].RC = 2;
    s.stats[1].AvY = 20;
    s.SSDside = {3, 3}; // Vs = 3 / 30 = 0.1 and v = 3 / 15 = 0.2 each
    s.BreakpointStatistics(6, 0, 6);
    EXPECT_DOUBLE_EQ(s.stats[0].RC, 2.02);
    EXPECT_EQ(s.stats[1].RC, 2);

    // Crossing of 2 + 2.02 (x - 3) and 20 + 2 (x - 10): x* = 4.06 / 0.02 = 203,
    // u1 = 200, u2 = 193: sqrt(0.4 + 4000 + 3724.9) / 0.02.
    EXPECT_NEAR(s.StErrBP, std::sqrt(7725.3) / 0.02, 1e-9 * std::sqrt(7725.3) / 0.02);
}

TEST_F(TwoSlopingLines, DisconnectedWithZeroCoefficientsGivesZero) {
    s.stats[0].RC = 0;
    s.stats[1].RC = 0;
    s.BreakpointStatistics(6, 0, 6);
    EXPECT_EQ(s.StErrBP, 0);
    EXPECT_TRUE(std::isfinite(s.StDevYbp));
}

} // namespace
