#include "engine/ReportFormat.h"

#include <cmath>

#include "text/NumberFormat.h"

namespace brekka {

RowText FormatParameterRow(const CalculationState& state, int side) {
    const SideStatistics& s = state.stats[side];
    return RowText{
        FormatPattern("%22.3e", state.sums[side].n),
        FormatPattern("%17.3e", s.AvY),
        FormatPattern("%14.4e", s.AvX),
        FormatPattern("%13.3e", s.RC),
        FormatPattern("%21.3e", s.CCsq),
        FormatPattern("%17.3e", s.StDevRC),
        FormatPattern("%14.3e", s.Y0),
        FormatPattern("%13.3e", s.StDevY),
        FormatPattern("%21.3e", s.StDevYr),
        FormatPattern("%17.3e", s.StDevX),
    };
}

std::array<std::string, 3> SideTableRows(const std::string& bpLabel, double bp,
                                         const RowText& row) {
    return {bpLabel + RealField(bp, 7, 2) + row[0] + row[1] + row[2],
            row[3] + row[4] + row[5] + row[6], row[7] + row[8] + row[9]};
}

double FunctionStDevYr(const CalculationState& state, int side) {
    const double ssd = state.SSDside[side];
    const double n = state.sums[side].n;
    return (ssd > 0 && n > 1) ? std::sqrt(ssd / (n - 1)) : ssd;
}

LevelShiftValues ComputeLevelShift(const CalculationState& state, int type, int nrOfData,
                                   double bp) {
    const double N = nrOfData;
    const double n1 = state.sums[0].n;
    const double n2 = state.sums[1].n;
    const double p1 = N > 0 ? n1 / N : 0;
    const double p2 = N > 0 ? n2 / N : 0;
    const double yc1 = state.line[0].Yc;
    const double yc2 = state.line[1].Yc;
    LevelShiftValues v;
    if (type == 4) {
        v.inc = (yc2 - yc1) * p1;
        v.pr = p1;
        if (v.inc > 0) {
            const double s1 = state.line[0].slope;
            const double yext = s1 > 0 ? (bp - state.Xmin) * s1 + yc2 : 0;
            v.pr = p2;
            v.inc = (yext - yc2) * v.pr + (1 - v.pr) * (yext - yc1);
            v.turned = true;
        }
    } else {
        v.inc = (yc1 - yc2) * p2;
        v.pr = p2;
        if (v.inc < 0) {
            const double s2 = state.line[1].slope;
            const double yext = s2 > 0 ? (state.Xmax - bp) * s2 + yc1 : 0;
            v.pr = p1;
            v.inc = (yext - yc1) * v.pr + (1 - v.pr) * (yext - yc2);
            v.turned = true;
        }
    }
    const double q = N > 0 ? n1 * n2 / (N * N * N) : 0;
    auto shareVariance = [&](int side) {
        const double n = state.sums[side].n;
        const double sd = state.stats[side].StDevY;
        return n > 0 ? (sd * sd) / n : 0.0;
    };
    const double vA = (type == 4 && v.turned) ? shareVariance(1) : shareVariance(0);
    const double vB = (type == 3 && v.turned) ? shareVariance(0) : shareVariance(1);
    const double w = type == 4 ? (v.turned ? p2 : p1) : (v.turned ? p1 : p2);
    const double dc = yc2 - yc1;
    v.errInc = std::sqrt((dc * dc) * q + (w * w) * (vA + vB));
    v.stErrShare = std::sqrt(q);
    return v;
}

DisconnectedValues ComputeDisconnected(const CalculationState& state, int nrOfData, double bp) {
    const double n1 = state.sums[0].n;
    const double n2 = state.sums[1].n;
    const FunctionLine& l1 = state.line[0];
    const FunctionLine& l2 = state.line[1];
    const double xw = (n1 + n2) > 0 ? (n1 * l1.Xc + n2 * l2.Xc) / (n1 + n2) : 0;
    const double N = nrOfData;
    const double den = N * (N - 2);
    const double s2 = den > 0 ? (state.SSDside[0] + state.SSDside[1]) / den : kUndefinedVariance;
    const double d = bp - xw;
    DisconnectedValues v;
    v.y1bp = l1.At(bp);
    v.y2bp = l2.At(bp);
    v.stErrY1bp = std::sqrt((state.SE[0] * state.SE[0]) * (d * d) + s2);
    v.stErrY2bp = std::sqrt((state.SE[1] * state.SE[1]) * (d * d) + s2);
    return v;
}

} // namespace brekka
