#pragma once
// Checks of a planned graph shared by the targets that draw: the axes, the block
// and every drawn coordinate are finite numbers.
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "graphs/geometry/GraphPlan.h"

namespace brekka::fuzz {

inline bool Finite(const GraphPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

inline void CheckPlan(const GraphPlan& plan) {
    const GraphState& s = plan.state;
    for (double v : {s.XMin, s.XMax, s.YMin, s.YMax, s.BlockLeft, s.BlockRight, s.BlockLow,
                     s.BlockHigh, s.BPScaled}) {
        FUZZ_CHECK(std::isfinite(v), "an axis or block value is not finite");
    }
    // The function and the belts count where the plan draws them: a belt left off
    // may stay uncomputable (a hand-made deviation near the largest double) without
    // harm to the picture.
    FUZZ_CHECK(s.XLow <= s.XHigh && s.YLow <= s.YHigh, "axis bounds out of order");
    for (const PlanItem& item : plan.Items) {
        for (const GraphPoint& p : item.points) {
            FUZZ_CHECK(Finite(p), "a drawn point is not finite: " + item.text);
        }
    }
    FUZZ_CHECK(!plan.XTicks.empty() && !plan.YTicks.empty(), "an axis without ticks");
}

// Plans every graph the report allows for the choice of belt, block and colour:
// each gives a plan of finite coordinates or a message why there is none.
inline void PlanEveryGraph(const GraphState& state, const GraphData& data, GraphChoice choice) {
    const bool two = data.IsTwoVariable();
    for (int kind = two ? 1 : 0; kind <= (two ? 5 : 3); ++kind) {
        // A one-variable report has the regression and, with a breakpoint, the
        // calculated-observed graph.
        if (!two && (kind == 1 || kind == 2 || (kind == 3 && state.FuncType < 2))) {
            continue;
        }
        choice.GraphKind = kind;
        const GraphPlanResult result = PlanGraph(state, data, choice);
        if (!result.plan) {
            FUZZ_CHECK(!result.message.empty(), "no graph and no message");
            continue;
        }
        CheckPlan(*result.plan);
    }
}

} // namespace brekka::fuzz
