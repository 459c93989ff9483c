// Lines, belts and blocks of each type on small cases worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "graphs/geometry/GraphGeometry.h"

namespace {

using namespace brekka;

void ExpectPoint(const GraphPoint& p, double x, double y, const char* what) {
    EXPECT_NEAR(p.x, x, 1e-9) << what;
    EXPECT_NEAR(p.y, y, 1e-9) << what;
}

GraphState Range(double xMin, double xMax, double yMin, double yMax) {
    GraphState s;
    s.XMin = xMin;
    s.XMax = xMax;
    s.YMin = yMin;
    s.YMax = yMax;
    return s;
}

// Line y = 2 (x - 5) + 10, slope spread 0.4, residual spread 1, 49 data:
// lo = 1.3, hi = 2.7, u = 0.25, w = 0.35.
GraphState SlopingLine(double yMax) {
    GraphState s = Range(0, 10, -100, yMax);
    s.ShownType = 1;
    s.AvX = 5;
    s.AvY = 10;
    s.RC1 = 2;
    s.StDevRC = 0.4;
    s.StDevYr = 1;
    return s;
}

TEST(LineAndBeltNoBreak, BeltPointsOfASlopingLine) {
    GraphData d;
    d.NrOfData = 49;
    GraphState s = SlopingLine(100);
    LineAndBeltNoBreak(s, d);
    ExpectPoint(s.LineStart, 0, 0, "start");
    ExpectPoint(s.LineBreak, 10, 20, "end");
    ExpectPoint(s.UpperBelt[0], 0, 3.5, "U1");
    ExpectPoint(s.UpperBelt[1], 4.5, 9.35, "U2");
    ExpectPoint(s.UpperBelt[2], 4.75, 9.75, "U3");
    ExpectPoint(s.UpperBelt[3], 5.25, 10.75, "U4");
    ExpectPoint(s.UpperBelt[4], 5.5, 11.35, "U5");
    ExpectPoint(s.UpperBelt[5], 10, 23.5, "U6");
    ExpectPoint(s.LowerBelt[0], 0, -3.5, "L1");
    ExpectPoint(s.LowerBelt[1], 4.5, 8.65, "L2");
    ExpectPoint(s.LowerBelt[2], 4.75, 9.25, "L3");
    ExpectPoint(s.LowerBelt[3], 5.25, 10.25, "L4");
    ExpectPoint(s.LowerBelt[4], 5.5, 10.65, "L5");
    ExpectPoint(s.LowerBelt[5], 10, 16.5, "L6");
}

TEST(LineAndBeltNoBreak, EndsLeavingThroughTheTopMoveAlongTheirLines) {
    GraphData d;
    d.NrOfData = 49;
    GraphState s = SlopingLine(18);
    LineAndBeltNoBreak(s, d);
    ExpectPoint(s.LineBreak, 9, 18, "end on the line");
    ExpectPoint(s.UpperBelt[5], 5 + 8 / 2.7, 18, "U6 on the hi line");

    // Factors rescale the statistics: y * 10, x * 100.
    s = SlopingLine(1000);
    s.XFactor = 100;
    s.YFactor = 10;
    s.XMin = 0;
    s.XMax = 1000;
    s.ShownType = 0;
    LineAndBeltNoBreak(s, d);
    ExpectPoint(s.LineStart, 0, 100, "horizontal at the scaled average");
    ExpectPoint(s.LineBreak, 1000, 100, "horizontal end");
}

TEST(LineAndBeltNoBreak, CalculatedObservedLineIsClippedToTheRange) {
    GraphData d;
    GraphState s = Range(1, 6, 1.5, 5);
    s.PlotMode = 18;
    LineAndBeltNoBreak(s, d);
    ExpectPoint(s.LineStart, 1.5, 1.5, "start raised to YMin");
    ExpectPoint(s.LineBreak, 5, 5, "end lowered to YMax");
}

// Type 2, method 2: the left slope goes through Ybp: (7 - 3) / (5 - 2) = 4/3.
GraphState TypeTwo(double yMin, double yMax) {
    GraphState s = Range(0, 10, yMin, yMax);
    s.ShownType = 2;
    s.CalcMethod = 2;
    s.BP = 5;
    s.AvX1 = 2, s.AvY1 = 3, s.RC1 = 1;
    s.AvX2 = 8, s.AvY2 = 6, s.RC2 = -0.5;
    s.Ybp = 7;
    s.AvXAll = 5.5;
    s.ExplCoeff = 1;
    s.N1 = 5, s.N2 = 5;
    s.StDevX = 2;
    s.StErrBP = 1;
    return s;
}

TEST(LineBeltAndBlock, ConnectedLinesBeltAndBlock) {
    GraphState s = TypeTwo(-10, 20);
    LineBeltAndBlock(s);
    EXPECT_DOUBLE_EQ(s.BPScaled, 5);
    ExpectPoint(s.LineStart, 0, 3 - 8.0 / 3, "start");
    ExpectPoint(s.LineBreak, 5, 7, "break");
    ExpectPoint(s.LineEnd, 10, 5, "end");
    // A full explanation leaves no width: the belt points lie on the function.
    ExpectPoint(s.UpperBelt[0], 0, 3 - 8.0 / 3, "P1");
    ExpectPoint(s.UpperBelt[1], 2, 3, "P2");
    ExpectPoint(s.UpperBelt[2], 5, 7, "P3");
    ExpectPoint(s.UpperBelt[3], 5.5, 7.25, "P4 on the right line");
    ExpectPoint(s.UpperBelt[4], 8, 6, "P5");
    ExpectPoint(s.UpperBelt[5], 10, 5, "P6");
    EXPECT_DOUBLE_EQ(s.BlockLeft, 3.2);
    EXPECT_DOUBLE_EQ(s.BlockRight, 6.8);
    EXPECT_DOUBLE_EQ(s.BlockLow, 7);
    EXPECT_DOUBLE_EQ(s.BlockHigh, 7);
}

TEST(LineBeltAndBlock, HalfWidthOfTheBelt) {
    // N = 10, SSY = 4 + 4, Q = 4: E = 4 / 80, D = 4 / (81 * 4).
    GraphState s = TypeTwo(-10, 20);
    s.ExplCoeff = 0.5;
    s.StDevY1 = 1, s.StDevY2 = 1;
    LineBeltAndBlock(s);
    const double atBreak = 1.75 * std::sqrt(0.05 + 0.25 / 81);
    EXPECT_NEAR(s.BlockHigh, 7 + atBreak, 1e-12);
    EXPECT_NEAR(s.BlockLow, 7 - atBreak, 1e-12);
    EXPECT_NEAR(s.UpperBelt[4].y, 6 + 1.75 * std::sqrt(0.05 + 6.25 / 81), 1e-12);
    EXPECT_NEAR(s.LowerBelt[1].y, 3 - 1.75 * std::sqrt(0.05 + 12.25 / 81), 1e-12);
}

TEST(LineBeltAndBlock, ClippedEndsAndInnerPoints) {
    // YMin 1: P1 moves along P1-P2 (slope 4/3) to y = 1 at x = 0.5. YMax 4.9: P6
    // (y = 5) stays below 1.05 * YMax; P5 (y = 6) is out of range and takes P6.
    GraphState s = TypeTwo(1, 4.9);
    LineBeltAndBlock(s);
    ExpectPoint(s.LineStart, 0.5, 1, "start along the left line");
    ExpectPoint(s.UpperBelt[0], 0.5, 1, "P1");
    ExpectPoint(s.UpperBelt[5], 10, 5, "P6 kept");
    ExpectPoint(s.UpperBelt[4], 10, 5, "P5 takes P6");
    // The function itself is cut at YMax: 8 + (4.9 - 6) / -0.5 = 10.2.
    ExpectPoint(s.LineEnd, 10.2, 4.9, "end along the right line");
    // The block is cut at the range of X.
    s = TypeTwo(-10, 20);
    s.StErrBP = 10;
    LineBeltAndBlock(s);
    EXPECT_DOUBLE_EQ(s.BlockLeft, 0);
    EXPECT_DOUBLE_EQ(s.BlockRight, 10);
}

TEST(LineBeltAndBlock, MethodAdjustmentsFollowTheShownRelation) {
    // Type 3, method 1: the horizontal left part at the right line's value at BP.
    GraphState s = TypeTwo(-10, 20);
    s.ShownType = 3;
    s.CalcMethod = 1;
    s.RC1 = 0;
    LineBeltAndBlock(s);
    EXPECT_DOUBLE_EQ(s.AvY1, 6 + (5 - 8) * -0.5);
    // A residual graph uses the second relation's method (2 here): the right
    // slope is made to meet the left part, (6 - 3) / (8 - 5) = 1.
    s = TypeTwo(-10, 20);
    s.ShownType = 3;
    s.FuncType2 = 3;
    s.PlotMode = 14;
    s.CalcMethod = 1;
    s.CalcMethod2 = 2;
    s.BP2 = 5;
    s.RC1 = 0;
    LineBeltAndBlock(s);
    EXPECT_DOUBLE_EQ(s.RC2, 1);
    EXPECT_DOUBLE_EQ(s.AvY1, 3);
    // Type 4, method 2, with the breakpoint at the left average: no division by
    // zero, the slope stays.
    s = TypeTwo(-10, 20);
    s.ShownType = 4;
    s.AvX1 = 5;
    LineBeltAndBlock(s);
    EXPECT_DOUBLE_EQ(s.RC1, 1);
}

TEST(LinesDisjoint, LevelsOfTypeFive) {
    GraphState s = Range(0, 10, -10, 20);
    s.ShownType = 5;
    s.BP = 5;
    s.AvX1 = 2, s.AvY1 = 2, s.AvX2 = 8, s.AvY2 = 8;
    s.N1 = 5, s.N2 = 5;
    LinesDisjoint(s);
    ExpectPoint(s.LineStart, 0, 2, "start");
    ExpectPoint(s.LineBreak, 5, 2, "break, left");
    ExpectPoint(s.LineEnd, 5, 8, "break, right");
    ExpectPoint(s.LineEnd2, 10, 8, "end");
    ExpectPoint(s.UpperBelt[1], 2, 2, "left middle");
    ExpectPoint(s.LowerBelt[4], 8, 8, "right middle");
}

TEST(LinesDisjoint, BeltWidthAndMiddlePointsOutsideTheRange) {
    // SSR = 1 * 3 + 1 * 3 = 6, N = 10: E = 6 / 80, D = 6 / (8 * 5 * 4).
    GraphState s = Range(0, 10, -10, 20);
    s.ShownType = 6;
    s.BP = 5;
    s.AvX1 = 2, s.AvY1 = 2, s.RC1 = 1;
    s.AvX2 = 8, s.AvY2 = 8, s.RC2 = 0.5;
    s.N1 = 5, s.N2 = 5;
    s.StDevYr1 = 1, s.StDevYr2 = 1;
    s.StDevX = 2;
    s.AvXAll = 5;
    LinesDisjoint(s);
    EXPECT_NEAR(s.UpperBelt[1].y, 2 + 1.75 * std::sqrt(0.075 + 9 * 6.0 / 160), 1e-12);
    EXPECT_NEAR(s.LowerBelt[2].y, 5 - 1.75 * std::sqrt(0.075), 1e-12);

    // Without width: the left line y = x starts below YMin = 2.5 and is cut there;
    // its middle (2, 2) is below the range, moved outwards to 1.75 still below,
    // so it takes the outer end.
    s.StDevYr1 = 0, s.StDevYr2 = 0;
    s.YMin = 2.5;
    LinesDisjoint(s);
    ExpectPoint(s.LineStart, 2.5, 2.5, "start cut at YMin");
    ExpectPoint(s.LowerBelt[0], 2.5, 2.5, "outer end");
    ExpectPoint(s.LowerBelt[1], 2.5, 2.5, "middle at the outer end");
    ExpectPoint(s.LowerBelt[2], 5, 5, "breakpoint end");
    ExpectPoint(s.UpperBelt[3], 5, 6.5, "right segment from the breakpoint");
}

} // namespace
