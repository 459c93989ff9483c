// Axis ranges, factors, bounds, ticks and labels; the arrays each graph kind puts
// on the axes. Expected values are worked out by hand from the rules.
#include <gtest/gtest.h>

#include "graphs/geometry/GraphPlan.h"
#include "graphs/geometry/PlotPreparation.h"

namespace {

using namespace brekka;

GraphData Column(const std::vector<double>& x, const std::vector<double>& y) {
    GraphData d;
    d.SummaryKey = " Fun";
    d.VarTag = " BPx";
    d.GraphX = x;
    d.GraphY = y;
    d.NrOfData = static_cast<int>(x.size());
    d.GraphZ.assign(x.size(), 0);
    d.GraphRes.assign(x.size(), 0);
    d.GraphYCalc.assign(x.size(), 0);
    return d;
}

TEST(ScaleAxes, LaddersOfTheHorizontalAndVerticalAxes) {
    GraphState s;
    // X 120..230 widens to 113.95..241: rung 100..250.
    GraphData d = Column({120, 230}, {0, 4});
    ScaleAxes(s, d);
    EXPECT_DOUBLE_EQ(s.XMax, 241);
    EXPECT_DOUBLE_EQ(s.XMin, 113.95);
    EXPECT_EQ(s.XLow, 100);
    EXPECT_EQ(s.XHigh, 250);
    EXPECT_EQ(s.XIntervals, 6);
    EXPECT_EQ(s.XDecimals, 0);
    // Y 0..4 widens to -0.22..4.4: bounds -1 and 5.
    EXPECT_DOUBLE_EQ(s.YMax, 4.4);
    EXPECT_DOUBLE_EQ(s.YMin, -0.22);
    EXPECT_EQ(s.YLow, -1);
    EXPECT_EQ(s.YHigh, 5);
    EXPECT_EQ(s.YIntervals, 6);
    EXPECT_EQ(s.YDecimals, 1);

    // X 3..7 widens to 2.78..7.4: bounds 2 and 8; Y 0..11: rung 10..25.
    d = Column({3, 7}, {0, 11});
    ScaleAxes(s, d);
    EXPECT_EQ(s.XLow, 2);
    EXPECT_EQ(s.XHigh, 8);
    EXPECT_EQ(s.XIntervals, 6);
    EXPECT_EQ(s.XDecimals, 1);
    EXPECT_EQ(s.YLow, -4);
    EXPECT_EQ(s.YHigh, 16);
    EXPECT_EQ(s.YIntervals, 5);
    EXPECT_EQ(s.YDecimals, 1);
    const std::vector<Tick> ticks = HorizontalTicks(s);
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks[0].label, "2.0");
    EXPECT_EQ(ticks[6].label, "8.0");
    // x = round(a / 6 * 500 + 70): 70, 153 (153.33), 237 (236.67), ..., 570.
    EXPECT_EQ(ticks[1].pixel, 153);
    EXPECT_EQ(ticks[2].pixel, 237);
    EXPECT_EQ(ticks[6].pixel, 570);
}

TEST(ScaleAxes, TooFewIntervalsBecomeFourAndTooManyTen) {
    // Below 10 with two intervals: four, and one more decimal as the high end < 100.
    AxisScale a = ScaleAxis(0.6, 2.4, false);
    EXPECT_EQ(a.Low, 0);
    EXPECT_EQ(a.High, 3);
    EXPECT_EQ(a.Intervals, 4);
    EXPECT_EQ(a.Decimals, 2);
    // 500..1000: round bounds, steps of 100: 0..990 gives 9; 0..1000 rung 1000..2500.
    a = ScaleAxis(-40, 990, false);
    EXPECT_EQ(a.Intervals, 10);
    EXPECT_EQ(a.Decimals, 0);
    // Vertical, below 10: 13 intervals are halved to 6 before the limits.
    a = ScaleAxis(-3.6, 8.7, true);
    EXPECT_EQ(a.Low, -4);
    EXPECT_EQ(a.High, 9);
    EXPECT_EQ(a.Intervals, 6);
    // Horizontal, the same range keeps 13, then the limit of 10 adds a decimal.
    a = ScaleAxis(-3.6, 8.7, false);
    EXPECT_EQ(a.Intervals, 10);
    EXPECT_EQ(a.Decimals, 2);
    // The top vertical rungs have no margin; the horizontal ones have.
    EXPECT_EQ(ScaleAxis(1000, 60000, true).Low, 1000);
    EXPECT_EQ(ScaleAxis(1000, 60000, false).Low, -4000);
    EXPECT_EQ(ScaleAxis(1000, 60000, false).Intervals, (65000 + 4000) / 10000);
}

