// The graphs' report reader on any text, then every graph the report allows: a
// report is read whole or refused with a message keeping the previous values, and
// a graph is planned with finite coordinates or refused with a message.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "data/GraphReader.h"
#include "data/GraphState.h"
#include "graphs/geometry/GraphPlan.h"

using namespace brekka;
using namespace brekka::fuzz;

namespace {

bool Finite(const GraphPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

void CheckPlan(const GraphPlan& plan) {
    const GraphState& s = plan.state;
    for (double v : {s.XMin, s.XMax, s.YMin, s.YMax, s.BlockLeft, s.BlockRight, s.BlockLow,
                     s.BlockHigh, s.BPScaled}) {
        FUZZ_CHECK(std::isfinite(v), "an axis or block value is not finite");
    }
    for (const GraphPoint& p : {s.LineStart, s.LineBreak, s.LineEnd, s.LineEnd2}) {
        FUZZ_CHECK(Finite(p), "a point of the function is not finite");
    }
    for (size_t i = 0; i < s.UpperBelt.size(); ++i) {
        FUZZ_CHECK(Finite(s.UpperBelt[i]) && Finite(s.LowerBelt[i]),
                   "belt point " + std::to_string(i));
    }
    FUZZ_CHECK(s.XLow <= s.XHigh && s.YLow <= s.YHigh, "axis bounds out of order");
    for (const PlanItem& item : plan.Items) {
        for (const GraphPoint& p : item.points) {
            FUZZ_CHECK(Finite(p), "a drawn point is not finite: " + item.text);
        }
    }
    FUZZ_CHECK(!plan.XTicks.empty() && !plan.YTicks.empty(), "an axis without ticks");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    GraphData data;
    GraphState state;
    data.Title1 = "kept";
    data.GraphX = {1.5, -2};
    data.NrOfData = 2;
    state.FuncType = 42;
    state.BP = -7.25;
    try {
        ReadOutputTextForGraph(text, "fuzz.out", data, state);
    } catch (const ReportReadError& error) {
        FUZZ_CHECK(*error.what() != '\0', "a refusal without a message");
        FUZZ_CHECK(data.Title1 == "kept" && data.GraphX == (std::vector<double>{1.5, -2}) &&
                       data.NrOfData == 2 && state.FuncType == 42 && state.BP == -7.25,
                   "a refused report changed the values");
        return 0;
    }
    const size_t n = static_cast<size_t>(data.NrOfData);
    FUZZ_CHECK(data.NrOfData >= 0 && data.GraphX.size() >= n && data.GraphY.size() >= n,
               "fewer observations than the report's number of data");

    // The size picks belt, block and colour; every graph the report allows is planned.
    GraphChoice choice;
    choice.BeltOn = (size & 1) != 0;
    choice.BlockOn = (size & 2) != 0;
    choice.ColourMode = (size & 4) != 0;
    const bool two = data.IsTwoVariable();
    for (int kind = two ? 1 : 0; kind <= (two ? 5 : 3); ++kind) {
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
    return 0;
}
