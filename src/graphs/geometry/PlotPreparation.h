#pragma once
// From the values read back from a report to a plot: which arrays go on which
// axis, the axis ranges, factors, bounds and ticks, and the axis labels.
#include "data/GraphState.h"

namespace brekka {

// The whole-data values of the chosen relation of a two-variable report become
// the working ones (GraphKind 1: the first relation, 2: the second).
void SelectRelation(GraphState& state, int graphKind);

void PrepareGraphData(GraphState& state, GraphData& data);
// The second relation's statistics take the place of the first relation's.
void UseSecondRelation(GraphState& state);
void ScaleAxes(GraphState& state, GraphData& data);
void MakeAxisLabels(GraphState& state, const GraphData& data);

// One axis of ScaleAxes from its widened range after the factor: the bounds, the
// interval count and the decimals. `vertical` selects the vertical ladder.
struct AxisScale {
    int Low = 0;
    int High = 0;
    int Intervals = 0;
    int Decimals = 0;
};
AxisScale ScaleAxis(double min, double max, bool vertical);

// The factor (1, 10, 100 or 1000) of a widened range; min and max are multiplied
// by it.
int HorizontalFactor(double& min, double& max);
int VerticalFactor(double& min, double& max);

} // namespace brekka