TEST(ScaleAxes, FactorsForSmallRanges) {
    GraphState s;
    GraphData d = Column({0.01, 0.05}, {0.01, 0.05});
    ScaleAxes(s, d);
    EXPECT_EQ(s.XFactor, 100);
    EXPECT_EQ(s.YFactor, 100);
    EXPECT_DOUBLE_EQ(d.GraphX[1], 5.0);
    MakeAxisLabels(s, d);
    EXPECT_EQ(s.XLabel, "X-data * 100");
    EXPECT_EQ(s.YLabel, "Y-data * 100");

    d = Column({1, 2}, {0.5, 0.9});
    ScaleAxes(s, d);
    EXPECT_EQ(s.YFactor, 10);
    MakeAxisLabels(s, d);
    EXPECT_EQ(s.YLabel, "Y-data * 10");
    EXPECT_EQ(s.XLabel, "X-Data");

    // Below 0.0001 two tests hold in turn; the last one decides alone.
    double min = 0.00001, max = 0.00005;
    EXPECT_EQ(HorizontalFactor(min, max), 100);
    EXPECT_DOUBLE_EQ(max, 0.005);
    // Negative-dominated ranges test the minimum.
    min = -0.05, max = -0.01;
    EXPECT_EQ(HorizontalFactor(min, max), 100);
    EXPECT_DOUBLE_EQ(min, -5);
    min = -0.5, max = 0.2;
    EXPECT_EQ(VerticalFactor(min, max), 1);
    // A factor of 1000 has no suffix.
    s.XFactor = 1000;
    s.YFactor = 1000;
    s.PlotMode = 0;
    MakeAxisLabels(s, d);
    EXPECT_EQ(s.XLabel, "X-Data");
    EXPECT_EQ(s.YLabel, "Y-Data");
}

TEST(Ticks, LabelsAreRealFieldsOfTheirDecimals) {
    GraphState s;
    s.YLow = -1;
    s.YHigh = 0;
    s.YIntervals = 4;
    s.YDecimals = 0;
    const std::vector<Tick> ticks = VerticalTicks(s);
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_EQ(ticks[0].label, " 0");
    EXPECT_EQ(ticks[1].label, "-0");
    EXPECT_EQ(ticks[3].label, "-1");
    EXPECT_EQ(ticks[0].pixel, 80);
    EXPECT_EQ(ticks[2].pixel, 240);
    EXPECT_EQ(ticks[4].pixel, 400);
}

GraphData TwoVariableRows(const char* key) {
    GraphData d;
    d.SummaryKey = key;
    d.VarTag = std::string(key) == " Y-X" ? " BPx" : " BPz";
    d.GraphY = {1, 2};
    d.GraphX = {10, 20};
    d.GraphZ = {100, 200};
    d.GraphRes = {-1, -2};
    d.GraphYCalc = {1.5, 2.5};
    d.NrOfData = 2;
    return d;
}

