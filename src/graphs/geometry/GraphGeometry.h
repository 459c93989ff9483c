#pragma once
// The drawn function, its confidence belt and the confidence block of the
// breakpoint, in data units after the axis factors.
#include "data/GraphState.h"

namespace brekka {

// Types 0 and 1 (PlotMode < 18), and the line Yobs = Ycalc (PlotMode 18).
void LineAndBeltNoBreak(GraphState& state, const GraphData& data);
// Types 2 to 4: the broken line, its belt and the block.
void LineBeltAndBlock(GraphState& state);
// Types 5 to 8: two separate segments with a belt each.
void LinesDisjoint(GraphState& state);

} // namespace brekka
