#pragma once
// Values and rows shared by the one- and two-variable reports. The graph reader
// finds its numbers in these rows by character position, so their formats are
// fixed.
#include <array>
#include <string>

#include "engine/CalculationState.h"

namespace brekka {

// The ten formatted statistics of one side: count, Av.Y, Av.X / RC, CCsq,
// St.Dev.RC, Y(X=0) / St.Dev.Y, St.Dev.Yr, St.Dev.X.
using RowText = std::array<std::string, 10>;
RowText FormatParameterRow(const CalculationState& state, int side);

// The three lines of one side in a table: " BPx=" (or " BPz=") with BP and the
// first three fields, then fields 4..7, then fields 8..10.
std::array<std::string, 3> SideTableRows(const std::string& bpLabel, double bp, const RowText& row);

// St.Dev.Yr of the reported function on side k (index 0 or 1).
double FunctionStDevYr(const CalculationState& state, int side);

// Share, increase and their errors of a function with a horizontal side
// (types 3 and 4). "Turned" blocks describe the other share.
struct LevelShiftValues {
    double pr = 0, inc = 0, stErrShare = 0, errInc = 0;
    bool turned = false;
};
LevelShiftValues ComputeLevelShift(const CalculationState& state, int type, int nrOfData,
                                   double bp);

// Values of both lines at the breakpoint of a type-6 function and their errors.
struct DisconnectedValues {
    double y1bp = 0, y2bp = 0, stErrY1bp = 0, stErrY2bp = 0;
};
DisconnectedValues ComputeDisconnected(const CalculationState& state, int nrOfData, double bp);

} // namespace brekka
