// The graphs' report reader on any text, then every graph the report allows: a
// report is read whole or refused with a message keeping the previous values, and
// a graph is planned with finite coordinates or refused with a message.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "GraphChecks.h"
#include "data/GraphReader.h"
#include "data/GraphState.h"
#include "graphs/geometry/GraphPlan.h"

using namespace brekka;
using namespace brekka::fuzz;

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

    // The size picks belt, block and colour.
    GraphChoice choice;
    choice.BeltOn = (size & 1) != 0;
    choice.BlockOn = (size & 2) != 0;
    choice.ColourMode = (size & 4) != 0;
    PlanEveryGraph(state, data, choice);
    return 0;
}
