// The graph chain's plan: pens by the number of data, captions by the choices,
// and the graphs that cannot be drawn.
#include <gtest/gtest.h>

#include "graphs/geometry/GraphPlan.h"

namespace {

using namespace brekka;

// `rows` data on the line y = x, read as a one-variable report of `type`.
void Report(int rows, int type, GraphState& s, GraphData& d) {
    d.SummaryKey = " Fun";
    d.VarTag = " BPx";
    for (int i = 0; i < rows; ++i) {
        d.GraphX.push_back(1 + i % 50);
        d.GraphY.push_back(1 + i % 50);
        d.GraphZ.push_back(0);
        d.GraphRes.push_back(0);
        d.GraphYCalc.push_back(1 + i % 50);
    }
    d.NrOfData = rows;
    s.FuncType = type;
    s.CalcMethod = type == 2 ? 1 : 0;
    s.AvX = s.AvY = 25.5;
    s.RC1 = 1;
    s.StDevRC = 0.01;
    s.StDevYr = 0.5;
    s.N1 = s.N2 = rows / 2.0;
    s.AvX1 = s.AvY1 = 13, s.AvX2 = s.AvY2 = 38;
    s.RC2 = 1;
    s.BP = 25.5;
    s.Ybp = 25.5;
    s.AvXAll = 25.5;
    s.StDevX = 14;
    s.StErrBP = 1;
    s.ExplCoeff = 0.9;
}

std::vector<std::string> Captions(const GraphPlan& plan) {
    std::vector<std::string> texts;
    for (const PlanItem& item : plan.Items) {
        if (item.kind == PlanItem::Kind::Text) {
            texts.push_back(item.text);
        }
    }
    return texts;
}

int SolidWidth(const GraphPlan& plan) {
    for (const PlanItem& item : plan.Items) {
        if (item.kind == PlanItem::Kind::Polyline && !item.pen.dashed) {
            return item.pen.width;
        }
    }
    return 0;
}

TEST(PlanGraph, PenWidthsFollowTheNumberOfData) {
    for (const auto& [rows, type, width] : {std::tuple{1000, 1, 1},
                                            {1001, 1, 2},
                                            {2001, 1, 3},
                                            {150, 2, 1},
                                            {151, 2, 2},
                                            {1001, 2, 3}}) {
        GraphState s;
        GraphData d;
        Report(rows, type, s, d);
        GraphPlanResult result = PlanGraph(s, d, GraphChoice{});
        ASSERT_TRUE(result.plan) << result.message;
        EXPECT_EQ(SolidWidth(*result.plan), width) << rows << " data, type " << type;
    }
}

TEST(PlanGraph, CaptionsFollowBeltBlockAndConfidence) {
    GraphState s;
    GraphData d;
    Report(40, 2, s, d);
    s.ConfFactor = 2.1;
    GraphPlanResult all = PlanGraph(s, d, GraphChoice{});
    ASSERT_TRUE(all.plan);
    EXPECT_EQ(Captions(*all.plan),
              (std::vector<std::string>{"95% confidence belt is shown", "Relation of Type 2",
                                        "95% confidence block", "of break-point is shown"}));
    EXPECT_EQ(all.plan->PlotTop, 22);
    GraphPlanResult bare = PlanGraph(s, d, GraphChoice{0, false, false, true});
    EXPECT_EQ(Captions(*bare.plan), std::vector<std::string>{"Relation of Type 2"});
    // Only the function is drawn: one polyline.
    int lines = 0;
    for (const PlanItem& item : bare.plan->Items) {
        lines += item.kind == PlanItem::Kind::Polyline;
    }
    EXPECT_EQ(lines, 1);

    GraphState zero;
    GraphData flat;
    Report(40, 0, zero, flat);
    zero.ConfFactor = 2.5;
    GraphPlanResult none = PlanGraph(zero, flat, GraphChoice{});
    EXPECT_EQ(Captions(*none.plan), (std::vector<std::string>{"98% confidence belt is shown",
                                                              "Type 0, no relation detected"}));
    EXPECT_EQ(none.plan->PlotTop, 21);
    EXPECT_EQ(none.plan->CaptionLine, std::string("Program Brekka at ") + kProgramAddress);
}

TEST(PlanGraph, AbsenceOfDataAndOfItsSpread) {
    GraphState s;
    GraphData d;
    Report(0, 1, s, d);
    GraphPlanResult empty = PlanGraph(s, d, GraphChoice{});
    EXPECT_FALSE(empty.plan);
    EXPECT_TRUE(empty.absence);
    EXPECT_EQ(empty.message, "Graph could not be made due to absence of data");

    GraphState t;
    GraphData same;
    Report(10, 2, t, same);
    same.GraphX.assign(10, 4.0);
    GraphPlanResult flat = PlanGraph(t, same, GraphChoice{});
    EXPECT_FALSE(flat.plan);
    EXPECT_TRUE(flat.absence);
    EXPECT_EQ(flat.message, "Graph could not be made due to absence of data variation");

    GraphState u;
    GraphData huge;
    Report(10, 1, u, huge);
    huge.GraphY[3] = 1e300;
    GraphPlanResult far = PlanGraph(u, huge, GraphChoice{});
    EXPECT_FALSE(far.plan);
    EXPECT_FALSE(far.absence);
    EXPECT_FALSE(far.message.empty());
}

TEST(PlanGraph, ABeltBeyondAnyPictureIsLeftOffAndTheRestDrawn) {
    // A standard deviation edited to near the largest double: the belt of the line
    // lies far outside the picture, the data and the line do not.
    GraphState s;
    GraphData d;
    Report(20, 1, s, d);
    s.StDevYr = 1.7e308;
    s.StDevRC = 1.7e308;
    GraphChoice choice;
    choice.BeltOn = true;
    const GraphPlanResult result = PlanGraph(s, d, choice);
    ASSERT_TRUE(result.plan) << result.message;
    EXPECT_FALSE(result.plan->choice.BeltOn);
    EXPECT_FALSE(BeltDrawable(result.plan->state));
    for (const std::string& caption : Captions(*result.plan)) {
        EXPECT_EQ(caption.find("confidence belt"), std::string::npos) << caption;
    }
}

} // namespace
