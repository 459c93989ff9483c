#pragma once
// What a graph is drawn from: the values read back from a report, the arrays of
// its observation table, and what the preparation and the geometry make of them.
// The window keeps one GraphData and one GraphState beside the data module; each
// graph starts from a fresh read of the report.
#include <array>
#include <string>
#include <vector>

namespace brekka {

struct GraphPoint {
    double x = 0;
    double y = 0;
};

// Read from the report's observation table; the preparation rearranges and
// rescales the arrays in place.
struct GraphData {
    std::string Title1;
    std::string Title2;
    // " Fun" one variable, " Y-X" or " Y-Z" for the sequence of a two-variable report.
    std::string SummaryKey;
    // " BPx" or " BPz": the variable of the first relation's whole-data table.
    std::string VarTag;
    // The data set's variable option (0 one variable, 1 first of two, 2 second of
    // two, 3 both); only the axis labels look at it.
    int VarOption = 0;
    std::vector<double> GraphX;
    std::vector<double> GraphY;
    std::vector<double> GraphZ;
    std::vector<double> GraphRes;
    std::vector<double> GraphYCalc;
    int NrOfData = 0;

    bool IsTwoVariable() const { return SummaryKey != " Fun"; }
};

// Statistics of the second relation of a two-variable report (the residuals on the
// other variable), kept apart until a residual graph puts them in the first place.
struct SecondRelationValues {
    double N = 0, AvY = 0, AvX = 0, StDevRC = 0, StDevYr = 0, StDevX = 0;
    double N1 = 0, AvY1 = 0, AvX1 = 0, StDevRC1 = 0, StDevY1 = 0, StDevYr1 = 0;
    double N2 = 0, AvY2 = 0, AvX2 = 0, StDevRC2 = 0, StDevY2 = 0, StDevYr2 = 0;
    double AvXAll = 0;
};

// Whole-data values of one relation that the choice of a graph puts back in place.
struct KeptWholeData {
    double AvX = 0;
    double StDevRC = 0;
    double StDevYr = 0;
};

struct GraphState {
    // Read from the report.
    int FuncType = 0, FuncType2 = 0;
    int CalcMethod = 0, CalcMethod2 = 0;
    double BP = 0, BP2 = 0;
    int ConfPercent = 90;
    double ConfFactor = 1.75;
    double N = 0, AvY = 0, AvX = 0, StDevRC = 0, StDevYr = 0, StDevX = 0, SumSqX = 0;
    double N1 = 0, AvY1 = 0, AvX1 = 0, StDevRC1 = 0, StDevY1 = 0, StDevYr1 = 0;
    double N2 = 0, AvY2 = 0, AvX2 = 0, StDevRC2 = 0, StDevY2 = 0, StDevYr2 = 0;
    double AvXAll = 0;
    double Ybp = 0, StErrBP = 0, ExplCoeff = 0;
    double Ybp2 = 0, StErrBP2 = 0, ExplCoeff2 = 0;
    double ExplCoeffAll = 0;
    double CorrCoeffSqXZ = 0;
    double RC1 = 0, RC2 = 0, RCz1 = 0, RCz2 = 0;
    // The regression between the two independent variables.
    double SumSqXZ = 0;
    SecondRelationValues Second;
    // [0] first relation (or the only one), [1] second relation.
    std::array<KeptWholeData, 2> Kept{};

    // Plot preparation and axes.
    int GraphKind = 0;
    int PlotMode = 0;
    int ShownType = 0;
    int ShownMethod = 0;
    int XFactor = 1, YFactor = 1;
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    int XLow = 0, XHigh = 0, YLow = 0, YHigh = 0;
    int XIntervals = 4, YIntervals = 4;
    int XDecimals = 0, YDecimals = 0;
    int XAxisPixels = 500, YAxisPixels = 320;
    std::string XLabel, YLabel;

    // The drawn function, belts and block in data units after the factors.
    GraphPoint LineStart, LineBreak, LineEnd, LineEnd2;
    // Types 0 to 4: six points each. Types 5 to 8: the left segment's belts in
    // points 0..2 and the right segment's in points 3..5.
    std::array<GraphPoint, 6> UpperBelt{};
    std::array<GraphPoint, 6> LowerBelt{};
    double BlockLeft = 0, BlockRight = 0, BlockLow = 0, BlockHigh = 0;
    double BPScaled = 0;
};

} // namespace brekka