TEST(PrepareGraphData, EachKindPutsItsArraysOnTheAxes) {
    GraphState s;
    s.FuncType = 1;
    s.FuncType2 = 3;
    s.CalcMethod2 = 2;
    s.RC2 = 0.5;
    s.RCz1 = 0.7;
    s.RCz2 = 0.9;
    s.Second.AvY1 = 42;
    s.BP2 = 150;

    GraphState t = s;
    t.GraphKind = 1;
    GraphData d = TwoVariableRows(" Y-Z");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 13);
    EXPECT_EQ(d.GraphX[0], 100);
    EXPECT_EQ(d.GraphZ[0], 10);
    EXPECT_EQ(t.RC1, 0.5);

    t = s;
    t.GraphKind = 2;
    d = TwoVariableRows(" Y-X");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 14);
    EXPECT_EQ(t.ShownType, 3);
    EXPECT_EQ(t.ShownMethod, 2);
    EXPECT_EQ(d.GraphX[1], 200);
    EXPECT_EQ(d.GraphY[1], -2);
    EXPECT_EQ(t.AvY1, 42);
    EXPECT_EQ(t.BP, 150);
    EXPECT_EQ(t.RC1, 0.7);
    EXPECT_EQ(t.RC2, 0.9);
    MakeAxisLabels(t, d);
    EXPECT_EQ(t.XLabel, "Z-Data");
    EXPECT_EQ(t.YLabel, "YXr residuals");

    t = s;
    t.FuncType2 = 1;
    t.GraphKind = 2;
    d = TwoVariableRows(" Y-Z");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 17);
    EXPECT_EQ(d.GraphX[0], 10);
    EXPECT_EQ(d.GraphY[0], -1);
    EXPECT_EQ(t.RC1, 0.9);

    t = s;
    t.GraphKind = 3;
    d = TwoVariableRows(" Y-X");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 18);
    EXPECT_EQ(t.ShownType, 1);
    EXPECT_EQ(d.GraphX[1], 2.5);
    EXPECT_EQ(d.GraphY[1], 2);

    t = s;
    t.GraphKind = 5;
    d = TwoVariableRows(" Y-X");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 21);
    EXPECT_EQ(d.GraphY[0], 10);
    EXPECT_EQ(d.GraphX[0], 100);
    MakeAxisLabels(t, d);
    EXPECT_EQ(t.XLabel, "Z-Data");
    EXPECT_EQ(t.YLabel, "X-Data");

    t = s;
    t.GraphKind = 5;
    d = TwoVariableRows(" Y-Z");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 22);
    EXPECT_EQ(d.GraphY[0], 100);
    EXPECT_EQ(d.GraphX[0], 10);
    // The vertical values carry the vertical factor, and so does their label.
    t.XFactor = 1;
    t.YFactor = 10;
    MakeAxisLabels(t, d);
    EXPECT_EQ(t.XLabel, "X-Data");
    EXPECT_EQ(t.YLabel, "Z-data * 10");

    t = s;
    t.GraphKind = 4;
    d = TwoVariableRows(" Y-X");
    PrepareGraphData(t, d);
    EXPECT_EQ(t.PlotMode, 19);
    EXPECT_EQ(d.GraphX[0], 100);
}

TEST(SelectRelation, TheChosenRelationsWholeDataValuesComeBack) {
    GraphState s;
    s.Kept[0] = {1, 2, 3};
    s.Kept[1] = {4, 5, 6};
    s.AvXAll = 99;
    SelectRelation(s, 2);
    EXPECT_EQ(s.AvXAll, 4);
    EXPECT_EQ(s.StDevRC, 5);
    EXPECT_EQ(s.StDevYr, 6);
    SelectRelation(s, 1);
    EXPECT_EQ(s.AvXAll, 1);
    SelectRelation(s, 3);
    EXPECT_EQ(s.AvXAll, 1);
}

} // namespace

namespace {

TEST(ScaleAxes, FarOutRangesStayWithinTheIntegers) {
    for (const auto& [min, max] : {std::pair{-1e300, 100.0}, {-1e300, 1e300}, {1.0, 1e300}}) {
        for (bool vertical : {false, true}) {
            const brekka::AxisScale a = brekka::ScaleAxis(min, max, vertical);
            EXPECT_LE(a.Low, a.High);
            EXPECT_GE(a.Intervals, 4);
            EXPECT_LE(a.Intervals, 10);
        }
    }
}

} // namespace
